#pragma once

#include <QSqlQuery>
#include <QVariantList>

#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace mldd {

class OrderDatabase;

/**
 * One "select id ..." statement prepared once and run for many values, as a
 * batch that looks up every row of its input needs: preparing costs more
 * than a look-up along an index.
 */
class PreparedIds {
public:
    PreparedIds(OrderDatabase& database, const QString& sql);
    ~PreparedIds();
    PreparedIds(const PreparedIds&) = delete;
    PreparedIds& operator=(const PreparedIds&) = delete;

    /** The ids the statement gives for these values, in its order. */
    std::vector<qint64> ids(const QVariantList& values);

private:
    OrderDatabase& m_database;
    sqlite3_stmt* m_statement = nullptr;
    std::unique_ptr<QSqlQuery> m_query; // on a server
};

} // namespace mldd
