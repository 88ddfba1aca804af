#pragma once

#include "SqlCondition.h"
#include "SqlDialect.h"

#include <cstddef>

#include <QStringList>

namespace mldd {

/**
 * The index that finds a text anywhere in the short searched columns (buyer,
 * sender, order number, telephones…) without reading every order: on SQLite a
 * trigram full-text table kept by triggers on order_data, joined into the
 * search; on the server trigram indexes (pg_trgm) that the planner uses for
 * the search's own LIKE conditions.
 */
class OrderSearchIndex {
public:
    /** A trigram index narrows keys of three characters and more; shorter ones read every order. */
    static constexpr size_t kShortestKey = 3;

    /**
     * The statements that give a store the index: the table, its first filling
     * from the orders (only when `present` is false) and the triggers that keep it.
     */
    static QStringList statements(const SqlDialect& dialect, bool present);

    /** The query that finds whether a SQLite store has the index's table. */
    static QString presenceQuery();

    /**
     * Finds `key` anywhere in one of `columns` as LIKE does (its % and _ taken
     * literally), narrowed along the index when `alongIndex` (the store joins
     * one in, OrderDatabase::hasSearchIndex), the index holds these columns and
     * the key is long enough.
     */
    static SqlCondition contains(const QStringList& columns, const QString& key, bool alongIndex);
};

} // namespace mldd
