#pragma once

#include "OrderStore.h"

#include <optional>
#include <vector>

namespace mldd {

/**
 * The orders of the last list query, shown in pages of ten. On a station's
 * own file the ids are read whole when the query runs, so paging never shifts
 * when orders are added meanwhile. On a shared server the server counts the
 * orders and sends one page at a time along the list's index: a million
 * orders must not cross the network to show ten.
 */
class OrderCursor {
public:
    static constexpr int kPageSize = 10;

    void requery(const OrderStore& store, const SqlCondition& filter);

    qsizetype recordCount() const { return m_count; }
    int pageCount() const { return int((m_count + kPageSize - 1) / kPageSize); }

    /** The page within 1 .. pageCount (1 when the list is empty). */
    int clampPage(int page) const;

    /** The ids on one page (1-based); the last page holds the rest. */
    QList<qint64> pageIds(int page) const;

    /** Every listed id in list order; on a server read when first asked for. */
    const std::vector<qint64>& ids() const;

private:
    std::optional<OrderStore> m_store;
    SqlCondition m_filter;
    qsizetype m_count = 0;
    mutable std::optional<std::vector<qint64>> m_ids;
};

} // namespace mldd
