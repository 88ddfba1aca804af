#pragma once

#include "SqlCondition.h"
#include "SqlDialect.h"

#include <cstddef>

#include <QStringList>

namespace mldd {

class OrderDatabase;

/**
 * The index that finds a text anywhere in the short searched columns (buyer,
 * sender, order number, telephones…) without reading every order. On SQLite a
 * trigram full-text table that writers never wait for: it holds the orders up
 * to a mark, triggers only note the indexed orders that were changed or
 * deleted since, and the search brings it up to date in bulk (catchUp). The
 * search joins in what it holds plus the orders past the mark and the noted
 * ones, so it never misses an order the index lags behind. On the server
 * trigram indexes (pg_trgm) that the planner uses for the search's own LIKE.
 */
class OrderSearchIndex {
public:
    /** A trigram index narrows keys of three characters and more; shorter ones read every order. */
    static constexpr size_t kShortestKey = 3;
    /**
     * Orders one catch-up adds at most (a few microseconds each); further ones
     * wait for the next search, which reads every order while more than this lag.
     */
    static constexpr qint64 kCatchUpStep = 100'000;

    /**
     * The statements that give a store the index: the tables and the triggers.
     * An existing store's orders are added by the first catch-up, never at the start.
     */
    static QStringList statements(const SqlDialect& dialect);

    /** Whether the store holds the index's tables (false on the server: its index needs no care). */
    static bool present(const OrderDatabase& database);

    /**
     * Adds up to `step` orders past the mark and renews the noted ones, in one
     * transaction that never waits for another writer. Whether the search may
     * join the index in: it is there and lags behind by at most `step` orders
     * (a store that refused the write, being busy or read-only, still qualifies
     * by what it holds).
     */
    static bool catchUp(OrderDatabase& database, qint64 step = kCatchUpStep);

    /**
     * Empties the index and sets its mark back to nothing, as one step that lands
     * whole or not at all: before most of the orders are deleted, which it would
     * otherwise note one by one.
     */
    static void startOver(OrderDatabase& database);

    /**
     * Finds `key` anywhere in one of `columns` as LIKE does (its % and _ taken
     * literally), narrowed along the index when `alongIndex` (catchUp said so),
     * the index holds these columns and the key is long enough.
     */
    static SqlCondition contains(const QStringList& columns, const QString& key, bool alongIndex);
};

} // namespace mldd
