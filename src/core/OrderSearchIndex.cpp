#include "OrderSearchIndex.h"

#include <algorithm>
#include <string>

namespace mldd {

namespace {

/**
 * The searched columns the index holds: the short ones that name an order, a
 * buyer or a sender. The street address and the goods, several times longer,
 * would more than double what each stored order costs the index (in the store's
 * size and in every capture and import), so their fields read every order.
 */
const QStringList kColumns{
    QStringLiteral("buy_id"),     QStringLiteral("my_id"),      QStringLiteral("delivery"),
    QStringLiteral("order_sign"), QStringLiteral("buy_name"),   QStringLiteral("buy_phone1"),
    QStringLiteral("buy_phone2"), QStringLiteral("buy_zipcode"),
};

/** The row's searched columns as the trigger sees them: "new.buy_id, new.my_id, …". */
QString valuesOf(const QString& row) {
    QStringList values;
    for (const QString& column : kColumns)
        values.append(row + u'.' + column);
    return values.join(QStringLiteral(", "));
}

// The index keeps no copy of the texts (content=''): a row leaves it by the
// "delete" command with the values it went in with, which the triggers have.
QString adding(const QString& row) {
    return QStringLiteral("insert into order_search(rowid, %1) values (%2.id, %3);")
        .arg(kColumns.join(QStringLiteral(", ")), row, valuesOf(row));
}

QString removing(const QString& row) {
    return QStringLiteral(
               "insert into order_search(order_search, rowid, %1) values ('delete', %2.id, %3);")
        .arg(kColumns.join(QStringLiteral(", ")), row, valuesOf(row));
}

QStringList sqliteStatements(bool present) {
    QStringList statements;
    if (!present) {
        // Trigrams without positions or lengths: the search asks for all of a key's
        // trigrams in a column, and LIKE then checks that they stand together.
        statements.append(
            QStringLiteral("create virtual table order_search using fts5(%1, content='', "
                           "detail='column', columnsize=0, tokenize='trigram')")
                .arg(kColumns.join(QStringLiteral(", "))));
        statements.append(QStringLiteral("insert into order_search(rowid, %1) select id, %1 "
                                         "from order_data")
                              .arg(kColumns.join(QStringLiteral(", "))));
        // Each statement that stores an order writes the index a small segment of its own.
        // Merged on the way (automerge), every one of them costs a share of merging the
        // big segments of a year of orders: 0.4 ms an order at a million. The small ones
        // are merged among themselves when sixteen of a size pile up (crisismerge) instead.
        statements.append(QStringLiteral(
            "insert into order_search(order_search, rank) values ('automerge', 0)"));
    }
    statements.append(QStringLiteral("create trigger if not exists order_search_insert after "
                                     "insert on order_data begin %1 end")
                          .arg(adding(QStringLiteral("new"))));
    statements.append(QStringLiteral("create trigger if not exists order_search_delete after "
                                     "delete on order_data begin %1 end")
                          .arg(removing(QStringLiteral("old"))));
    // An order is saved with all its columns; the index changes only when a searched one did.
    QStringList changed{QStringLiteral("old.id is not new.id")};
    for (const QString& column : kColumns)
        changed.append(QStringLiteral("old.%1 is not new.%1").arg(column));
    statements.append(QStringLiteral("create trigger if not exists order_search_update after "
                                     "update of id, %1 on order_data when %2 begin %3 %4 end")
                          .arg(kColumns.join(QStringLiteral(", ")),
                               changed.join(QStringLiteral(" or ")),
                               removing(QStringLiteral("old")), adding(QStringLiteral("new"))));
    return statements;
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

} // namespace

QStringList OrderSearchIndex::statements(const SqlDialect& dialect, bool present) {
    return dialect.isServer() ? serverStatements() : sqliteStatements(present);
}

QString OrderSearchIndex::presenceQuery() {
    return QStringLiteral(
        "select 1 from sqlite_master where type = 'table' and name = 'order_search'");
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
    // index; the LIKE conditions then keep those that hold the key itself.
    QStringList trigrams;
    for (size_t i = 0; i + kShortestKey <= characters.size(); ++i)
        trigrams.append(quoted(QString::fromUcs4(characters.data() + i, kShortestKey)));
    trigrams.removeDuplicates();
    condition.join = QStringLiteral(" join (select rowid as found from order_search where "
                                    "order_search match ?) as searched on searched.found = "
                                    "order_data.id");
    condition.joinValues.append(u'{' + columns.join(u' ') + QStringLiteral("} : (") +
                                trigrams.join(QStringLiteral(" AND ")) + u')');
    return condition;
}

} // namespace mldd
