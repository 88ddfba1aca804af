#include "SameReceiver.h"

#include "RowOrders.h"

namespace mldd {

namespace {

QString lookup(const QStringList& facts) {
    return (QStringList{QStringLiteral("select id")} + facts).join(QStringLiteral(", ")) +
           QStringLiteral(" from order_data where buy_name = ? and buy_address_sheng = ? and "
                          "buy_address_shi = ? and buy_address_xian = ? and buy_address = ? and "
                          "id <= ? order by id");
}

} // namespace

SameReceiver::SameReceiver(OrderDatabase& database, qint64 lastId, const QStringList& facts)
    : m_lookup(database, lookup(facts)), m_lastId(lastId), m_stride(int(facts.size()) + 1) {}

std::vector<qint64> SameReceiver::ids(const Order& order, const QVariantList& values) {
    if (RowOrders::receiverKey(order).isEmpty())
        return {};
    return m_lookup.numbers(values + QVariantList{order.buyName, order.buyAddressSheng,
                                                  order.buyAddressShi, order.buyAddressXian,
                                                  order.buyAddress, m_lastId},
                            m_stride);
}

} // namespace mldd
