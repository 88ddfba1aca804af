#include "Commands.h"
#include "ProgramStart.h"

#include "core/MainState.h"
#include "spreadsheet/TrackingImport.h"
#include "workbench/TrackingQueue.h"

namespace mldd::cli {

namespace {

const QString kTrackingUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] tracking import --file F    按订单号导入快递公司表格里的运单号\n"
    "       mldd-cli [--data DIR] tracking run --from NUMBER --ids 1,2,…\n"
    "                 连号的快递单：第一个订单的快递的订单依次得到 NUMBER 起的运单号\n"
    "  每次都在一个事务里保存");

int store(MainState& state, const QList<TrackingBatch::Entry>& entries, const QString& told) {
    std::variant<TrackingBatch, Notice> stored = TrackingBatch::store(*state.database, entries);
    if (const Notice* failed = std::get_if<Notice>(&stored))
        return fail(Failed, failed->text);
    writeOut(told + u'\n');
    return Success;
}

} // namespace

int runTracking(const CliContext& context, QStringList args) {
    const QString action = args.isEmpty() ? QString() : args.takeFirst();
    bool missingValue = false;
    const std::optional<QString> file = takeOption(args, QStringLiteral("file"), &missingValue);
    const std::optional<QString> from = takeOption(args, QStringLiteral("from"), &missingValue);
    const std::optional<QString> idsText = takeOption(args, QStringLiteral("ids"), &missingValue);
    const bool known = (action == u"import" && file && !from && !idsText) ||
                       (action == u"run" && !file && from && idsText);
    if (missingValue || !args.isEmpty() || !known)
        return fail(Usage, kTrackingUsage);
    const std::optional<QList<qint64>> ids = idsText ? parseIds(*idsText) : QList<qint64>{};
    if (!ids)
        return fail(Usage, QStringLiteral("订单编号必须是逗号分隔的正整数：%1").arg(*idsText));

    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;
    OrderStore orders(*state.database);
    if (action == u"import") {
        const TrackingImport read = TrackingImport::read(orders, *file);
        if (read.refusal)
            return fail(Failed, read.refusal->text);
        return store(state, read.entries,
                     read.summary(read.entries.size())
                         .text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    TrackingQueue queue(*state.database, orders.byIds(*ids));
    if (!queue.current())
        return fail(Failed, QStringLiteral("没有这些订单。"));
    const QString courier = queue.current()->delivery;
    if (const std::optional<Notice> refused = queue.fillRun(*from))
        return fail(Failed,
                    QString(refused->text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const int filled = queue.givenCount();
    std::variant<TrackingBatch, Notice> saved = queue.save();
    if (const Notice* failed = std::get_if<Notice>(&saved))
        return fail(Failed, failed->text);
    writeOut(QStringLiteral("已连号填写%1个%2的运单号。\n").arg(filled).arg(courier));
    return Success;
}

} // namespace mldd::cli
