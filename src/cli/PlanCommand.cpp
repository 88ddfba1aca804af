#include "Commands.h"
#include "ProgramStart.h"

#include "address/ExpressPlan.h"
#include "address/PlanPanel.h"
#include "core/MainState.h"

namespace mldd::cli {

namespace {
const QString kPlanUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] plan [--province-only] TEMPLATE [PROVINCE=TEMPLATE ...]\n"
    "  每个省份用 TEMPLATE，后面列出的省份用自己的快递单；--province-only：不看留言和备注");
} // namespace

int runPlan(const CliContext& context, QStringList args) {
    const bool provinceOnly = takeFlag(args, QStringLiteral("province-only"));
    if (args.isEmpty() || args.first().contains(u'='))
        return fail(Usage, kPlanUsage);
    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;

    // Only an installed template can print; the combo of the plan panel offers no other.
    const auto refuseUnknown = [&](const QString& name) {
        return fail(Usage, QStringLiteral("没有这个快递单模版：%1（已安装：%2）")
                               .arg(name, state.templates.isEmpty()
                                              ? QStringLiteral("无，请先下载快递模版")
                                              : state.templates.join(u'、')));
    };
    PlanPanel panel(ExpressPlan::fromText(state.settings.selectKD));
    panel.setMessagesFirst(!provinceOnly);
    const QString everywhere = args.takeFirst();
    if (!state.templates.contains(everywhere))
        return refuseUnknown(everywhere);
    panel.chooseTemplate(PlanPanel::allCells(), everywhere);
    for (const QString& pair : args) {
        const QString province = pair.section(u'=', 0, 0);
        const qsizetype cell =
            std::find(PlanPanel::provinces().begin(), PlanPanel::provinces().end(), province) -
            PlanPanel::provinces().begin();
        if (!pair.contains(u'=') || cell >= PlanPanel::kCellCount)
            return fail(Usage, QStringLiteral("没有这个省份：%1\n").arg(province) + kPlanUsage);
        const QString templateName = pair.section(u'=', 1);
        if (!state.templates.contains(templateName))
            return refuseUnknown(templateName);
        panel.chooseTemplate(int(cell), templateName);
    }
    const PlanPanel::Saved saved = panel.save(state);
    if (!saved.saved)
        return fail(Failed,
                    saved.notice ? saved.notice->text : QStringLiteral("快递方案没有保存。"));
    writeOut(QStringLiteral("快递方案已保存，补上快递单据的订单%1个。\n").arg(saved.fill.filled));
    return Success;
}

} // namespace mldd::cli
