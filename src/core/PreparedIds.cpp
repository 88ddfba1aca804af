#include "PreparedIds.h"

#include "OrderDatabase.h"

#include <QSqlError>

#include <sqlite3.h>

namespace mldd {

namespace {

bool bindValue(sqlite3_stmt* statement, int index, const QVariant& value) {
    if (value.isNull())
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return sqlite3_bind_int64(statement, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble()) == SQLITE_OK;
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}

} // namespace

PreparedIds::PreparedIds(OrderDatabase& database, const QString& sql) : m_database(database) {
    if (database.isServer()) {
        m_query = std::make_unique<QSqlQuery>(database.connection());
        m_query->setForwardOnly(true);
        if (!m_query->prepare(sql))
            database.note(m_query->lastError());
        return;
    }
    sqlite3* db = database.handle();
    const QByteArray text = sql.toUtf8();
    if (db && sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                 &m_statement, nullptr) != SQLITE_OK) {
        database.noteCode(sqlite3_errcode(db));
        m_statement = nullptr;
    }
}

PreparedIds::~PreparedIds() {
    sqlite3_finalize(m_statement);
}

std::vector<qint64> PreparedIds::ids(const QVariantList& values) {
    std::vector<qint64> result;
    walk(values, result);
    return result;
}

std::optional<std::vector<qint64>> PreparedIds::run(const QVariantList& values) {
    std::vector<qint64> result;
    if (!walk(values, result))
        return std::nullopt;
    return result;
}

std::vector<qint64> PreparedIds::numbers(const QVariantList& values, int columns) {
    std::vector<qint64> result;
    walk(values, result, columns);
    return result;
}

std::optional<qint64> PreparedIds::insert(const QVariantList& values) {
    std::vector<qint64> returned;
    if (!walk(values, returned))
        return std::nullopt;
    if (!m_query)
        return sqlite3_last_insert_rowid(sqlite3_db_handle(m_statement));
    if (returned.empty())
        return std::nullopt;
    return returned.front();
}

std::optional<qint64> PreparedIds::write(const QVariantList& values) {
    std::vector<qint64> returned;
    if (!walk(values, returned))
        return std::nullopt;
    return m_query ? m_changed : qint64(sqlite3_changes64(sqlite3_db_handle(m_statement)));
}

bool PreparedIds::walk(const QVariantList& values, std::vector<qint64>& result, int columns) {
    if (m_query) {
        for (int i = 0; i < values.size(); ++i)
            m_query->bindValue(i, values.at(i));
        if (m_query->exec())
            while (m_query->next())
                for (int column = 0; column < columns; ++column)
                    result.push_back(m_query->value(column).toLongLong());
        const QSqlError error = m_query->lastError();
        m_database.note(error);
        m_changed = m_query->numRowsAffected();
        m_query->finish();
        return !error.isValid();
    }
    if (!m_statement)
        return false;
    bool bound = true;
    for (int i = 0; i < values.size(); ++i)
        bound = bound && bindValue(m_statement, i + 1, values.at(i));
    int code = SQLITE_MISUSE;
    while (bound && (code = sqlite3_step(m_statement)) == SQLITE_ROW)
        for (int column = 0; column < columns; ++column)
            result.push_back(sqlite3_column_int64(m_statement, column));
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    if (code == SQLITE_DONE)
        return true;
    // A damaged page ends the walk early; the list must not pass for complete.
    m_database.noteCode(code);
    return false;
}

} // namespace mldd
