#include "Commands.h"
#include "FileArgument.h"
#include "ProgramStart.h"

#include "address/PastedBatch.h"
#include "capture/PastedOrders.h"
#include "core/MainState.h"
#include "core/TextCodec.h"

#include <QFile>

#include <algorithm>

namespace mldd::cli {

namespace {

const QString kAddUsage =
    QStringLiteral("用法: mldd-cli [--data DIR] add --paste FILE [--sender ID] [--goods TEXT]");

std::optional<QByteArray> pastedBytes(const QString& path, QString* message) {
    if (path != u'-')
        return readFileArgument(path, message);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        *message = QStringLiteral("读不了标准输入。");
        return std::nullopt;
    }
    return input.readAll();
}

bool knownSender(const MainState& state, const QString& id) {
    return std::any_of(state.profiles.begin(), state.profiles.end(),
                       [&](const SenderProfile& profile) { return profile.myIdh == id; });
}

} // namespace

int runAdd(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const std::optional<QString> path = takeOption(args, QStringLiteral("paste"), &missingValue);
    const std::optional<QString> sender = takeOption(args, QStringLiteral("sender"), &missingValue);
    const std::optional<QString> goods = takeOption(args, QStringLiteral("goods"), &missingValue);
    if (missingValue || !path || !args.isEmpty())
        return fail(Usage, kAddUsage);
    QString message;
    const std::optional<QByteArray> bytes = pastedBytes(*path, &message);
    if (!bytes)
        return fail(Failed, message);

    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;
    PasteChoices choices{sender.value_or(QString()), QString(), goods.value_or(QString())};
    if (choices.sender.isEmpty() && !state.profiles.isEmpty())
        choices.sender = state.profiles.first().myIdh;
    if (!knownSender(state, choices.sender))
        return fail(Failed, choices.sender.isEmpty()
                                ? QStringLiteral("还没有发件人，请先设置发件人。")
                                : QStringLiteral("没有这个发件人：%1").arg(choices.sender));

    const QList<PastedBlock> blocks =
        RecognizeBatch(TextCodec::decodeFileBytes(*bytes), *state.placeTable, state.log);
    if (blocks.isEmpty())
        return fail(Failed, QStringLiteral("没有粘贴任何收件人。"));
    QList<Order> orders;
    QList<int> lines;
    QString report;
    bool failed = false;
    std::optional<Notice> courierNotice;
    const PastedOrderMaker maker(state, choices);
    for (const PastedBlock& block : blocks) {
        const Order order = maker.make(block.receiver, &courierNotice);
        QString why = block.refusal();
        if (why.isEmpty())
            why = PastedOrderProblem(order);
        if (!why.isEmpty()) {
            report += QStringLiteral("第%1行：%2\n").arg(block.firstLine).arg(why);
            failed = true;
            continue;
        }
        orders.append(order);
        lines.append(block.firstLine);
    }
    const QList<bool> repeated = FindRepeatedReceivers(*state.database, orders);
    QList<Order> fresh;
    for (qsizetype i = 0; i < orders.size(); ++i) {
        if (repeated.at(i))
            report += QStringLiteral("第%1行：和没有打印的订单重复，没有再保存\n").arg(lines.at(i));
        else
            fresh.append(orders.at(i));
    }
    if (courierNotice)
        writeError(courierNotice->text + u'\n');
    int stored = 0;
    if (!fresh.isEmpty()) {
        const PasteStoreResult result = StorePastedOrders(state, fresh);
        if (!result.stored)
            return fail(Failed, report + result.error);
        stored = result.count;
    }
    writeOut(QStringLiteral("保存了%1单\n").arg(stored) + report);
    return failed ? Failed : Success;
}

} // namespace mldd::cli
