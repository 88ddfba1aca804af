#include "PastedOrders.h"

#include "OrderPlacement.h"

#include "core/MainState.h"
#include "core/OrderStore.h"
#include "core/OrderWriteRule.h"
#include "core/PreparedIds.h"
#include "workbench/ContentsNames.h"
#include "workbench/OrderListing.h"

#include <QSet>

namespace mldd {

namespace {

QString receiverKey(const Order& order) {
    return QStringList{order.buyName,       order.buyPhone1,      order.buyAddressSheng,
                       order.buyAddressShi, order.buyAddressXian, order.buyAddress}
        .join(u'\x1f');
}

} // namespace

Order ReceiverColumns(const PastedReceiver& receiver) {
    Order order;
    order.buyName = receiver.name;
    order.buyPhone1 = receiver.phone1;
    order.buyPhone2 = receiver.phone2;
    order.buyZipcode = receiver.zipcode;
    order.buyAddressSheng = receiver.province;
    order.buyAddressShi = receiver.city;
    order.buyAddressXian = receiver.county;
    // An address no place was found in stays whole; the splitter only takes spaces out.
    order.buyAddress = receiver.rest;
    return order;
}

PastedOrderMaker::PastedOrderMaker(const MainState& state, PasteChoices choices)
    : m_state(state), m_choices(std::move(choices)),
      m_contentsName(ContentsNames::load(state.folder, m_choices.sender).defaultName),
      m_plan(ExpressPlan::fromText(state.settings.selectKD)) {
    m_choices.goods.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(u'\n', QStringLiteral("\r\n"));
}

Order PastedOrderMaker::make(const PastedReceiver& receiver, std::optional<Notice>* notice) const {
    Order order = ReceiverColumns(receiver);
    order.myId = m_choices.sender;
    order.buyGoods = m_choices.goods;
    order.buyNjpm = m_contentsName;
    const CourierChoice courier = PlaceNewOrder(m_state, m_plan, order);
    if (!m_choices.courier.isEmpty())
        order.delivery = m_choices.courier;
    else if (notice && courier.notice)
        *notice = courier.notice;
    return order;
}

QString PastedOrderProblem(const Order& order) {
    Order checked = order;
    OrderWriteRule rule;
    rule.apply(checked);
    return rule.errors().trimmed();
}

QList<bool> FindRepeatedReceivers(OrderDatabase& database, const QList<Order>& orders) {
    PreparedIds stored(database,
                       QStringLiteral("select id from order_data where buy_name = ? and "
                                      "buy_phone1 = ? and buy_address_sheng = ? and "
                                      "buy_address_shi = ? and buy_address_xian = ? and "
                                      "buy_address = ? and kd_sign = 0 and dj_type >= 0"));
    QList<bool> repeated;
    repeated.reserve(orders.size());
    QSet<QString> earlier;
    for (const Order& order : orders) {
        const QString key = receiverKey(order);
        bool seen = earlier.contains(key);
        earlier.insert(key);
        if (!seen)
            seen = !stored
                        .ids({order.buyName, order.buyPhone1, order.buyAddressSheng,
                              order.buyAddressShi, order.buyAddressXian, order.buyAddress})
                        .empty();
        repeated.append(seen);
    }
    return repeated;
}

PasteStoreResult StorePastedOrders(MainState& state, QList<Order>& orders) {
    PasteStoreResult result;
    if (orders.isEmpty()) {
        result.error = QStringLiteral("没有可以保存的收件人。");
        return result;
    }
    OrderWriteRule rule;
    QString why;
    if (!OrderStore(*state.database).insert(orders, rule, &why)) {
        result.error = QStringLiteral("订单保存失败，一单也没有保存。") + why;
        return result;
    }
    result.stored = true;
    result.count = int(orders.size());
    if (state.senderChoice != OrderFilter::kAll && !state.senderChoice.isEmpty())
        state.senderChoice = orders.first().myId;
    OrderListing::applyFilter(state);
    return result;
}

} // namespace mldd
