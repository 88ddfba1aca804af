#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

struct sqlite3;

namespace mldd {

/**
 * The order database file (SQLite): opened once, created from the schema when
 * missing, upgraded at every open. A file that is no database is never touched.
 */
class OrderDatabase {
public:
    /** Opens `path`; on failure returns null and the reason in the system's words. */
    static std::unique_ptr<OrderDatabase> open(const QString& path, QString* message);

    ~OrderDatabase();
    OrderDatabase(const OrderDatabase&) = delete;
    OrderDatabase& operator=(const OrderDatabase&) = delete;

    QSqlDatabase connection() const { return QSqlDatabase::database(m_connectionName, false); }

    /** The raw handle, for the few hot queries that read a million ids. */
    sqlite3* handle() const;

    /**
     * Runs `work` as one transaction: all of it lands, or none of it when it
     * returns false. Inside an open OrderTransaction it runs as a savepoint of it.
     */
    bool inTransaction(const std::function<bool()>& work);

    /** Whether a transaction is open on the connection (an OrderTransaction). */
    bool inOpenTransaction() const;

    QString path() const { return m_path; }

private:
    OrderDatabase(QString connectionName, QString path);

    QString m_connectionName;
    QString m_path;
};

} // namespace mldd
