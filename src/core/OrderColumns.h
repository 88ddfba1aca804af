#pragma once

#include "Order.h"

#include <array>

class QSqlQuery;
class QSqlRecord;

namespace mldd {

/**
 * Where the columns of an order stand in a query's rows: found once per query,
 * since looking a column up by name for every row of a long read costs more
 * than reading the row.
 */
class OrderColumns {
public:
    explicit OrderColumns(const QSqlRecord& record);

    /** The order on the query's current row. */
    Order orderAt(const QSqlQuery& query) const;

private:
    int m_id;
    std::array<int, kOrderIntColumns.size()> m_ints;
    int m_numSign;
    int m_timeGet;
    int m_version;
    std::array<int, kOrderTextColumns.size()> m_texts;
};

} // namespace mldd
