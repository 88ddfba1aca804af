#pragma once

#include <QSqlDatabase>
#include <QStringList>

#include <optional>

namespace mldd {

/**
 * A SQLite table's own indexes, taken off for a change to most of its rows and
 * built again after it: SQLite takes each deleted row out of every index one
 * by one, while a build over the rows kept reads them once. Both happen in the
 * caller's transaction, so a change that fails leaves the indexes as they were.
 */
class IndexesAside {
public:
    /** Drops every index of `table` (not its key); none when SQLite refused. */
    static std::optional<IndexesAside> take(QSqlDatabase db, const QString& table);

    /** Builds the indexes again; false when SQLite refused (roll back). */
    bool restore();

private:
    IndexesAside(QSqlDatabase db, QStringList statements);

    QSqlDatabase m_db;
    QStringList m_statements;
};

} // namespace mldd
