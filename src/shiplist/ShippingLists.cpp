#include "ShippingLists.h"

#include "core/OrderStore.h"

namespace mldd {

ShippingLists::ShippingLists(const QList<SenderProfile>& senders, const QString& paperRecord,
                             QDate today)
    : ShippingLists(senders, ShippingPaper::fromRecord(paperRecord), today) {}

ShippingLists::ShippingLists(const QList<SenderProfile>& senders, ShippingPaper paper, QDate today)
    : m_paper(paper), m_today(today) {
    for (const SenderProfile& sender : senders)
        if (!m_designs.contains(sender.myIdh))
            m_designs.insert(sender.myIdh, FaHuoSet(sender.faHuoSet).withSender(sender));
}

ShippingListPages ShippingLists::compose(const Order& order) {
    const auto design = m_designs.constFind(order.myId);
    return ComposeShippingList(order, design == m_designs.constEnd() ? FaHuoSet() : *design,
                               m_paper, m_today, m_metrics);
}

bool markShippingListsPrinted(OrderStore& store, QList<Order> orders) {
    for (Order& order : orders) {
        order.fhSign = 1;
        order.fhPrint = 1;
    }
    return store.update(orders);
}

} // namespace mldd
