#pragma once

#include "core/Notice.h"

#include <QList>
#include <QString>

#include <optional>
#include <variant>

namespace mldd {

class OrderDatabase;

/**
 * Tracking numbers given to many orders at once: stored in one transaction, and
 * undone as a whole (each order gets back the number it had before).
 */
class TrackingBatch {
public:
    /** One order's tracking number. */
    struct Entry {
        qint64 id = 0;
        QString number;
    };

    /** Stores the numbers in one transaction; on failure nothing is stored and why is returned. */
    static std::variant<TrackingBatch, Notice> store(OrderDatabase& database,
                                                     const QList<Entry>& entries);

    /**
     * Gives the orders their numbers from before, in one transaction. An order whose number was
     * changed since keeps it. Says how it went.
     */
    Notice undo(OrderDatabase& database) const;

    qsizetype size() const { return m_after.size(); }
    const QList<Entry>& entries() const { return m_after; }

private:
    QList<Entry> m_before;
    QList<Entry> m_after;
};

} // namespace mldd
