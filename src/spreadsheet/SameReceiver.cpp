#include "SameReceiver.h"

#include "RowOrders.h"

namespace mldd {

SameReceiver::SameReceiver(OrderDatabase& database, qint64 lastId, const QString& condition)
    : m_lookup(database, QStringLiteral("select id from order_data where buy_name = ? and "
                                        "buy_address_sheng = ? and buy_address_shi = ? and "
                                        "buy_address_xian = ? and buy_address = ? and id <= ?") +
                             condition + QStringLiteral(" order by id")),
      m_lastId(lastId) {}

std::vector<qint64> SameReceiver::ids(const Order& order, const QVariantList& values) {
    if (RowOrders::receiverKey(order).isEmpty())
        return {};
    return m_lookup.ids(QVariantList{order.buyName, order.buyAddressSheng, order.buyAddressShi,
                                     order.buyAddressXian, order.buyAddress, m_lastId} +
                        values);
}

} // namespace mldd
