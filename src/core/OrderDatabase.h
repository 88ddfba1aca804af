#pragma once

#include "SqlDialect.h"
#include "StoreAddress.h"
#include "StoreFailure.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

struct sqlite3;

namespace mldd {

class OrderIndexCheck;

/**
 * The order store: the data folder's SQLite file, or a PostgreSQL database that
 * several stations share. Opened once, checked, created from the schema when
 * missing, upgraded at every open. A file that is no database, a damaged one or
 * a server database of another program is never touched.
 */
class OrderDatabase {
public:
    /**
     * A store up to this size is checked whole at every open (a few
     * milliseconds); a bigger one only has its header and schema read then,
     * and is checked whole by the daily check (StoreCheck).
     */
    static constexpr qint64 kWholeCheckBytes = 4 * 1024 * 1024;
    /**
     * The schema's version (SQLite's user_version). 1: the captured-number
     * lists live in the store, moved in from the data folder's files.
     */
    static constexpr int kSchemaVersion = 1;
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
    static std::unique_ptr<OrderDatabase> open(const StoreAddress& address, QString* message,
                                               StoreFailure* failure = nullptr);

    ~OrderDatabase();
    OrderDatabase(const OrderDatabase&) = delete;
    OrderDatabase& operator=(const OrderDatabase&) = delete;

    QSqlDatabase connection() const { return QSqlDatabase::database(m_connectionName, false); }

    /** The raw SQLite handle, for the few hot queries that read a million ids; null on a server. */
    sqlite3* handle() const;

    const SqlDialect& dialect() const { return m_dialect; }
    bool isServer() const { return m_dialect.isServer(); }

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

    /**
     * Begins reading the orders table's indexes against it on a connection and a
     * thread of their own: on a big store that takes seconds, which the first batch
     * then waits for only while it runs. The window begins it behind its first page;
     * without it, the first batch reads them itself.
     */
    void beginIndexCheck();

    /** The steps of a write transaction, for a batch that spans many calls. */
    bool beginBatch();
    bool commitBatch();
    void rollbackBatch();

    /** Remembers a refusal of the database; a damaged file is remembered for good. */
    void note(const QSqlError& error);
    void noteCode(int sqliteCode);
    /** Remembers that an order was changed by another station since it was read. */
    void noteChangedElsewhere(const QString& orderSign);

    /** The last refusal noted (none after a batch that landed). */
    StoreFailure lastFailure() const { return m_lastFailure; }
    /** The message for the last refusal, naming the file. */
    QString failureText() const { return m_lastFailure.text(m_path); }
    /** The message for a refusal met by a query of the caller's own. */
    QString failureText(const QSqlError& error) const;
    /** Whether SQLite has called the file damaged since it was opened. */
    bool corruptionFound() const { return m_corrupt; }

    /** The file, or the server's address without its password. */
    QString path() const { return m_path; }

private:
    OrderDatabase(QString connectionName, QString path, SqlDialect dialect);

    static std::unique_ptr<OrderDatabase> openFile(const QString& path, QString* message,
                                                   StoreFailure* failure);
    static std::unique_ptr<OrderDatabase> openServer(const StoreAddress& address, QString* message,
                                                     StoreFailure* failure);
    StoreFailure failureOf(const QSqlError& error) const;
    /** A connection to the server that was lost is opened again before the next batch. */
    bool reconnectIfLost();
    /**
     * Inside a begun batch: checks the orders table's indexes against it and
     * rebuilds a stale one, so that no batch looks up or writes through a
     * damaged index; false, with the damage noted, when the table itself is
     * damaged. The first batch takes what beginIndexCheck found, waiting for
     * it if need be; done again only after another connection changed the file
     * and left it other than as this program's batches leave it (StoreSeal).
     */
    bool indexesSound();
    /** Whether the indexes were found sound and only this connection wrote since. */
    bool soundAsLeft() const;
    /** SQLite's count of the changes other connections made to the file. */
    std::optional<qint64> dataVersion() const;

    QString m_connectionName;
    QString m_path;
    SqlDialect m_dialect;
    /** Whether a batch is open, on a server, where no handle says so. */
    bool m_batchOpen = false;
    StoreFailure m_lastFailure;
    bool m_corrupt = false;
    /** SQLite's data_version when the indexes were last found sound. */
    std::optional<qint64> m_indexesSoundAt;
    /** The indexes' check begun at the start, until the first batch took its finding. */
    std::unique_ptr<OrderIndexCheck> m_startCheck;
    /** SQLite's data_version when that check began. */
    std::optional<qint64> m_startCheckAt;
};

} // namespace mldd
