#pragma once

#include <QString>
#include <QVariantList>

#include <functional>

namespace mldd {

class OrderDatabase;

/**
 * A run of conditions for the order query, each beginning with " and ", with
 * "?" placeholders whose values are bound, never spliced into the text.
 */
struct SqlCondition {
    QString sql;
    QVariantList values;
    /**
     * The "from … where …" of a query for the orders of a first stretch of the
     * list that meet the same conditions, with the same values, read in list
     * order; empty when there is none. A window it fills is the window `sql`
     * gives, sooner: a search with many candidates checks them along the list's
     * own index rather than looking each one up and sorting them all for one page.
     */
    QString firstStretch = {};
    /** How many entries of the list the first stretch reads at most. */
    qsizetype firstStretchRows = 0;
    /**
     * Set when `sql` finds the right orders but not yet the quickest way: the
     * first stretch then answers the first page, and this gives the conditions
     * for the rest of the list, from the store they run on, when a count or a
     * page past the stretch first needs them. A search of a common key shows
     * its page before the store is asked how common the key is.
     */
    std::function<SqlCondition(const OrderDatabase&)> settle = {};

    bool isEmpty() const { return sql.isEmpty(); }

    SqlCondition& operator+=(const SqlCondition& more) {
        // A stretch of these conditions alone, and a way to these alone.
        firstStretch.clear();
        firstStretchRows = 0;
        settle = {};
        sql += more.sql;
        values += more.values;
        return *this;
    }

    /** A LIKE pattern that finds `text` anywhere, its own % and _ taken literally (escape "\"). */
    static QString containsPattern(QString text) {
        text.replace(u'\\', QStringLiteral("\\\\"))
            .replace(u'%', QStringLiteral("\\%"))
            .replace(u'_', QStringLiteral("\\_"));
        return u'%' + text + u'%';
    }
};

} // namespace mldd
