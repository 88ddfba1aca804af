#pragma once

#include "workbench/TrackingBatch.h"

#include <QList>
#include <QString>

#include <optional>

namespace mldd {

class OrderStore;
struct SheetTable;

/**
 * Tracking numbers from a courier's export (.csv, .xlsx, .xls): the column of order numbers
 * and the column of tracking numbers are found by their headings, and each number goes to the
 * stored order with that order number, with or without its marketplace word ("淘宝:").
 */
struct TrackingImport {
    QList<TrackingBatch::Entry> entries;
    /** Rows with both numbers whose order is not stored, or not one order only. */
    QStringList unmatched;
    /** Orders that already had the row's number. */
    int unchanged = 0;
    /** Why the file gave no numbers at all. */
    std::optional<Notice> refusal;

    /** Reads the first sheet of the file and matches its rows to stored orders. */
    static TrackingImport read(const OrderStore& store, const QString& path);
    /** Matches the rows of one sheet; `path` names the file in the messages. */
    static TrackingImport match(const OrderStore& store, const SheetTable& sheet,
                                const QString& path);

    /** What the seller is told once the numbers were stored (`stored` of them). */
    Notice summary(qsizetype stored) const;
};

} // namespace mldd
