#include "Commands.h"
#include "ProgramStart.h"

#include "core/CapturedNumbers.h"
#include "core/MainState.h"

namespace mldd::cli {

namespace {

const QString kCapturedUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] captured list               列出有已提取记录的店铺和记录数\n"
    "       mldd-cli [--data DIR] captured clear --shop ID    清空一个店铺的已提取记录，\n"
    "                                                          如 --shop 淘宝:墨岚小店\n"
    "       mldd-cli [--data DIR] captured clear --all        清空所有店铺的已提取记录\n"
    "  清空后，删除了的订单可以重新提取");

} // namespace

int runCaptured(const CliContext& context, QStringList args) {
    const QString action = args.isEmpty() ? QString() : args.takeFirst();
    bool missingValue = false;
    const std::optional<QString> shop = takeOption(args, QStringLiteral("shop"), &missingValue);
    const bool all = takeFlag(args, QStringLiteral("all"));
    const bool known = (action == u"list" && !shop && !all) ||
                       (action == u"clear" && (shop.has_value() != all) &&
                        !(shop && shop->isEmpty()));
    if (missingValue || !args.isEmpty() || !known)
        return fail(Usage, kCapturedUsage);

    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;
    CapturedNumbers captured(*state.database);
    if (action == u"list") {
        QString text;
        for (const CapturedNumbers::ShopList& list : captured.shops())
            text += QStringLiteral("%1\t%2\n").arg(list.shop).arg(list.count);
        if (state.database->lastFailure())
            return fail(Failed, state.database->failureText());
        writeOut(text.isEmpty() ? QStringLiteral("没有已提取记录。\n") : text);
        return Success;
    }
    const qint64 removed = captured.clear(shop.value_or(QString()));
    if (removed < 0)
        return fail(Failed, QStringLiteral("已提取记录没有清空：") + state.database->failureText());
    const QString whose = all ? QStringLiteral("所有店铺") : QStringLiteral(" %1 ").arg(*shop);
    writeOut(QStringLiteral("已清空%1的已提取记录，共%2个订单号。\n").arg(whose).arg(removed));
    return Success;
}

} // namespace mldd::cli
