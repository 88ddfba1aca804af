#include "OrderColumns.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace mldd {

OrderColumns::OrderColumns(const QSqlRecord& record)
    : m_id(record.indexOf(QStringLiteral("id"))),
      m_numSign(record.indexOf(QStringLiteral("NumSign"))),
      m_timeGet(record.indexOf(QStringLiteral("time_get"))),
      m_version(record.indexOf(QStringLiteral("row_version"))) {
    for (std::size_t i = 0; i < kOrderIntColumns.size(); ++i)
        m_ints[i] = record.indexOf(QLatin1String(kOrderIntColumns[i].name));
    for (std::size_t i = 0; i < kOrderTextColumns.size(); ++i)
        m_texts[i] = record.indexOf(QLatin1String(kOrderTextColumns[i].name));
}

Order OrderColumns::orderAt(const QSqlQuery& query) const {
    Order order;
    order.id = query.value(m_id).toLongLong();
    for (std::size_t i = 0; i < kOrderIntColumns.size(); ++i)
        order.*kOrderIntColumns[i].member = query.value(m_ints[i]).toInt();
    const QVariant numSign = query.value(m_numSign);
    if (!numSign.isNull())
        order.numSign = numSign.toDouble();
    order.timeGet = query.value(m_timeGet).toString();
    if (m_version >= 0)
        order.version = query.value(m_version).toLongLong();
    for (std::size_t i = 0; i < kOrderTextColumns.size(); ++i) {
        if (m_texts[i] >= 0)
            order.*kOrderTextColumns[i].member = query.value(m_texts[i]).toString();
    }
    return order;
}

} // namespace mldd
