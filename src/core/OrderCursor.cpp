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
    const qsizetype counted = m_store->listedCount(m_filter, limit + 1);
    m_complete = counted <= limit;
    m_count = std::min(counted, limit);
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
    const std::vector<qint64> window =
        m_store->listedWindow(m_filter, qsizetype(page - 1) * kPageSize, kPageSize);
    return QList<qint64>(window.begin(), window.end());
}

std::optional<int> OrderCursor::pageOf(qint64 id) const {
    if (!m_store)
        return std::nullopt;
    const std::optional<qsizetype> position = m_store->listedPosition(m_filter, id);
    if (!position)
        return std::nullopt;
    return int(*position / kPageSize) + 1;
}

const std::vector<qint64>& OrderCursor::ids() const {
    if (!m_ids)
        m_ids = m_store ? m_store->listed(m_filter) : std::vector<qint64>();
    return *m_ids;
}

} // namespace mldd
