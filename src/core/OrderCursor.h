#pragma once

#include "OrderStore.h"

#include <optional>
#include <vector>

namespace mldd {

/**
 * The orders of the last list query, shown in pages of ten. The store sends
 * one page at a time along the list's index and counts the orders only a
 * stretch past the page shown: a year of orders must not be read, nor
 * counted to its end, to show ten. A longer list shows the counted part as
 * "more than" and is counted further as the seller pages on.
 */
class OrderCursor {
public:
    static constexpr int kPageSize = 10;
    /** How many orders past the shown page a count goes before it stops. */
    static constexpr qsizetype kCountAhead = 10'000;

    /** When the count of a new list query goes its full stretch. */
    enum class Counting {
        /** At once, before anything is read of the list. */
        Now,
        /**
         * Only to the page after `page` first, so that the page is shown at once;
         * countAhead() goes on when there is time for it.
         */
        Later,
    };

    /** Runs the list query, counting up to `page` and kCountAhead orders beyond it. */
    void requery(const OrderStore& store, const SqlCondition& filter, int page = 1,
                 Counting counting = Counting::Now);

    /** Whether the count stopped short at the page after the shown one, waiting for countAhead().
     */
    bool countWaits() const { return m_countWaits; }
    /** Counts up to `page` and kCountAhead orders beyond it, as requery does with Counting::Now. */
    void countAhead(int page);

    /** The orders counted: every listed one, or the counted part when !countComplete(). */
    qsizetype recordCount() const { return m_count; }
    /** Whether recordCount() is the whole list rather than its counted part. */
    bool countComplete() const { return m_complete; }
    int pageCount() const { return int((m_count + kPageSize - 1) / kPageSize); }

    /**
     * The page within 1 .. pageCount (1 when the list is empty); a page past
     * the counted part has the list counted further first.
     */
    int clampPage(int page);

    /** The ids on one page (1-based); the last page holds the rest. */
    QList<qint64> pageIds(int page) const;

    /** The page that shows this order; none when it is not listed. */
    std::optional<int> pageOf(qint64 id) const;

    /** Every listed id in list order, read when first asked for (a run over the whole list). */
    const std::vector<qint64>& ids() const;

private:
    /** Counts up to `page` and `ahead` orders beyond it. */
    void count(int page, qsizetype ahead);

    /**
     * The filter for the whole list, settled the first time a count or a page
     * needs more than its first stretch.
     */
    const SqlCondition& wholeList() const;

    std::optional<OrderStore> m_store;
    mutable SqlCondition m_filter;
    qsizetype m_count = 0;
    bool m_complete = true;
    bool m_countWaits = false;
    mutable std::optional<std::vector<qint64>> m_ids;
};

} // namespace mldd
