#pragma once

#include "StoreFailure.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

struct sqlite3;

namespace mldd {

/**
 * The order database file (SQLite): opened once, checked, created from the
 * schema when missing, upgraded at every open. A file that is no database, or
 * a damaged one, is never touched.
 */
class OrderDatabase {
public:
    /** How long the start-up check may read a big store before it lets it be. */
    static constexpr int kCheckBudgetMs = 1500;
    /** How long a batch waits for another program's batch to finish. */
    static constexpr int kBatchWaitMs = 60000;
    /** How long a single statement waits for the database to be free. */
    static constexpr int kStatementWaitMs = 5000;

    /**
     * Opens `path`; on failure returns null, the reason in the system's words in
     * `message` and what it was in `failure`.
     */
    static std::unique_ptr<OrderDatabase> open(const QString& path, QString* message,
                                               StoreFailure* failure = nullptr);

    ~OrderDatabase();
    OrderDatabase(const OrderDatabase&) = delete;
    OrderDatabase& operator=(const OrderDatabase&) = delete;

    QSqlDatabase connection() const { return QSqlDatabase::database(m_connectionName, false); }

    /** The raw handle, for the few hot queries that read a million ids. */
    sqlite3* handle() const;

    /**
     * Runs `work` as one write transaction, begun at once (BEGIN IMMEDIATE) so
     * that two programs never interleave their batches: the second waits for the
     * first. All of it lands, or none of it when it returns false; then
     * `lastFailure` says why, when the database refused. Inside an open
     * OrderTransaction it runs as a savepoint of it.
     */
    bool inTransaction(const std::function<bool()>& work);

    /** Whether a transaction is open on the connection (an OrderTransaction). */
    bool inOpenTransaction() const;

    /** The steps of a write transaction, for a batch that spans many calls. */
    bool beginBatch();
    bool commitBatch();
    void rollbackBatch();

    /** Remembers a refusal of the database; a damaged file is remembered for good. */
    void note(const QSqlError& error);
    void noteCode(int sqliteCode);

    /** The last refusal noted (none after a batch that landed). */
    StoreFailure lastFailure() const { return m_lastFailure; }
    /** The message for the last refusal, naming the file. */
    QString failureText() const { return m_lastFailure.text(m_path); }
    /** Whether SQLite has called the file damaged since it was opened. */
    bool corruptionFound() const { return m_corrupt; }

    QString path() const { return m_path; }

private:
    OrderDatabase(QString connectionName, QString path);

    QString m_connectionName;
    QString m_path;
    StoreFailure m_lastFailure;
    bool m_corrupt = false;
};

} // namespace mldd
