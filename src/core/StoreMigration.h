#pragma once

#include <QString>

#include <optional>

namespace mldd {

class OrderDatabase;

/** What a migration copied, table by table, and the orders the target already had. */
struct MigrationCount {
    qint64 orders = 0;
    qint64 ordersAlreadyThere = 0;
    qint64 profiles = 0;
    qint64 settingsRows = 0;
    qint64 couriers = 0;
    qint64 capturedNumbers = 0;

    /** The report line, in the seller's words. */
    QString text() const;
};

/**
 * Copies a station's store (its SQLite file) into a shared store on a server
 * in one transaction: orders whose order number the target already holds, sender
 * profiles whose ID it holds, couriers it knows and the settings row when it
 * has one are left out, so that several stations can bring their stores in,
 * and a second run copies nothing twice. The target gives new ids; the merge
 * lists in hb_dj_id are rewritten to them. On failure nothing is copied and
 * `error` says why.
 */
std::optional<MigrationCount> migrateStore(OrderDatabase& from, OrderDatabase& to, QString* error);

} // namespace mldd
