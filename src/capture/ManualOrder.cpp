#include "ManualOrder.h"

#include "OrderPlacement.h"

#include "core/MainState.h"
#include "core/NumSign.h"
#include "workbench/ContentsNames.h"
#include "workbench/OrderListing.h"

namespace mldd {

namespace {

Notice hint(const QString& text) {
    return Notice{text, QStringLiteral("提示"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

ManualOrderResult refused(const QString& text) {
    ManualOrderResult result;
    result.notices.append(hint(text));
    return result;
}

} // namespace

ManualOrderResult InsertManualOrder(MainState& state, Order order) {
    if (order.myId.isEmpty())
        return refused(QStringLiteral("请选择发件人ID，再保存!"));
    if (order.buyAddress.trimmed().isEmpty() || order.buyName.trimmed().isEmpty())
        return refused(QStringLiteral("买家地址和姓名都不能为空,请填完整再保存!"));

    order.buyNjpm = ContentsNames::load(state.folder, order.myId).defaultName;
    order.numSign = numSignOf(order.orderSign);
    const CourierChoice courier =
        PlaceNewOrder(state, ExpressPlan::fromText(state.settings.selectKD), order);

    // A typed order is saved whole or not at all: the seller still has every box to fix.
    Order checked = order;
    OrderWriteRule rule;
    rule.apply(checked);
    if (rule.hasErrors())
        return refused(QStringLiteral("有的内容太长，订单没有保存：") + rule.errors());
    QList<Order> orders{order};
    if (!OrderStore(*state.database).insert(orders, rule))
        return refused(QStringLiteral("订单保存失败，订单没有保存。"));

    ManualOrderResult result;
    result.inserted = true;
    result.id = orders.first().id;
    result.status = QStringLiteral("增加成功!");
    if (courier.notice)
        result.notices.append(*courier.notice);
    result.openPlanPanel = courier.openPlanPanel;
    if (state.senderChoice != OrderFilter::kAll && !state.senderChoice.isEmpty())
        state.senderChoice = order.myId;
    OrderListing::applyFilter(state);
    return result;
}

} // namespace mldd
