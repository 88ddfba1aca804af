#pragma once

#include "OrderStore.h"

#include <vector>

namespace mldd {

/**
 * The orders of the last list query, as their ids in list order, shown in
 * pages of ten. The ids are fixed when the query runs, so paging never
 * shifts when orders are added meanwhile.
 */
class OrderCursor {
public:
    static constexpr int kPageSize = 10;

    void requery(const OrderStore& store, const SqlCondition& filter);

    qsizetype recordCount() const { return qsizetype(m_ids.size()); }
    int pageCount() const { return int((m_ids.size() + kPageSize - 1) / kPageSize); }

    /** The page within 1 .. pageCount (1 when the list is empty). */
    int clampPage(int page) const;

    /** The ids on one page (1-based); the last page holds the rest. */
    QList<qint64> pageIds(int page) const;

    const std::vector<qint64>& ids() const { return m_ids; }

private:
    std::vector<qint64> m_ids;
};

} // namespace mldd
