#include "OrderCursor.h"

#include <algorithm>

namespace mldd {

void OrderCursor::requery(const OrderStore& store, const SqlCondition& filter) {
    m_ids = store.listed(filter);
}

int OrderCursor::clampPage(int page) const {
    return std::clamp(page, 1, std::max(1, pageCount()));
}

QList<qint64> OrderCursor::pageIds(int page) const {
    QList<qint64> ids;
    if (page < 1)
        return ids;
    const size_t first = size_t(page - 1) * kPageSize;
    for (size_t i = first; i < m_ids.size() && i < first + kPageSize; ++i)
        ids.append(m_ids[i]);
    return ids;
}

} // namespace mldd
