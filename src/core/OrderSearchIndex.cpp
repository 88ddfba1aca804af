#include "OrderSearchIndex.h"

#include "OrderDatabase.h"

#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <string>

namespace mldd {

namespace {

/**
 * The searched columns the index holds: the short ones that name an order, a
 * buyer or a sender. The street address and the goods, several times longer,
 * would more than double what each stored order costs the index, so their
 * fields read every order. So does the courier form: it names a handful of
 * templates, each on a large share of the orders, and the express plan sets it
 * on thousands at once, each of which the index would have to note.
 */
const QStringList kColumns{
    QStringLiteral("buy_id"),     QStringLiteral("my_id"),      QStringLiteral("order_sign"),
    QStringLiteral("buy_name"),   QStringLiteral("buy_phone1"), QStringLiteral("buy_phone2"),
    QStringLiteral("buy_zipcode"),
};

QString columnList() {
    return kColumns.join(QStringLiteral(", "));
}

/** The row's searched columns as a trigger sees them: "old.buy_id, old.my_id, …". */
QString valuesOf(const QString& row) {
    QStringList values;
    for (const QString& column : kColumns)
        values.append(row + u'.' + column);
    return values.join(QStringLiteral(", "));
}

const QString kMark = QStringLiteral("(select indexed from order_search_mark)");

/**
 * Notes an order the index may hold, with what it holds of it (`held`, the
 * values `values`), unless it was noted since the last catch-up: the first
 * note is the one that tells what the index holds. Written without a conflict
 * clause, which the statement that fires the trigger would override.
 */
QString noting(const QString& id, bool held, const QString& values) {
    return QStringLiteral("insert into order_search_stale (id, held, %1) select %2, %3, %4 "
                          "where %2 <= %5 and not exists (select 1 from order_search_stale "
                          "where id = %2);")
        .arg(columnList(), id, held ? QStringLiteral("1") : QStringLiteral("0"), values, kMark);
}

QString nothing() {
    return QStringList(kColumns.size(), QStringLiteral("null")).join(QStringLiteral(", "));
}

QStringList sqliteStatements() {
    QStringList statements;
    // Trigrams without positions or lengths: the search asks for all of a key's
    // trigrams in a column, and LIKE then checks that they stand together. The
    // index keeps no copy of the texts (content=''): an order leaves it by the
    // "delete" command with the values it went in with.
    statements.append(
        QStringLiteral("create virtual table if not exists order_search using fts5(%1, "
                       "content='', detail='column', columnsize=0, tokenize='trigram')")
            .arg(columnList()));
    // Every order up to this id is in the index, as it was when it went in or
    // as noted in order_search_stale.
    statements.append(
        QStringLiteral("create table if not exists order_search_mark (indexed integer not null)"));
    statements.append(QStringLiteral("insert into order_search_mark (indexed) select 0 where "
                                     "not exists (select 1 from order_search_mark)"));
    // Indexed orders changed or deleted since: held = 1 when the index holds the
    // values given, 0 when it holds nothing of the id (a row moved to it by an edit of its id).
    statements.append(QStringLiteral("create table if not exists order_search_stale (id integer "
                                     "primary key, held integer not null, %1)")
                          .arg(columnList()));
    // A new order costs nothing: no trigger runs (one would give every insert of a batch a
    // statement journal), and its id is past the mark, as AUTOINCREMENT never gives an id
    // twice. An id given again by hand after a delete is noted by the delete until the
    // next catch-up, which then takes the new row in.
    statements.append(QStringLiteral("create trigger if not exists order_search_delete after "
                                     "delete on order_data when old.id <= %1 begin %2 end")
                          .arg(kMark, noting(QStringLiteral("old.id"), true,
                                             valuesOf(QStringLiteral("old")))));
    // An order is saved with all its columns; it is noted only when a searched one changed.
    QStringList changed{QStringLiteral("old.id is not new.id")};
    for (const QString& column : kColumns)
        changed.append(QStringLiteral("old.%1 is not new.%1").arg(column));
    statements.append(
        QStringLiteral("create trigger if not exists order_search_update after update of id, %1 "
                       "on order_data when %2 begin %3 %4 end")
            .arg(columnList(), changed.join(QStringLiteral(" or ")),
                 noting(QStringLiteral("old.id"), true, valuesOf(QStringLiteral("old"))),
                 noting(QStringLiteral("new.id"), false, nothing())));
    return statements;
}

/** The catch-up, in one transaction; its one value is the step. */
QStringList catchUpStatements() {
    const QString columns = columnList();
    return {
        QStringLiteral("insert into order_search (order_search, rowid, %1) select 'delete', id, "
                       "%1 from order_search_stale where held = 1")
            .arg(columns),
        QStringLiteral("insert into order_search (rowid, %1) select id, %1 from order_data "
                       "where id in (select id from order_search_stale)")
            .arg(columns),
        QStringLiteral("delete from order_search_stale"),
        QStringLiteral("insert into order_search (rowid, %1) select id, %1 from order_data "
                       "where id > %2 order by id limit ?")
            .arg(columns, kMark),
        QStringLiteral("update order_search_mark set indexed = coalesce((select max(id) from "
                       "(select id from order_data where id > %1 order by id limit ?)), indexed)")
            .arg(kMark),
    };
}

QStringList serverStatements() {
    // pg_trgm is a trusted extension: the database's owner may add it. Where the
    // server has none or refuses it, the search reads every order, as before.
    QStringList statements{QStringLiteral("create extension if not exists pg_trgm")};
    for (const QString& column : kColumns)
        statements.append(QStringLiteral("create index if not exists order_search_%1 on "
                                         "order_data using gin (%1 gin_trgm_ops)")
                              .arg(column));
    return statements;
}

/** An FTS5 string: the text in double quotes, its own double quotes doubled. */
QString quoted(QString text) {
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

/** How many orders the index lags behind (ids past the mark), or none when it cannot be read. */
std::optional<qint64> lag(const OrderDatabase& database, bool* stale) {
    QSqlQuery query(database.connection());
    if (!query.exec(QStringLiteral("select (select coalesce(max(id), 0) from order_data) - "
                                   "indexed, exists (select 1 from order_search_stale) from "
                                   "order_search_mark")) ||
        !query.next())
        return std::nullopt;
    *stale = query.value(1).toBool();
    return query.value(0).toLongLong();
}

/** Runs the catch-up in a transaction of its own, if the store is free at once. */
void writeCatchUp(OrderDatabase& database, qint64 step) {
    sqlite3* raw = database.handle();
    QSqlDatabase db = database.connection();
    QSqlQuery query(db);
    sqlite3_busy_timeout(raw, 0);
    const bool begun = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    sqlite3_busy_timeout(raw, OrderDatabase::kStatementWaitMs);
    if (!begun)
        return;
    for (const QString& statement : catchUpStatements()) {
        query.prepare(statement);
        if (statement.contains(u'?'))
            query.addBindValue(step);
        if (!query.exec()) {
            query.exec(QStringLiteral("ROLLBACK"));
            return;
        }
    }
    if (!query.exec(QStringLiteral("COMMIT")))
        query.exec(QStringLiteral("ROLLBACK"));
}

} // namespace

QStringList OrderSearchIndex::statements(const SqlDialect& dialect) {
    return dialect.isServer() ? serverStatements() : sqliteStatements();
}

bool OrderSearchIndex::present(const OrderDatabase& database) {
    if (database.isServer())
        return false;
    QSqlQuery query(database.connection());
    return query.exec(QStringLiteral("select count(*) from sqlite_master where name in "
                                     "('order_search', 'order_search_mark', "
                                     "'order_search_stale')")) &&
           query.next() && query.value(0).toInt() == 3;
}

bool OrderSearchIndex::catchUp(OrderDatabase& database, qint64 step) {
    if (!present(database))
        return false;
    bool stale = false;
    std::optional<qint64> behind = lag(database, &stale);
    if (!behind)
        return false;
    // Inside a batch of the caller's the index waits: its writes would land or fall with it.
    if ((*behind > 0 || stale) && !database.inOpenTransaction()) {
        writeCatchUp(database, step);
        behind = lag(database, &stale);
    }
    return behind && *behind <= step;
}

void OrderSearchIndex::startOver(OrderDatabase& database) {
    if (!present(database))
        return;
    database.inTransaction([&] {
        QSqlQuery query(database.connection());
        return query.exec(QStringLiteral(
                   "insert into order_search (order_search) values ('delete-all')")) &&
               query.exec(QStringLiteral("update order_search_mark set indexed = 0")) &&
               query.exec(QStringLiteral("delete from order_search_stale"));
    });
}

SqlCondition OrderSearchIndex::contains(const QStringList& columns, const QString& key,
                                        bool alongIndex) {
    // Alternatives are grouped, so that "dj_type >= 0" still holds for all of them.
    SqlCondition condition;
    QStringList alternatives;
    for (const QString& column : columns) {
        alternatives.append(column + QStringLiteral(" like ? escape '\\'"));
        condition.values.append(SqlCondition::containsPattern(key));
    }
    condition.sql = QStringLiteral(" and (") + alternatives.join(QStringLiteral(" or ")) + u')';

    const std::u32string characters = key.toStdU32String();
    const bool indexed = std::all_of(columns.begin(), columns.end(), [](const QString& column) {
        return kColumns.contains(column);
    });
    if (!alongIndex || !indexed || characters.size() < kShortestKey)
        return condition;
    // The orders whose columns hold every trigram of the key, found along the
    // index, and those the index does not hold as they are now: past its mark
    // or noted since. The LIKE conditions then keep those that hold the key.
    QStringList trigrams;
    for (size_t i = 0; i + kShortestKey <= characters.size(); ++i)
        trigrams.append(quoted(QString::fromUcs4(characters.data() + i, kShortestKey)));
    trigrams.removeDuplicates();
    // An id list rather than a join: SQLite would build a Bloom filter over every
    // order for a join, reading the whole store to look a few orders up.
    condition.sql = QStringLiteral(" and id in (select rowid from order_search where "
                                   "order_search match ? union select id from "
                                   "order_search_stale union select id from order_data where "
                                   "id > %1)")
                        .arg(kMark) +
                    condition.sql;
    condition.values.prepend(u'{' + columns.join(u' ') + QStringLiteral("} : (") +
                             trigrams.join(QStringLiteral(" AND ")) + u')');
    return condition;
}

} // namespace mldd
