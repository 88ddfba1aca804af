#pragma once

#include <QString>
#include <QVariantList>

namespace mldd {

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

    bool isEmpty() const { return sql.isEmpty(); }

    SqlCondition& operator+=(const SqlCondition& more) {
        firstStretch.clear(); // a stretch of these conditions alone
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
