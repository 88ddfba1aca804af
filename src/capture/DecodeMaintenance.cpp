#include "DecodeMaintenance.h"

#include "DecodeDownload.h"
#include "DecodeFiles.h"
#include "DecodeRules.h"
#include "LineMark.h"

#include "core/MainState.h"
#include "core/ProgramVersion.h"

#include <QTime>

#include <algorithm>

namespace mldd::DecodeMaintenance {

namespace {

const QString kEditorTitle = QStringLiteral("墨岚打单-自助编制解码文件");

Notice notice(const QString& text, const QString& title, Notice::Icon icon) {
    return Notice{text, title, icon, Notice::Buttons::Ok};
}

// The shortest text ending at `end` whose first occurrence from `from` on ends there.
QString textBefore(const QString& page, qsizetype from, qsizetype end) {
    for (qsizetype length = 1; length <= end - from; ++length) {
        const qsizetype start = end - length;
        if (page.indexOf(QStringView(page).mid(start, length), from) == start)
            return page.mid(start, length);
    }
    return QString(); // the value starts the rest of the page
}

// The shortest text starting at `start` whose first occurrence from `from` on starts there.
QString textAfter(const QString& page, qsizetype from, qsizetype start) {
    for (qsizetype length = 1; start + length <= page.size(); ++length) {
        if (page.indexOf(QStringView(page).mid(start, length), from) == start)
            return page.mid(start, length);
    }
    return QString();
}

} // namespace

QString refreshProgress() {
    return QStringLiteral("提示：正在检查解码文件是否存在最新版本... ...");
}

Refresh refreshDecodeFile(MainState& state, const QString& pageKey, const ServiceClient& service) {
    Refresh refresh;
    const DecodeFiles files(state.folder, state.log);
    const QString current = files.version(pageKey);
    const ServiceReply reply =
        service.get(DecodeDownload::refreshUrl(state.serviceBase, kProgramVersion, pageKey,
                                               current.isEmpty() ? QStringLiteral("0") : current));
    const DecodeDownload download = DecodeDownload::fromReply(reply.ok ? reply.body : QString());
    switch (download.kind) {
    case DecodeDownload::Kind::Found:
        refresh.updated = files.write(pageKey, download.version, download.decodeText);
        refresh.notice = refresh.updated
                             ? notice(QStringLiteral("解码文件已经更新到最新版本！"),
                                      QStringLiteral("提示"), Notice::Icon::Information)
                             : notice(QStringLiteral("新的解码文件保存失败，请看ERR.TXT。"),
                                      QStringLiteral("提示"), Notice::Icon::Exclamation);
        break;
    case DecodeDownload::Kind::None:
        refresh.notice = notice(QStringLiteral("解码文件已经是最新版本!"), QStringLiteral("提示"),
                                Notice::Icon::Information);
        break;
    case DecodeDownload::Kind::Blocked:
    case DecodeDownload::Kind::Failed:
        refresh.notice = notice(QStringLiteral("没有取到新的解码文件，原来的解码文件没有改动。"),
                                QStringLiteral("提示"), Notice::Icon::Exclamation);
        break;
    }
    return refresh;
}

bool serviceOnline(const QString& serviceBase, const ServiceClient& service) {
    return service.get(QUrl(idListAddress(serviceBase, 0))).ok;
}

Notice repairExtraction(MainState& state, bool online) {
    if (!online)
        return notice(QStringLiteral("网络不好用，暂时不能修复单据提取功能！"),
                      QStringLiteral("墨岚打单"), Notice::Icon::Information);
    DecodeFiles(state.folder, state.log).removeAll();
    return notice(QStringLiteral("单据提取功能已经修复！"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Information);
}

QString idListAddress(const QString& serviceBase, int secondsSinceMidnight) {
    return serviceBase + QStringLiteral("/mldd/code/refreshcode.html?t=") +
           QString::number(secondsSinceMidnight);
}

const QStringList& fieldLabels() {
    static const QStringList labels =
        QStringLiteral("店铺和卖家ID 订单编号 买家ID 买家姓名 电话1 电话2 邮编 运单号 省 市 县 "
                       "收货地址 商品 买家留言 卖家备注")
            .split(u' ');
    return labels;
}

std::optional<Notice> checkPastedValue(const QString& pageText, const QString& value,
                                       const QString& fieldLabel) {
    if (value.isEmpty() || pageText.contains(value))
        return std::nullopt;
    return notice(QStringLiteral("请在左边复制连续的字符串[") + fieldLabel +
                      QStringLiteral("]，粘贴到这里！"),
                  kEditorTitle, Notice::Icon::Exclamation);
}

BuiltFile buildDecodeFile(const QString& pageText, const PastedValues& values) {
    BuiltFile built;
    if (values[11].isEmpty()) {
        built.refusal = notice(QStringLiteral("收货地址不能空！"), QStringLiteral("墨岚打单"),
                               Notice::Icon::Critical);
        return built;
    }
    // The rules see the page with its line breaks as markers.
    const QString page = QString(pageText).replace(kPageLineEnd, kLineMark);
    QList<std::pair<qsizetype, int>> order; // first place on the page, field
    for (int field = 0; field < int(values.size()); ++field) {
        const qsizetype at =
            values[field].isEmpty()
                ? -1
                : page.indexOf(QString(values[field]).replace(kPageLineEnd, kLineMark));
        if (at >= 0)
            order.append({at, field});
    }
    std::sort(order.begin(), order.end());

    qsizetype from = 0; // where the rules' texts start after the fields so far
    for (const auto& [firstAt, field] : order) {
        const QString value = QString(values[field]).replace(kPageLineEnd, kLineMark);
        const qsizetype at = page.indexOf(value, from);
        if (at < 0)
            continue; // it overlaps a value before it
        const QString before = textBefore(page, from, at);
        const QString after = textAfter(page, at, at + value.size());
        built.decodeText += QStringLiteral("{|}MIDHN^Q^=^") + before + QStringLiteral("{|}MIDQN^") +
                            QString::number(field) + QStringLiteral("^=^") + after;
        from = at;
    }
    built.decodeText +=
        values[0].isEmpty()
            ? QStringLiteral("{|}SET^0^=^其他:我的id^确定用户店铺类型{|}SETALL^赋值")
            : QStringLiteral("{|}SETALL^赋值");
    return built;
}

QList<QStringList> extractedRecords(const QString& pageText, const QString& decodeText) {
    QList<QStringList> records;
    const QStringList pieces =
        RunDecodeRules(pageText, decodeText, false).records.split(QStringLiteral("{|D|}"));
    for (qsizetype i = 1; i < pieces.size(); ++i)
        records.append(pieces.at(i).split(QStringLiteral("{|B|}")));
    return records;
}

Notice noPageNotice() {
    return notice(QStringLiteral("网页地址太短，不是一个网页，请先填写订单页面的地址。"),
                  kEditorTitle, Notice::Icon::Exclamation);
}

Notice saveBuiltDecodeFile(MainState& state, const QString& pageKey, const QString& decodeText) {
    // Version 0: a refresh may still bring the service's own file for this page.
    if (!DecodeFiles(state.folder, state.log).write(pageKey, QStringLiteral("0"), decodeText))
        return notice(QStringLiteral("解码文件保存失败，请看ERR.TXT。"), kEditorTitle,
                      Notice::Icon::Exclamation);
    return notice(QStringLiteral("解码文件已保存，下次提取这类页面时就用它。"), kEditorTitle,
                  Notice::Icon::Information);
}

Check checkDecodeFiles(MainState& state, const ServiceClient& service) {
    const ServiceReply list = service.get(
        QUrl(idListAddress(state.serviceBase, QTime(0, 0).secsTo(QTime::currentTime()))));
    if (!list.ok)
        return {false, notice(QStringLiteral("没有取到解码文件清单：") + list.error,
                              QStringLiteral("墨岚打单"), Notice::Icon::Exclamation)};
    const bool removed = DecodeFiles(state.folder, state.log).applyIdList(list.body);
    return {true, notice(removed ? QStringLiteral("解码文件有更新，旧的解码文件已删除。")
                                 : QStringLiteral("解码文件都是最新的。"),
                         QStringLiteral("墨岚打单"), Notice::Icon::Information)};
}

} // namespace mldd::DecodeMaintenance
