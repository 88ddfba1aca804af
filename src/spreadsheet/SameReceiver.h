#pragma once

#include "core/Order.h"
#include "core/PreparedIds.h"

#include <QStringList>

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
     * run). Each found order also gives `facts`: integer expressions over its
     * columns, with placeholders of their own.
     */
    explicit SameReceiver(OrderDatabase& database,
                          qint64 lastId = std::numeric_limits<qint64>::max(),
                          const QStringList& facts = {});

    /**
     * In id order, each found order's id followed by its facts (`values` bound to
     * their placeholders); none when the order names no receiver.
     */
    std::vector<qint64> ids(const Order& order, const QVariantList& values = {});
    /** How many numbers ids() gives for each found order. */
    int stride() const { return m_stride; }

private:
    PreparedIds m_lookup;
    qint64 m_lastId;
    int m_stride;
};

} // namespace mldd
