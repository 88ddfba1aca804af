#include "PageCapture.h"

#include "DecodeDownload.h"
#include "DecodeFiles.h"
#include "DecodeMaintenance.h"
#include "DecodeRules.h"
#include "PageKey.h"

#include "address/ProvinceNames.h"
#include "core/CommandText.h"
#include "core/MainState.h"
#include "core/ProgramVersion.h"

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
    if (std::optional<QString> onDisk = files.read(pageKey))
        return onDisk;
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

} // namespace

PageCaptureResult capturePage(MainState& state, const QString& address, const QString& pageText,
                              const ServiceClient& service, bool withGoods) {
    PageCaptureResult result;
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
        result.notices.append(result.count.bindingRequest());
        return result;
    }
    if (!result.count.stored) {
        result.outcome = Outcome::StoreFailed;
        result.notices.append(notice(QStringLiteral("订单保存失败，这次提取的订单一个也没有保存。"),
                                     Notice::Icon::Exclamation));
        return result;
    }
    result.outcome = Outcome::Stored;
    result.progress.clear();
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
