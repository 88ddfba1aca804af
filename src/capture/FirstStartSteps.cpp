#include "FirstStartSteps.h"

#include "address/ExpressPlan.h"
#include "core/LocationCode.h"
#include "core/MainState.h"
#include "core/OrderStore.h"
#include "core/SettingsFile.h"

#include <QFile>

#include <algorithm>

namespace mldd::FirstStartSteps {

namespace {

bool recorded(const MainState& state) {
    return QFile::exists(state.folder.settingsFile(kDoneFile));
}

bool allDone(const QList<Item>& list) {
    return std::all_of(list.cbegin(), list.cend(), [](const Item& item) { return item.done; });
}

} // namespace

QString caption(Step step) {
    switch (step) {
    case Step::Sender:
        return QStringLiteral("填写发件人信息");
    case Step::Printer:
        return QStringLiteral("选择快递单打印机");
    case Step::Templates:
        return QStringLiteral("下载快递模版");
    case Step::Plan:
        return QStringLiteral("设置快递方案");
    case Step::Orders:
        break;
    }
    return QStringLiteral("导入订单");
}

QList<Item> items(const MainState& state) {
    const bool hasOrders =
        state.database && OrderStore(*state.database).listedCount(SqlCondition{}, 1) > 0;
    return {
        {Step::Sender, !state.profiles.isEmpty()},
        {Step::Printer, !state.printDefaults.waybillPrinter.isEmpty()},
        {Step::Templates, !state.templates.isEmpty()},
        // Item 0 is the flag: a plan has a province after it.
        {Step::Plan, ExpressPlan::fromText(state.settings.selectKD).items.size() > 1},
        {Step::Orders, hasOrders},
    };
}

bool wanted(const MainState& state) {
    return !recorded(state) && !allDone(items(state));
}

void recordIfDone(const MainState& state) {
    if (!recorded(state) && allDone(items(state)))
        writeSettingsFile(state.folder.settingsFile(kDoneFile), {QStringLiteral("1")}, state.log,
                          LocationCode::SaveOptions);
}

} // namespace mldd::FirstStartSteps
