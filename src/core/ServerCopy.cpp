#include "ServerCopy.h"

#include "OrderDatabase.h"

#include <QSqlDriver>

#include <libpq-fe.h>

namespace mldd {

namespace {

// Rows go to the server in pieces of about this size: fewer calls, little memory.
constexpr qsizetype kSendBytes = 1 << 20;

PGconn* serverHandle(const OrderDatabase& database) {
    const QVariant handle = database.connection().driver()->handle();
    // Qt names the type by its struct or by libpq's typedef, as its version does.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

} // namespace

ServerCopy::ServerCopy(OrderDatabase& to) : m_connection(serverHandle(to)) {
    m_buffer.reserve(kSendBytes + 4096);
}

ServerCopy::~ServerCopy() {
    if (!m_open)
        return;
    PQputCopyEnd(m_connection, "abandoned");
    while (PGresult* result = PQgetResult(m_connection))
        PQclear(result);
}

bool ServerCopy::begin(const QString& table, const QStringList& columns) {
    if (!m_connection)
        return refused(QStringLiteral("no connection to the server"));
    const QByteArray statement =
        QStringLiteral("copy %1 (%2) from stdin").arg(table, columns.join(u',')).toUtf8();
    PGresult* result = PQexec(m_connection, statement.constData());
    const bool started = PQresultStatus(result) == PGRES_COPY_IN;
    if (!started) {
        const QString why = QString::fromUtf8(PQresultErrorMessage(result));
        const QString state = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
        PQclear(result);
        while (PGresult* more = PQgetResult(m_connection))
            PQclear(more);
        return refused(why.isEmpty() ? QString::fromUtf8(PQerrorMessage(m_connection)) : why,
                       state);
    }
    PQclear(result);
    m_open = true;
    m_rows = 0;
    return true;
}

void ServerCopy::separate() {
    if (m_rowStarted)
        m_buffer.append('\t');
    m_rowStarted = true;
}

void ServerCopy::addNull() {
    separate();
    m_buffer.append("\\N", 2);
}

void ServerCopy::addInteger(qint64 value) {
    separate();
    m_buffer.append(QByteArray::number(value));
}

void ServerCopy::addReal(double value) {
    separate();
    // Seventeen digits give back the same double: a 16-digit order number stays exact.
    m_buffer.append(QByteArray::number(value, 'g', 17));
}

void ServerCopy::addText(const char* utf8, qsizetype size) {
    separate();
    // The copy's text format ends fields at tabs and rows at line ends; a backslash escapes.
    qsizetype plain = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = utf8[i];
        const char* escaped = c == '\\'   ? "\\\\"
                              : c == '\t' ? "\\t"
                              : c == '\n' ? "\\n"
                              : c == '\r' ? "\\r"
                                          : nullptr;
        if (!escaped)
            continue;
        m_buffer.append(utf8 + plain, i - plain);
        m_buffer.append(escaped, 2);
        plain = i + 1;
    }
    m_buffer.append(utf8 + plain, size - plain);
}

void ServerCopy::addText(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    addText(bytes.constData(), bytes.size());
}

void ServerCopy::endRow() {
    m_buffer.append('\n');
    m_rowStarted = false;
    ++m_rows;
    if (m_buffer.size() >= kSendBytes)
        send();
}

bool ServerCopy::send() {
    if (m_buffer.isEmpty())
        return true;
    const bool sent = PQputCopyData(m_connection, m_buffer.constData(), int(m_buffer.size())) == 1;
    m_buffer.clear();
    return sent;
}

bool ServerCopy::finish() {
    if (!m_open)
        return false; // begin() said why
    const bool sent = send();
    m_open = false;
    PQputCopyEnd(m_connection, sent ? nullptr : "the rows could not be sent");
    QString why;
    QString state;
    qint64 taken = -1;
    while (PGresult* result = PQgetResult(m_connection)) {
        if (PQresultStatus(result) == PGRES_COMMAND_OK) {
            taken = QByteArray(PQcmdTuples(result)).toLongLong();
        } else if (why.isEmpty()) {
            why = QString::fromUtf8(PQresultErrorMessage(result));
            state = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
        }
        PQclear(result);
    }
    if (!why.isEmpty())
        return refused(why, state);
    if (!sent)
        return refused(QString::fromUtf8(PQerrorMessage(m_connection)));
    if (taken != m_rows)
        return refused(QStringLiteral("服务器只收下了 %1 行中的 %2 行").arg(m_rows).arg(taken));
    return true;
}

bool ServerCopy::refused(const QString& why, const QString& state) {
    m_error = QSqlError(QString(), why.trimmed(), QSqlError::StatementError, state);
    return false;
}

} // namespace mldd
