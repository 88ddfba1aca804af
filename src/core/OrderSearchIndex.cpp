#include "OrderSearchIndex.h"

#include "OrderCursor.h"
#include "OrderDatabase.h"
#include "SearchGrams.h"
#include "StoreSeal.h"

#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace mldd {

namespace {

/**
 * The columns of the search box's fields, each held apart so that a search
 * asks only its field's. The server's trigram indexes keep to the short ones
 * that name an order, a buyer or a sender.
 */
const QStringList kColumns{
    QStringLiteral("buy_id"),          QStringLiteral("my_id"),
    QStringLiteral("delivery"),        QStringLiteral("order_sign"),
    QStringLiteral("buy_name"),        QStringLiteral("buy_phone1"),
    QStringLiteral("buy_phone2"),      QStringLiteral("buy_zipcode"),
    QStringLiteral("buy_address"),     QStringLiteral("buy_address_sheng"),
    QStringLiteral("buy_address_shi"), QStringLiteral("buy_address_xian"),
    QStringLiteral("buy_goods"),
};
const QStringList kServerColumns{
    QStringLiteral("buy_id"),      QStringLiteral("my_id"),      QStringLiteral("order_sign"),
    QStringLiteral("buy_name"),    QStringLiteral("buy_phone1"), QStringLiteral("buy_phone2"),
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

const QString kMark = QStringLiteral("(select indexed from order_text_grams_mark)");

/** The full-text table of the grams. */
const QString kGramsTable = QStringLiteral("order_text_grams");

/** Hits that show the first page and tell that there is a next one. */
constexpr qint64 kFirstPageHits = 2 * OrderCursor::kPageSize + 1;

/** How many bytes of grams a write gathers before it writes them out. */
constexpr int kGatheredBytes = 16 * 1024 * 1024;

/**
 * Notes an order the index may hold, with what it holds of it (`held`, the
 * values `values`), unless it was noted since the last catch-up: the first
 * note is the one that tells what the index holds. Written without a conflict
 * clause, which the statement that fires the trigger would override.
 */
QString noting(const QString& id, bool held, const QString& values) {
    return QStringLiteral("insert into order_text_grams_stale (id, held, %1) select %2, %3, %4 "
                          "where %2 <= %5 and not exists (select 1 from order_text_grams_stale "
                          "where id = %2);")
        .arg(columnList(), id, held ? QStringLiteral("1") : QStringLiteral("0"), values, kMark);
}

QString nothing() {
    return QStringList(kColumns.size(), QStringLiteral("null")).join(QStringLiteral(", "));
}

QStringList sqliteStatements() {
    QStringList statements;
    // The indexes of earlier versions: trigrams of the short columns only, then
    // grams with the columns they stood in, then grams tagged with their column
    // but runs of letters and digits only three long. A version before this one
    // that opens the store again finds none of its own tables and builds its
    // index anew.
    for (const char* earlier : {"order_search", "order_grams", "order_column_grams"}) {
        const QString name = QLatin1String(earlier);
        for (const char* trigger : {"_delete", "_update"})
            statements.append(QStringLiteral("drop trigger if exists ") + name +
                              QLatin1String(trigger));
        for (const char* table : {"", "_mark", "_stale"})
            statements.append(QStringLiteral("drop table if exists ") + name +
                              QLatin1String(table));
    }
    // Only which orders hold a gram: the search asks for all of a key's grams in
    // a column, and LIKE then checks that they stand together. The grams carry
    // their column, so the index needs neither positions nor columns of its own.
    // It keeps no copy of the texts (content=''): an order leaves it by the
    // "delete" command with the values it went in with.
    statements.append(QStringLiteral("create virtual table if not exists %1 using fts5(grams, "
                                     "content='', detail='none', columnsize=0, tokenize='%2')")
                          .arg(kGramsTable, QLatin1String(SearchGrams::kTokenizer)));
    // A batch's grams are gathered in memory up to this size before they are
    // written out: a page of 32,000 orders then lands as one run of the index
    // rather than a dozen small ones that have to be merged again.
    statements.append(QStringLiteral("insert into %1 (%1, rank) select 'hashsize', %2 where not "
                                     "exists (select 1 from %1_config where k = 'hashsize')")
                          .arg(kGramsTable)
                          .arg(kGatheredBytes));
    // Indexed orders changed or deleted since: held = 1 when the index holds the
    // values given, 0 when it holds nothing of the id (a row moved to it by an edit of its id).
    statements.append(
        QStringLiteral("create table if not exists order_text_grams_stale (id integer "
                       "primary key, held integer not null, %1)")
            .arg(columnList()));
    // An index without its mark (new, or its mark lost) starts empty, with nothing
    // noted: the catch-up takes every order in.
    const QString markless =
        QStringLiteral(" where not exists (select 1 from sqlite_master where name = '%1_mark')")
            .arg(kGramsTable);
    statements.append(QStringLiteral("delete from %1_stale").arg(kGramsTable) + markless);
    statements.append(QStringLiteral("insert into %1 (%1) select 'delete-all'").arg(kGramsTable) +
                      markless);
    // Every order up to this id is in the index, as it was when it went in or
    // as noted in order_text_grams_stale.
    statements.append(QStringLiteral(
        "create table if not exists order_text_grams_mark (indexed integer not null)"));
    statements.append(QStringLiteral("insert into order_text_grams_mark (indexed) select 0 where "
                                     "not exists (select 1 from order_text_grams_mark)"));
    // No trigger runs on a new order (one would give every insert of a batch a
    // statement journal): its id is past the mark, as AUTOINCREMENT never gives an id
    // twice, and the batch takes it in before it commits. An id given again by hand
    // after a delete is noted by the delete until then.
    statements.append(
        QStringLiteral("create trigger if not exists order_text_grams_delete after "
                       "delete on order_data when old.id <= %1 begin %2 end")
            .arg(kMark, noting(QStringLiteral("old.id"), true, valuesOf(QStringLiteral("old")))));
    // An order is saved with all its columns; it is noted only when a searched one changed.
    QStringList changed{QStringLiteral("old.id is not new.id")};
    for (const QString& column : kColumns)
        changed.append(QStringLiteral("old.%1 is not new.%1").arg(column));
    statements.append(
        QStringLiteral(
            "create trigger if not exists order_text_grams_update after update of id, %1 "
            "on order_data when %2 begin %3 %4 end")
            .arg(columnList(), changed.join(QStringLiteral(" or ")),
                 noting(QStringLiteral("old.id"), true, valuesOf(QStringLiteral("old"))),
                 noting(QStringLiteral("new.id"), false, nothing())));
    return statements;
}

/** The catch-up, in one transaction; its one value is the step. */
QStringList catchUpStatements() {
    const QString text = SearchGrams::storedText(kColumns);
    return {
        QStringLiteral("insert into %1 (%1, rowid, grams) select 'delete', id, %2 from "
                       "order_text_grams_stale where held = 1")
            .arg(kGramsTable, text),
        QStringLiteral("insert into %1 (rowid, grams) select id, %2 from order_data "
                       "where id in (select id from order_text_grams_stale)")
            .arg(kGramsTable, text),
        QStringLiteral("delete from order_text_grams_stale"),
        QStringLiteral("insert into %1 (rowid, grams) select id, %2 from order_data "
                       "where id > %3 order by id limit ?")
            .arg(kGramsTable, text, kMark),
        QStringLiteral("update order_text_grams_mark set indexed = coalesce((select max(id) from "
                       "(select id from order_data where id > %1 order by id limit ?)), indexed)")
            .arg(kMark),
    };
}

QStringList serverStatements() {
    // pg_trgm is a trusted extension: the database's owner may add it. Where the
    // server has none or refuses it, the search reads every order, as before.
    QStringList statements{QStringLiteral("create extension if not exists pg_trgm")};
    for (const QString& column : kServerColumns)
        statements.append(QStringLiteral("create index if not exists order_search_%1 on "
                                         "order_data using gin (%1 gin_trgm_ops)")
                              .arg(column));
    return statements;
}

/** An FTS5 string: the text in double quotes, its own double quotes doubled. */
QString quoted(QString text) {
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

/**
 * The "from … where dj_type >= 0" of the first `rows` entries of the list, each
 * joined to its order. The stretch is read lazily as the outer loop (a cross
 * join keeps it outside), so that a query with a limit stops within it.
 */
QString listHead(qint64 rows) {
    return QStringLiteral("from (select id as listed from order_data where dj_type >= 0 order by "
                          "NumSign desc, id desc limit %1) cross join order_data on id = listed "
                          "where dj_type >= 0")
        .arg(rows);
}

/**
 * How far the index lags behind: the ids past its mark, or none when it cannot
 * be read. Past `limit` (when not -1) the orders themselves are counted, up to
 * it: the ids of orders deleted before the index took them in are never given
 * again, and a long run of them would make a short backlog look long for ever.
 * Counting reads the orders' rows, so it is done only then.
 */
std::optional<qint64> lag(const OrderDatabase& database, qint64 limit, bool* stale) {
    QSqlQuery query(database.connection());
    if (!query.exec(QStringLiteral("select (select coalesce(max(id), 0) from order_data) - "
                                   "indexed, exists (select 1 from order_text_grams_stale) from "
                                   "order_text_grams_mark")) ||
        !query.next())
        return std::nullopt;
    *stale = query.value(1).toBool();
    const qint64 ids = query.value(0).toLongLong();
    if (limit < 0 || ids <= limit)
        return ids;
    query.prepare(QStringLiteral("select count(*) from (select 1 from order_data where id > %1 "
                                 "limit ?)")
                      .arg(kMark));
    query.addBindValue(limit);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

/** Takes in up to `step` orders past the mark and renews the noted ones, in the open transaction.
 */
bool takeIn(OrderDatabase& database, qint64 step) {
    QSqlQuery query(database.connection());
    for (const QString& statement : catchUpStatements()) {
        query.prepare(statement);
        if (statement.contains(u'?'))
            query.addBindValue(step);
        if (!query.exec()) {
            database.note(query.lastError());
            return false;
        }
    }
    return true;
}

/**
 * Runs one step of the catch-up in a transaction of its own, waiting at most
 * `waitMs` for the store to be free; whether it landed.
 */
bool writeCatchUp(OrderDatabase& database, qint64 step, int waitMs) {
    sqlite3* raw = database.handle();
    QSqlQuery query(database.connection());
    sqlite3_busy_timeout(raw, waitMs);
    const bool begun = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    sqlite3_busy_timeout(raw, OrderDatabase::kStatementWaitMs);
    if (!begun) {
        database.note(query.lastError());
        return false;
    }
    if (takeIn(database, step) && query.exec(QStringLiteral("COMMIT")))
        return true;
    database.note(query.lastError());
    query.exec(QStringLiteral("ROLLBACK"));
    return false;
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
                                     "('%1', 'order_text_grams_mark', 'order_text_grams_stale')")
                          .arg(kGramsTable)) &&
           query.next() && query.value(0).toInt() == 3;
}

bool OrderSearchIndex::catchUp(OrderDatabase& database, qint64 step) {
    if (!present(database))
        return false;
    bool stale = false;
    std::optional<qint64> behind = lag(database, step + 1, &stale);
    if (!behind)
        return false;
    // Inside a batch of the caller's the index waits: the batch takes its orders in as it commits.
    if ((*behind > 0 || stale) && !database.inOpenTransaction()) {
        writeCatchUp(database, step, 0);
        behind = lag(database, step + 1, &stale);
    }
    return behind && *behind <= step;
}

bool OrderSearchIndex::takeInBatch(OrderDatabase& database) {
    if (!present(database))
        return true;
    bool stale = false;
    const std::optional<qint64> behind = lag(database, kBatchTakesIn + 1, &stale);
    // Far behind, the orders of others wait for the catch-up at the next start.
    if (!behind || (*behind == 0 && !stale) || *behind > kBatchTakesIn)
        return true;
    return takeIn(database, kBatchTakesIn);
}

std::optional<qint64> OrderSearchIndex::behind(const OrderDatabase& database) {
    bool stale = false;
    if (!present(database))
        return std::nullopt;
    const std::optional<qint64> ids = lag(database, -1, &stale);
    if (!ids)
        return std::nullopt;
    return *ids + (stale ? 1 : 0);
}

bool OrderSearchIndex::bringUpToDate(OrderDatabase& database,
                                     const std::function<bool(qint64, qint64)>& progress) {
    const std::optional<qint64> first = behind(database);
    if (!first)
        return false;
    if (*first == 0)
        return true;
    const bool told = progress && *first >= kToldBacklog;
    qint64 left = *first;
    while (left > 0) {
        if (told && !progress(*first - left, *first))
            return false;
        if (!writeCatchUp(database, kCatchUpStep, OrderDatabase::kBatchWaitMs))
            return false;
        left = behind(database).value_or(0);
    }
    if (told)
        progress(*first, *first);
    return true;
}

bool OrderSearchIndex::mergeParts(sqlite3* db, const QString& path, int waitMs) {
    const auto number = [db](const QString& sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr);
        const qint64 value =
            sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
        sqlite3_finalize(statement);
        return value;
    };
    if (number(QStringLiteral("select count(*) from sqlite_master where name = '%1'")
                   .arg(kGramsTable)) == 0)
        return true;
    if (!SearchGrams::registerOn(db))
        return false;
    sqlite3_busy_timeout(db, waitMs);
    // The first step starts merging every part into one, even parts of different
    // sizes; the next ones go on with it. A step that changes fewer than two rows
    // found nothing left to merge. The steps are as many as the store's size asks,
    // so that batches landing meanwhile cannot keep the merge going.
    const qint64 steps = number(QStringLiteral("pragma page_count")) / kMergedPages + 2;
    for (qint64 step = 0; step < steps; ++step) {
        // A store this program left as it found it sound stays so: a merge touches
        // none of the orders' indexes, and the window's next batch need not look at them.
        const bool sealed = StoreSeal::intact(path);
        const int changesBefore = sqlite3_total_changes(db);
        const QByteArray merge =
            QStringLiteral("BEGIN IMMEDIATE; insert into %1 (%1, rank) values ('merge', %2); "
                           "COMMIT;")
                .arg(kGramsTable)
                .arg(step == 0 ? -kMergedPages : kMergedPages)
                .toUtf8();
        if (sqlite3_exec(db, merge.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
        if (sealed)
            StoreSeal::seal(path);
        if (sqlite3_total_changes(db) - changesBefore < 2)
            break;
    }
    return true;
}

void OrderSearchIndex::startOver(OrderDatabase& database) {
    if (!present(database))
        return;
    database.inTransaction([&] {
        QSqlQuery query(database.connection());
        return query.exec(
                   QStringLiteral("insert into %1 (%1) values ('delete-all')").arg(kGramsTable)) &&
               query.exec(QStringLiteral("update order_text_grams_mark set indexed = 0")) &&
               query.exec(QStringLiteral("delete from order_text_grams_stale"));
    });
}

/**
 * How many orders hold a key's grams in the searched columns, read from the
 * index's lists alone (never an order), each only as far as a choice needs.
 */
class OrderSearchIndex::Weighing {
public:
    Weighing(const OrderDatabase& database, const QStringList& columns, const QString& key)
        : m_columns(columns), m_grams(SearchGrams::ofKey(key)), m_all(matchOf(columns, m_grams)),
          m_held(database.connection()), m_heldUpTo(database.connection()) {
        // The newest id stands for the store's size, and with the oldest tells where its
        // middle lies: both are read at once, where a count walks.
        QSqlQuery ends(database.connection());
        if (!ends.exec(QStringLiteral("select (select coalesce(max(id), 0) from order_data), "
                                      "(select coalesce(min(id), 0) from order_data)")) ||
            !ends.next()) {
            m_all.reset();
        } else {
            m_newest = ends.value(0).toLongLong();
            m_oldest = ends.value(1).toLongLong();
        }
        m_held.prepare(
            QStringLiteral("select count(*) from (select rowid from %1 where %1 match ? limit ?)")
                .arg(kGramsTable));
        // The index seeks to the ids: only that stretch of each gram's list is read.
        m_heldUpTo.prepare(QStringLiteral("select count(*) from (select rowid from %1 where %1 "
                                          "match ? and rowid > ? and rowid <= ? limit ?)")
                               .arg(kGramsTable));
    }

    /** Whether the index holds the key's grams in these columns. */
    bool holds() const { return m_all.has_value(); }

    /**
     * The grams held by fewer than `below` orders each, looked up; none when no
     * gram is that rare. Each gram is read only that far: for the keys the index
     * serves best, choosing costs little in a store of any size.
     */
    std::optional<Candidates> rareGrams(qint64 below) {
        qint64 fewest = 0;
        const QStringList rare = rareBelow(below, &fewest);
        if (rare.isEmpty())
            return std::nullopt;
        return Candidates{*matchOf(m_columns, rare), fewest, Plan::LookUp};
    }

    /** lookUp's candidates: the rare grams' when there are any, else as weighed over the store. */
    std::optional<Candidates> candidates() {
        if (std::optional<Candidates> rare = rareGrams(walkedFrom(m_newest)))
            return rare;
        return overStore();
    }

    /** Whether the kNewestWeighed newest orders hold all the grams two pages' worth of times. */
    bool commonAmongNewest() { return heldAmongNewest(*m_all, kFirstPageHits) >= kFirstPageHits; }

    /**
     * The candidates weighed over the whole store: the grams held by fewer than the
     * common limit are asked for (a common one would be read through to its end and
     * rule out little that LIKE does not), or all of them when they are rare together.
     */
    std::optional<Candidates> overStore() {
        const qint64 most = std::clamp(m_newest / kCommonShare, kFewLookedUp, kMostLookedUp);
        qint64 fewest = 0;
        const QStringList rare = rareBelow(most, &fewest, Commonness::Glanced);
        std::optional<QString> match;
        std::optional<qint64> count;
        if (!rare.isEmpty()) {
            match = matchOf(m_columns, rare);
            count = rare.size() == 1 ? fewest : heldBy(*match, most);
        } else if (m_grams.size() > 1) {
            count = heldBy(*m_all, most);
            if (count && *count < most)
                match = m_all;
        }
        if (!match || !count)
            return std::nullopt;
        return Candidates{*match, *count,
                          *count < walkedFrom(m_newest) ? Plan::LookUp : Plan::WalkList};
    }

private:
    /** Whether a glance at two stretches of the store may tell a common gram (commonThroughout). */
    enum class Commonness { Counted, Glanced };

    /** How many of the kNewestWeighed orders up to id `last` hold what `match` asks for, up to
     * `limit`. */
    qint64 heldUpTo(qint64 last, const QString& match, qint64 limit) {
        m_heldUpTo.bindValue(0, match);
        m_heldUpTo.bindValue(1, last - kNewestWeighed);
        m_heldUpTo.bindValue(2, last);
        m_heldUpTo.bindValue(3, limit);
        return m_heldUpTo.exec() && m_heldUpTo.next() ? m_heldUpTo.value(0).toLongLong() : 0;
    }

    qint64 heldAmongNewest(const QString& match, qint64 limit) {
        return heldUpTo(m_newest, match, limit);
    }

    /**
     * Whether a gram is held by twice the common share of the newest orders and of
     * as many in the middle of the store: in a store many times their number it is
     * then held by more than one order in kCommonShare, and its list need not be
     * read that far to tell. The middle keeps a word new in the newest orders from
     * passing for a common one.
     */
    bool commonThroughout(const QString& match) {
        constexpr qint64 twiceCommon = 2 * kNewestWeighed / kCommonShare;
        return m_newest - m_oldest >= kNewestWeighed * kCommonShare &&
               heldAmongNewest(match, twiceCommon) >= twiceCommon &&
               heldUpTo((m_oldest + m_newest) / 2, match, twiceCommon) >= twiceCommon;
    }

    /** How many orders hold what `match` asks for, counted up to `limit`. */
    std::optional<qint64> heldBy(const QString& match, qint64 limit) {
        m_held.bindValue(0, match);
        m_held.bindValue(1, limit);
        if (!m_held.exec() || !m_held.next())
            return std::nullopt;
        return m_held.value(0).toLongLong();
    }

    /** The grams held by fewer than `limit` orders each, and the fewest one of them is held by. */
    QStringList rareBelow(qint64 limit, qint64* fewest,
                          Commonness commonness = Commonness::Counted) {
        QStringList rare;
        *fewest = limit;
        for (const QString& gram : m_grams) {
            const QString match = *matchOf(m_columns, {gram});
            if (commonness == Commonness::Glanced && commonThroughout(match))
                continue;
            const std::optional<qint64> held = heldBy(match, limit);
            if (held && *held < limit) {
                rare.append(gram);
                *fewest = std::min(*fewest, *held);
            }
        }
        return rare;
    }

    QStringList m_columns;
    QStringList m_grams;
    std::optional<QString> m_all;
    /** How many orders hold a match, up to a limit. */
    QSqlQuery m_held;
    /** How many of a stretch of orders hold a match, up to a limit. */
    QSqlQuery m_heldUpTo;
    qint64 m_newest = 0;
    qint64 m_oldest = 0;
};

SqlCondition OrderSearchIndex::searched(const OrderDatabase& database, const QStringList& columns,
                                        const QString& key) {
    Weighing weighing(database, columns, key);
    if (!weighing.holds())
        return contains(columns, key, std::nullopt);
    if (const std::optional<Candidates> rare = weighing.rareGrams(kFewLookedUp))
        return contains(columns, key, rare);
    if (!weighing.commonAmongNewest())
        return contains(columns, key, weighing.candidates());
    SqlCondition condition = contains(columns, key, std::nullopt);
    condition.firstStretchRows = kHeadStretch;
    condition.firstStretch = listHead(kHeadStretch) + condition.sql;
    condition.settle = [columns, key](const OrderDatabase& store) {
        return contains(columns, key, lookUp(store, columns, key));
    };
    return condition;
}

std::optional<OrderSearchIndex::Candidates> OrderSearchIndex::lookUp(const OrderDatabase& database,
                                                                     const QStringList& columns,
                                                                     const QString& key) {
    Weighing weighing(database, columns, key);
    return weighing.holds() ? weighing.candidates() : std::nullopt;
}

qint64 OrderSearchIndex::walkedFrom(qint64 orders) {
    return std::max<qint64>(
        1, qint64(std::sqrt(double(OrderCursor::kPageSize) * double(orders) / kLookUpSteps)));
}

std::optional<QString> OrderSearchIndex::matchOf(const QStringList& columns,
                                                 const QStringList& grams) {
    const bool indexed = std::all_of(columns.begin(), columns.end(), [](const QString& column) {
        return kColumns.contains(column);
    });
    if (!indexed || grams.isEmpty())
        return std::nullopt;
    // All of the grams in one of the columns.
    QStringList inAnyColumn;
    for (const QString& column : columns) {
        QStringList inColumn;
        for (const QString& gram : grams)
            inColumn.append(quoted(SearchGrams::inColumn(int(kColumns.indexOf(column)), gram)));
        inAnyColumn.append(u'(' + inColumn.join(QStringLiteral(" AND ")) + u')');
    }
    return inAnyColumn.join(QStringLiteral(" OR "));
}

SqlCondition OrderSearchIndex::contains(const QStringList& columns, const QString& key,
                                        bool alongIndex, Plan plan, qint64 count) {
    const std::optional<QString> match =
        alongIndex ? matchOf(columns, SearchGrams::ofKey(key)) : std::nullopt;
    return contains(columns, key,
                    match ? std::optional<Candidates>(Candidates{*match, count, plan})
                          : std::nullopt);
}

SqlCondition OrderSearchIndex::contains(const QStringList& columns, const QString& key,
                                        const std::optional<Candidates>& candidates) {
    // Alternatives are grouped, so that "dj_type >= 0" still holds for all of them.
    SqlCondition condition;
    QStringList alternatives;
    for (const QString& column : columns) {
        alternatives.append(column + QStringLiteral(" like ? escape '\\'"));
        condition.values.append(SqlCondition::containsPattern(key));
    }
    condition.sql = QStringLiteral(" and (") + alternatives.join(QStringLiteral(" or ")) + u')';
    if (!candidates)
        return condition;
    // The orders whose columns hold the grams asked for, found along the
    // index, and those the index does not hold as they are now: past its mark
    // or noted since. The LIKE conditions then keep those that hold the key.
    // An id list rather than a join: SQLite would build a Bloom filter over every
    // order for a join, reading the whole store to look a few orders up.
    const auto among = [](const QString& id) {
        return QStringLiteral("%1 in (select rowid from %2 where %2 match ? union select id from "
                              "order_text_grams_stale union select id from order_data where id "
                              "> %3)")
            .arg(id, kGramsTable, kMark);
    };
    const QString likes = condition.sql;
    condition.sql = QStringLiteral(" and ") + among(QStringLiteral("id")) + likes;
    // The list's index is walked in list order, each entry's id is checked against
    // the candidates listed once, and only a candidate's row is read for LIKE. The
    // walk stops where looking the candidates up would have been done. Counts and
    // positions keep looking the candidates up, which costs what they hold.
    if (candidates->plan == Plan::WalkList) {
        condition.firstStretchRows = std::max<qint64>(candidates->count, 1) * kLookUpSteps;
        condition.firstStretch = listHead(condition.firstStretchRows) + QStringLiteral(" and ") +
                                 among(QStringLiteral("listed")) + likes;
    }
    condition.values.prepend(candidates->match);
    return condition;
}

} // namespace mldd
