#include "OrderWriteRule.h"

namespace mldd {

const QList<FieldLimit>& OrderWriteRule::captureLimits() {
    static const QList<FieldLimit> limits{
        {"my_id", &Order::myId, 50},
        {"order_sign", &Order::orderSign, 50},
        {"buy_id", &Order::buyId, 50},
        {"buy_name", &Order::buyName, 50},
        {"buy_phone1", &Order::buyPhone1, 50},
        {"buy_phone2", &Order::buyPhone2, 50},
        {"buy_zipcode", &Order::buyZipcode, 50},
        {"buy_address_sheng", &Order::buyAddressSheng, 50},
        {"buy_address_shi", &Order::buyAddressShi, 50},
        {"buy_address_xian", &Order::buyAddressXian, 50},
        {"buy_address", &Order::buyAddress, 255},
    };
    return limits;
}

QList<FieldLimit> OrderWriteRule::apply(Order& order) {
    QList<FieldLimit> refused;
    for (const FieldLimit& field : m_limits) {
        QString& value = order.*field.member;
        if (value.size() <= field.limit)
            continue;
        m_errors += complaint(field.column, value.size());
        value.clear();
        refused.append(field);
    }
    return refused;
}

QString OrderWriteRule::complaint(const char* column, qsizetype length) {
    return QStringLiteral("\r\n[") + QLatin1String(column) + QStringLiteral("]超长") +
           QString::number(length);
}

} // namespace mldd
