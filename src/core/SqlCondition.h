#pragma once

#include <QString>
#include <QVariantList>

namespace mldd {

/**
 * A run of conditions for the order query, each beginning with " and ", with
 * "?" placeholders whose values are bound, never spliced into the text. A
 * condition may also join order_data to the ids an index found, so that only
 * those orders are checked; the join's values are bound first.
 */
struct SqlCondition {
    SqlCondition() = default;
    SqlCondition(QString conditions, QVariantList conditionValues)
        : sql(std::move(conditions)), values(std::move(conditionValues)) {}

    QString sql;
    QVariantList values;
    QString join;
    QVariantList joinValues;

    bool isEmpty() const { return sql.isEmpty() && join.isEmpty(); }

    /** Every value, in the order of the placeholders of join and conditions. */
    QVariantList boundValues() const { return joinValues + values; }

    SqlCondition& operator+=(const SqlCondition& more) {
        sql += more.sql;
        values += more.values;
        join += more.join;
        joinValues += more.joinValues;
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
