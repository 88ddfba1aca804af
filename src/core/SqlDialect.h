#pragma once

#include <QString>
#include <QStringList>

namespace mldd {

/**
 * What differs between the two stores the orders can live in: a station's own
 * SQLite file and a PostgreSQL server shared by several stations. Every SQL
 * text that is not the same in both is made here.
 */
class SqlDialect {
public:
    enum class Kind { SQLite, PostgreSQL };

    explicit SqlDialect(Kind kind = Kind::SQLite) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    bool isServer() const { return m_kind == Kind::PostgreSQL; }

    /** The resources with the statements that create the tables and the indexes. */
    QString schemaResource() const;
    QString indexesResource() const;

    /** An upgrade statement written for SQLite, as this store runs it. */
    QString upgradeStatement(const QString& statement) const;

    /** "order by" of every list: newest order number first, orders without one last. */
    QString newestFirst() const;

    /** Calendar days between the day an order was taken in and today. */
    QString ageInDays() const;

    /**
     * The row's version as a selected column "row_version" (with a leading
     * comma), or nothing where the store keeps none. The server changes it at
     * every update of the row.
     */
    QString rowVersionColumn() const;
    /** The condition an update adds so that it writes only the version it read. */
    QString sameVersion() const;

    /** What an insert into order_data ends with so that the new id can be read. */
    QString returningId() const;

    /**
     * The statements that begin a write transaction, waiting at most `waitMs`
     * for any other program's or station's to end first.
     */
    QStringList beginWrite(int waitMs) const;

private:
    Kind m_kind;
};

} // namespace mldd
