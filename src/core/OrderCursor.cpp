#include "OrderCursor.h"

#include <algorithm>

namespace mldd {

void OrderCursor::requery(const OrderStore& store, const SqlCondition& filter) {
    m_store.emplace(store);
    m_filter = filter;
    m_ids.reset();
    if (store.isServer()) {
        m_count = store.listedCount(filter);
        return;
    }
    m_ids = store.listed(filter);
    m_count = qsizetype(m_ids->size());
}

int OrderCursor::clampPage(int page) const {
    return std::clamp(page, 1, std::max(1, pageCount()));
}

QList<qint64> OrderCursor::pageIds(int page) const {
    if (page < 1 || !m_store)
        return {};
    const qsizetype first = qsizetype(page - 1) * kPageSize;
    if (!m_ids) {
        const std::vector<qint64> window = m_store->listedWindow(m_filter, first, kPageSize);
        return QList<qint64>(window.begin(), window.end());
    }
    QList<qint64> ids;
    for (qsizetype i = first; i < qsizetype(m_ids->size()) && i < first + kPageSize; ++i)
        ids.append(m_ids->at(size_t(i)));
    return ids;
}

const std::vector<qint64>& OrderCursor::ids() const {
    if (!m_ids)
        m_ids = m_store ? m_store->listed(m_filter) : std::vector<qint64>();
    return *m_ids;
}

} // namespace mldd
