#pragma once

#include <QByteArray>
#include <QSqlError>
#include <QStringList>

struct pg_conn;

namespace mldd {

class OrderDatabase;

/**
 * Rows streamed into one table of a server store in a single COPY statement,
 * for a bulk copy that a statement per row, or per hundred rows, makes slow.
 * It runs inside the caller's transaction; while it is open the connection
 * takes no other statement.
 */
class ServerCopy {
public:
    /** `to` must be a store on a server. */
    explicit ServerCopy(OrderDatabase& to);
    /** A copy not finished is ended as failed, so that the connection is usable again. */
    ~ServerCopy();
    ServerCopy(const ServerCopy&) = delete;
    ServerCopy& operator=(const ServerCopy&) = delete;

    /** Starts the copy into `columns` of `table`; false when the server refused. */
    bool begin(const QString& table, const QStringList& columns);

    /** The fields of the current row, in the order of the columns. */
    void addNull();
    void addInteger(qint64 value);
    void addReal(double value);
    void addText(const char* utf8, qsizetype size);
    void addText(const QString& text);
    /** Ends the current row. */
    void endRow();

    /**
     * Sends what is left and waits for the server's answer: true when it took
     * every row sent, no more and no fewer.
     */
    bool finish();

    qint64 rowsSent() const { return m_rows; }
    /** Why the server refused, as its queries report it. */
    QSqlError lastError() const { return m_error; }

private:
    bool send();
    bool refused(const QString& why, const QString& state = {});
    void separate();

    pg_conn* m_connection = nullptr;
    QByteArray m_buffer;
    bool m_open = false;
    bool m_rowStarted = false;
    qint64 m_rows = 0;
    QSqlError m_error;
};

} // namespace mldd
