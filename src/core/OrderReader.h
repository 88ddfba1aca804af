#pragma once

#include "Order.h"
#include "OrderColumns.h"

#include <QSqlQuery>

#include <optional>

namespace mldd {

class OrderDatabase;

/**
 * Reads stored orders one id at a time with a statement prepared once, for a
 * batch that reads an order or two for each of many rows: preparing costs
 * more than the read.
 */
class OrderReader {
public:
    explicit OrderReader(OrderDatabase& database);

    /** The order with this id; none when it is not stored. */
    std::optional<Order> byId(qint64 id);

private:
    OrderDatabase& m_database;
    QSqlQuery m_query;
    std::optional<OrderColumns> m_columns;
};

} // namespace mldd
