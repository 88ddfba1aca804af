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

    bool isEmpty() const { return sql.isEmpty(); }

    SqlCondition& operator+=(const SqlCondition& more) {
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
