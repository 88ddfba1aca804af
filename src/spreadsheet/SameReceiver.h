#pragma once

#include "core/Order.h"
#include "core/PreparedIds.h"

#include <limits>

namespace mldd {

/**
 * Finds the stored orders of one receiver (name and split address, the
 * columns an index covers) with a statement prepared once for a whole import
 * or write-back.
 */
class SameReceiver {
public:
    /**
     * Looks only at orders with ids up to `lastId` (the ones stored before a
     * run) that also meet `condition` (" and ..." with its own placeholders).
     */
    explicit SameReceiver(OrderDatabase& database,
                          qint64 lastId = std::numeric_limits<qint64>::max(),
                          const QString& condition = QString());

    /** Their ids in id order, `values` bound to the condition; none when the order names no receiver. */
    std::vector<qint64> ids(const Order& order, const QVariantList& values = {});

private:
    PreparedIds m_lookup;
    qint64 m_lastId;
};

} // namespace mldd
