#include "SameReceiver.h"

#include "RowOrders.h"

namespace mldd {

SameReceiver::SameReceiver(OrderDatabase& database, qint64 lastId)
    : m_lookup(database, QStringLiteral("select id from order_data where buy_name = ? and "
                                        "buy_address_sheng = ? and buy_address_shi = ? and "
                                        "buy_address_xian = ? and buy_address = ? and id <= ? "
                                        "order by id")),
      m_lastId(lastId) {}

std::vector<qint64> SameReceiver::ids(const Order& order) {
    if (RowOrders::receiverKey(order).isEmpty())
        return {};
    return m_lookup.ids({order.buyName, order.buyAddressSheng, order.buyAddressShi,
                         order.buyAddressXian, order.buyAddress, m_lastId});
}

} // namespace mldd
