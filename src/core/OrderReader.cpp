#include "OrderReader.h"

#include "OrderDatabase.h"

#include <QSqlError>
#include <QSqlRecord>

namespace mldd {

OrderReader::OrderReader(OrderDatabase& database)
    : m_database(database), m_query(database.connection()) {
    m_query.setForwardOnly(true);
    if (!m_query.prepare(QStringLiteral("select *%1 from order_data where id = ?")
                             .arg(database.dialect().rowVersionColumn())))
        database.note(m_query.lastError());
}

std::optional<Order> OrderReader::byId(qint64 id) {
    m_query.bindValue(0, id);
    std::optional<Order> order;
    if (m_query.exec() && m_query.next()) {
        if (!m_columns)
            m_columns.emplace(m_query.record());
        order = m_columns->orderAt(m_query);
    }
    // A damaged page stops the read; the store remembers why.
    m_database.note(m_query.lastError());
    m_query.finish();
    return order;
}

} // namespace mldd
