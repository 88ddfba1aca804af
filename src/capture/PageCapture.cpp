#include "PageCapture.h"

#include "DecodeDownload.h"
#include "DecodeFiles.h"
#include "DecodeMaintenance.h"
#include "DecodeRules.h"
#include "PageKey.h"
#include "PageText.h"

#include "address/PlaceTable.h"
#include "address/ProvinceNames.h"
#include "core/CommandText.h"
#include "core/MainState.h"
#include "core/ProgramVersion.h"

#include <QDir>

namespace mldd {

namespace {

using Outcome = PageCaptureResult::Outcome;

const QString kLineEnd = QStringLiteral("\r\n");

Notice notice(const QString& text, Notice::Icon icon,
              Notice::Buttons buttons = Notice::Buttons::Ok) {
    return Notice{text, QStringLiteral("墨岚打单"), icon, buttons};
}

void explainBlocked(PageCaptureResult& result, const QString& pageKey) {
    result.outcome = Outcome::Blocked;
    result.notices.append(notice(QStringLiteral("您提取的网页没有买家的地址信息！") + kLineEnd +
                                     QStringLiteral("请您换个有买家地址信息的页面提取！！"),
                                 Notice::Icon::Critical));
    if (pageKey.contains(QStringLiteral("taobao-com")))
        result.notices.append(notice(
            QStringLiteral("只有在能看到买家地址的页面才能提取！") + kLineEnd +
                QStringLiteral("请在淘宝的【详情页面】、【发货页面】、【批量发货页面】提取订单！"),
            Notice::Icon::Information));
}

void explainNoDecodeFile(PageCaptureResult& result, const QString& pageText) {
    result.outcome = Outcome::NoDecodeFile;
    result.progress = QStringLiteral("提示：暂无本类解码文件，请上传网页信息，以便为您编制解码") +
                      kLineEnd +
                      QStringLiteral("       文件，编制约需2-24小时。下一次就可以自动提取了。");
    if (ContainsProvinceName(pageText) == QStringLiteral("N"))
        result.question =
            notice(QStringLiteral("软件检测到刚才您提取的页面没有订单信息！") + kLineEnd +
                       QStringLiteral("如果您认为有订单信息，请点“是”，否则点“否”。"),
                   Notice::Icon::Exclamation, Notice::Buttons::YesNo);
}

// The decode text of a page key: from disk, else from the service; none stops the capture.
std::optional<QString> decodeTextFor(MainState& state, const QString& pageKey,
                                     const QString& pageText, const ServiceClient& service,
                                     PageCaptureResult& result) {
    const DecodeFiles files(state.folder, state.log);
    QString unreadable;
    if (std::optional<QString> onDisk = files.read(pageKey, &unreadable))
        return onDisk;
    if (!unreadable.isEmpty()) {
        // Fetching it anew would put the service's file over one the seller may have made.
        result.outcome = Outcome::DecodeFileUnreadable;
        result.notices.append(
            notice(QStringLiteral("本类页面的解码文件无法使用，这次没有提取订单。") + kLineEnd +
                       unreadable,
                   Notice::Icon::Exclamation));
        return std::nullopt;
    }
    result.progress = QStringLiteral("提示：初次提取本类页面单据，正在搜索解码文件... ...");
    const ServiceReply reply =
        service.get(DecodeDownload::requestUrl(state.serviceBase, kProgramVersion, pageKey));
    const DecodeDownload download = DecodeDownload::fromReply(reply.ok ? reply.body : QString());
    switch (download.kind) {
    case DecodeDownload::Kind::Found:
        files.write(pageKey, download.version, download.decodeText);
        return QString(download.decodeText).remove(kLineEnd);
    case DecodeDownload::Kind::None:
        explainNoDecodeFile(result, pageText);
        return std::nullopt;
    case DecodeDownload::Kind::Blocked:
        explainBlocked(result, pageKey);
        return std::nullopt;
    case DecodeDownload::Kind::Failed:
        break;
    }
    result.outcome = Outcome::ServiceFailed;
    result.notices.append(
        notice(QStringLiteral("没有取到本类页面的解码文件，这次没有提取订单。") + kLineEnd +
                   (reply.ok ? QStringLiteral("服务器的回答无法识别。") : reply.error) + kLineEnd +
                   QStringLiteral("请检查网络连接后再提取一次。"),
               Notice::Icon::Exclamation));
    return std::nullopt;
}

// Whether the text is only white space; a long page is not copied to find out.
bool isBlank(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

} // namespace

QString PageCaptureResult::statusLine() const {
    switch (outcome) {
    case Outcome::Stored:
        return statusNote.isEmpty() ? count.statusLine() : statusNote;
    case Outcome::NoDecodeFile:
        return progress;
    case Outcome::EmptyPage:
        return QStringLiteral("没有提取：页面上没有文字。");
    case Outcome::Blocked:
        return QStringLiteral("没有提取：这个页面没有买家的地址信息，请换个有买家地址的页面提取。");
    case Outcome::ServiceFailed:
        return QStringLiteral("没有提取：没有取到本类页面的解码文件，请检查网络后再提取。");
    case Outcome::DecodeFileUnreadable:
        return QStringLiteral("没有提取：本类页面的解码文件无法使用。");
    case Outcome::NeedsBinding:
        return QStringLiteral("没有提取：店铺%1还没有对应的发件人。").arg(count.unboundSeller);
    case Outcome::StoreFailed:
        return QStringLiteral("没有提取：订单保存失败，一个也没有保存。");
    case Outcome::Ignored:
    case Outcome::FirstUse:
        break;
    }
    return {};
}

PageCaptureResult capturePage(MainState& state, const QString& address, const QString& pageText,
                              const ServiceClient& service) {
    return capturePage(state, address, pageText, service, state.settings.printsShippingLists());
}

PageCaptureResult capturePage(MainState& state, const QString& address, const QString& rawPageText,
                              const ServiceClient& service, bool withGoods) {
    PageCaptureResult result;
    const QString pageText = pageTextForRules(rawPageText);
    // Sources cut the address already; a query part must never make a new page kind.
    const std::optional<QString> pageKey = pageKeyOf(cutBefore(cutBefore(address, u'!'), u'?'));
    if (!pageKey) {
        if (address == QStringLiteral("FIRST")) {
            result.outcome = Outcome::FirstUse;
            result.notices.append(notice(QStringLiteral("初次使用，看看帮助您马上就会用了。") +
                                             kLineEnd + QStringLiteral("磨刀不误砍柴功哦   (^v^)"),
                                         Notice::Icon::Information));
            result.helpPage = state.serviceBase + QStringLiteral("/mldd/help/");
        }
        return result;
    }
    if (isBlank(pageText)) {
        result.outcome = Outcome::EmptyPage;
        result.notices.append(notice(QStringLiteral("页面上没有文字，没有可以提取的订单。"),
                                     Notice::Icon::Exclamation));
        return result;
    }
    const std::optional<QString> decodeText =
        decodeTextFor(state, *pageKey, pageText, service, result);
    if (!decodeText)
        return result;

    const DecodeResult run = RunDecodeRules(pageText, *decodeText, withGoods);
    // Deleting decode files offline would leave the seller with none to capture with.
    if (run.goodsFallback && DecodeMaintenance::serviceOnline(state.serviceBase, service))
        DecodeFiles(state.folder, state.log).expireAfterGoodsFallback(QDate::currentDate());
    result.count = StoreExtractedRecords(state, run.records);
    if (!result.count.unboundSeller.isEmpty()) {
        result.outcome = Outcome::NeedsBinding;
        return result;
    }
    if (!result.count.stored) {
        result.outcome = Outcome::StoreFailed;
        result.notices.append(notice(
            QStringLiteral("订单保存失败，这次提取的订单一个也没有保存。") + kLineEnd +
                result.count.failure +
                (result.count.damaged
                     ? kLineEnd + QStringLiteral("请关闭软件，重新打开时选择用最近的备份恢复。")
                     : QString()),
            Notice::Icon::Exclamation));
        return result;
    }
    result.outcome = Outcome::Stored;
    result.progress.clear();
    if (result.count.placeTableMissing)
        result.notices.append(notice(
            QStringLiteral("地址库 %1 不存在、无法读取或者是空的：这次提取的订单地址没有分出省、"
                           "市、县，快递单上也没有目的地。请补上地址库后再提取。")
                .arg(QDir::toNativeSeparators(placeTablePath(state.folder))),
            Notice::Icon::Exclamation));
    if (result.count.courierNotice)
        result.notices.append(*result.count.courierNotice);
    if (!result.count.errorNote.isEmpty())
        result.notices.append(
            notice(QStringLiteral("有的内容太长，没有保存：") + result.count.errorNote,
                   Notice::Icon::Exclamation));
    if (const auto already = result.count.alreadyCapturedNotice())
        result.notices.append(*already);
    return result;
}

} // namespace mldd
