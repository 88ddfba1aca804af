#include "OrderCursor.h"

#include <algorithm>

namespace mldd {

void OrderCursor::requery(const OrderStore& store, const SqlCondition& filter, int page,
                          Counting counting) {
    m_store.emplace(store);
    m_filter = filter;
    m_ids.reset();
    count(page, counting == Counting::Now ? kCountAhead : kPageSize);
    m_countWaits = counting == Counting::Later && !m_complete;
}

void OrderCursor::countAhead(int page) {
    if (m_store)
        count(page, kCountAhead);
}

void OrderCursor::count(int page, qsizetype ahead) {
    const qsizetype limit = qsizetype(std::max(page, 1)) * kPageSize + ahead;
    // Only a filter still to be settled is counted along its first stretch: a settled
    // one counts its candidates sooner than it walks to them.
    std::optional<qsizetype> counted;
    if (m_filter.settle)
        counted = m_store->stretchCount(m_filter, limit + 1);
    if (!counted)
        counted = m_store->listedCount(wholeList(), limit + 1);
    m_complete = *counted <= limit;
    m_count = std::min(*counted, limit);
    m_countWaits = false;
}

int OrderCursor::clampPage(int page) {
    if (m_store && !m_complete && page >= pageCount())
        count(page, kCountAhead);
    return std::clamp(page, 1, std::max(1, pageCount()));
}

QList<qint64> OrderCursor::pageIds(int page) const {
    if (page < 1 || !m_store)
        return {};
    const qsizetype first = qsizetype(page - 1) * kPageSize;
    std::optional<std::vector<qint64>> window = m_store->stretchWindow(m_filter, first, kPageSize);
    if (!window)
        window = m_store->listedWindow(wholeList(), first, kPageSize);
    return QList<qint64>(window->begin(), window->end());
}

std::optional<int> OrderCursor::pageOf(qint64 id) const {
    if (!m_store)
        return std::nullopt;
    const std::optional<qsizetype> position = m_store->listedPosition(wholeList(), id);
    if (!position)
        return std::nullopt;
    return int(*position / kPageSize) + 1;
}

const std::vector<qint64>& OrderCursor::ids() const {
    if (!m_ids)
        m_ids = m_store ? m_store->listed(wholeList()) : std::vector<qint64>();
    return *m_ids;
}

const SqlCondition& OrderCursor::wholeList() const {
    if (m_filter.settle)
        m_filter = m_store->settled(m_filter);
    return m_filter;
}

} // namespace mldd
