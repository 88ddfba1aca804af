#pragma once

#include <QSqlQuery>
#include <QVariantList>

#include <memory>
#include <optional>
#include <vector>

struct sqlite3_stmt;

namespace mldd {

class OrderDatabase;

/**
 * One "select id ..." statement, or one write, prepared once and run for many
 * values, as a batch that looks up or writes every row of its input needs:
 * preparing costs more than a look-up along an index, and on SQLite the
 * values go straight to the library.
 */
class PreparedIds {
public:
    PreparedIds(OrderDatabase& database, const QString& sql);
    ~PreparedIds();
    PreparedIds(const PreparedIds&) = delete;
    PreparedIds& operator=(const PreparedIds&) = delete;

    /** The ids the statement gives for these values, in its order. */
    std::vector<qint64> ids(const QVariantList& values);
    /** The same, or none when the statement failed; the store notes why. */
    std::optional<std::vector<qint64>> run(const QVariantList& values);
    /**
     * The first `columns` columns of each row, read as integers (a truth as 0 or
     * 1, Null as 0), row after row.
     */
    std::vector<qint64> numbers(const QVariantList& values, int columns);

    /**
     * Runs an insert that ends with the dialect's returningId(): the new row's
     * id, or none when it failed.
     */
    std::optional<qint64> insert(const QVariantList& values);

    /** Runs a write: how many rows it changed, or none when it failed. */
    std::optional<qint64> write(const QVariantList& values);

private:
    // Appends the first `columns` columns of each row to `result`; false when the statement failed.
    bool walk(const QVariantList& values, std::vector<qint64>& result, int columns = 1);

    OrderDatabase& m_database;
    sqlite3_stmt* m_statement = nullptr;
    qint64 m_changed = 0; // by the last walk on a server
    std::unique_ptr<QSqlQuery> m_query; // on a server
};

} // namespace mldd
