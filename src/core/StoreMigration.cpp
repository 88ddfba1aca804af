#include "StoreMigration.h"

#include "OrderDatabase.h"
#include "ServerCopy.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <functional>

namespace mldd {

namespace {

/** The rows of a query on the station's SQLite file, stepped through once. */
class SourceRows {
public:
    SourceRows(OrderDatabase& from, const QString& sql) : m_from(from) {
        const QByteArray text = sql.toUtf8();
        m_code = sqlite3_prepare_v2(from.handle(), text.constData(), int(text.size()), &m_statement,
                                    nullptr);
    }
    ~SourceRows() { sqlite3_finalize(m_statement); }
    SourceRows(const SourceRows&) = delete;
    SourceRows& operator=(const SourceRows&) = delete;

    bool next() {
        if (m_code != SQLITE_OK && m_code != SQLITE_ROW)
            return false;
        m_code = sqlite3_step(m_statement);
        return m_code == SQLITE_ROW;
    }
    /** False when SQLite stopped before the last row; `error` says why. */
    bool finished(QString* error) const {
        if (m_code == SQLITE_DONE)
            return true;
        m_from.noteCode(m_code);
        if (error)
            *error = m_from.failureText();
        return false;
    }

    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    QString text(int column) const {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
    }
    /** Hands one value to the copy as SQLite holds it: a number stays a number. */
    void copyField(int column, ServerCopy& copy) const {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_NULL:
            copy.addNull();
            break;
        case SQLITE_INTEGER:
            copy.addInteger(integer(column));
            break;
        case SQLITE_FLOAT:
            copy.addReal(sqlite3_column_double(m_statement, column));
            break;
        default: {
            const auto* bytes =
                reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
            copy.addText(bytes, sqlite3_column_bytes(m_statement, column));
        }
        }
    }

private:
    OrderDatabase& m_from;
    sqlite3_stmt* m_statement = nullptr;
    int m_code = SQLITE_OK;
};

bool fail(const OrderDatabase& database, const QSqlError& refusal, QString* error) {
    if (error)
        *error = database.failureText(refusal);
    return false;
}

// Runs statements on the target; false with `error` set at the first it refuses.
bool run(OrderDatabase& to, const QStringList& statements, QString* error) {
    QSqlQuery query(to.connection());
    for (const QString& statement : statements) {
        if (!query.exec(statement))
            return fail(to, query.lastError(), error);
    }
    return true;
}

// The first value of a query on the target, or nothing when it refused.
std::optional<qint64> valueOf(OrderDatabase& to, const QString& sql, QString* error) {
    QSqlQuery query(to.connection());
    query.setForwardOnly(true);
    if (!query.exec(sql) || !query.next()) {
        fail(to, query.lastError(), error);
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

/** One table's copy: the rows of `from` that `keep` accepts go into `to` in one COPY. */
class TableCopy {
public:
    TableCopy(OrderDatabase& from, OrderDatabase& to, const QString& table)
        : m_from(from), m_to(to), m_table(table),
          m_hasId(from.connection().record(table).indexOf(QStringLiteral("id")) >= 0) {}

    /** The names of the source's columns that the target has too, without the id. */
    QStringList sharedColumns() const {
        const QSqlRecord source = m_from.connection().record(m_table);
        const QSqlRecord target = m_to.connection().record(m_table.toLower());
        QStringList names;
        for (int i = 0; i < source.count(); ++i) {
            const QString name = source.fieldName(i);
            if (name.compare(QLatin1String("id"), Qt::CaseInsensitive) != 0 &&
                target.indexOf(name) >= 0)
                names.append(name);
        }
        return names;
    }

    /**
     * Copies every row `keep` accepts, in the source's id order, numbered from
     * `firstId` on when it is given, else by the target; `copied` is told the
     * source row's id and the new id. False when a database refused; `error`
     * says why.
     */
    bool run(const std::function<bool(const SourceRows&)>& keep,
             const std::function<void(qint64, qint64)>& copied, std::optional<qint64> firstId,
             QString* error) {
        const QStringList names = sharedColumns();
        // The courier list has no id; its rows are read as they lie.
        SourceRows rows(m_from, QStringLiteral("select %1, %2 from %3%4")
                                    .arg(m_hasId ? QStringLiteral("id") : QStringLiteral("0"),
                                         names.join(u','), m_table,
                                         m_hasId ? QStringLiteral(" order by id") : QString()));
        ServerCopy copy(m_to);
        if (!copy.begin(m_table,
                        (firstId ? QStringList{QStringLiteral("id")} : QStringList()) + names))
            return fail(m_to, copy.lastError(), error);
        qint64 next = firstId.value_or(0);
        while (rows.next()) {
            if (!keep(rows))
                continue;
            if (firstId)
                copy.addInteger(next);
            for (int i = 1; i <= names.size(); ++i)
                rows.copyField(i, copy);
            copy.endRow();
            copied(rows.integer(0), firstId ? next++ : 0);
        }
        if (!rows.finished(error))
            return false;
        return copy.finish() || fail(m_to, copy.lastError(), error);
    }

    /** The values of one column of the target, and the id of the first row with each. */
    QHash<QString, qint64> targetKeys(const QString& column) const {
        QHash<QString, qint64> keys;
        QSqlQuery query(m_to.connection());
        query.setForwardOnly(true);
        if (query.exec(
                m_hasId
                    ? QStringLiteral("select %1, id from %2 order by id desc").arg(column, m_table)
                    : QStringLiteral("select %1, 0 from %2").arg(column, m_table)))
            while (query.next())
                keys.insert(query.value(0).toString(), query.value(1).toLongLong());
        return keys;
    }

private:
    OrderDatabase& m_from;
    OrderDatabase& m_to;
    QString m_table;
    bool m_hasId;
};

/**
 * The orders' indexes other than the key, taken off for a copy that brings
 * more orders than the target holds: built once over the copied rows, they
 * cost a fraction of being kept up row by row. The copy's transaction holds
 * them, so a failed copy leaves them as they were. The statements that make
 * them again, or nothing when the server refused.
 */
std::optional<QStringList> setIndexesAside(OrderDatabase& to, QString* error) {
    QSqlQuery query(to.connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select indexrelid::regclass::text, pg_get_indexdef(indexrelid) "
                                   "from pg_index where indrelid = 'order_data'::regclass "
                                   "and not indisunique"))) {
        fail(to, query.lastError(), error);
        return std::nullopt;
    }
    QStringList names;
    QStringList made;
    while (query.next()) {
        names.append(query.value(0).toString());
        made.append(query.value(1).toString());
    }
    query.finish();
    if (!names.isEmpty() &&
        !run(to, {QStringLiteral("drop index %1").arg(names.join(u','))}, error))
        return std::nullopt;
    return made;
}

// A merge target's hb_dj_id lists its absorbed orders as "|15|20"; an absorbed
// order's names its target. Ids the copy did not see are left as they were.
QString renumbered(const QString& hbDjId, const QHash<qint64, qint64>& newIds) {
    QStringList parts = hbDjId.split(u'|');
    for (QString& part : parts) {
        bool number = false;
        const qint64 id = part.toLongLong(&number);
        if (number && newIds.contains(id))
            part = QString::number(newIds.value(id));
    }
    return parts.join(u'|');
}

bool copyOrders(OrderDatabase& from, OrderDatabase& to, MigrationCount& count, QString* error) {
    TableCopy orders(from, to, QStringLiteral("order_data"));
    // The copy numbers its orders itself, from the target's next id on: no other
    // station may add orders meanwhile (they still read them).
    const QString sequence = QStringLiteral("pg_get_serial_sequence('order_data', 'id')");
    if (!run(to, {QStringLiteral("lock table order_data in exclusive mode")}, error))
        return false;
    const std::optional<qint64> held =
        valueOf(to, QStringLiteral("select count(*) from order_data"), error);
    SourceRows counted(from, QStringLiteral("select count(*) from order_data"));
    if (!held || (!counted.next() && !counted.finished(error)))
        return false;
    std::optional<QStringList> indexes;
    if (counted.integer(0) > *held && !(indexes = setIndexesAside(to, error)))
        return false;
    const std::optional<qint64> firstId =
        valueOf(to, QStringLiteral("select nextval(%1)").arg(sequence), error);
    if (!firstId)
        return false;

    const QHash<QString, qint64> stored = orders.targetKeys(QStringLiteral("order_sign"));
    const int signColumn = orders.sharedColumns().indexOf(QStringLiteral("order_sign")) + 1;
    const int djTypeColumn = orders.sharedColumns().indexOf(QStringLiteral("dj_type")) + 1;
    const int mergeColumn = orders.sharedColumns().indexOf(QStringLiteral("hb_dj_id")) + 1;
    QHash<qint64, qint64> newIds;
    QList<std::pair<qint64, QString>> merges; // source id and its hb_dj_id
    const bool copied = orders.run(
        [&](const SourceRows& row) {
            const QString sign = stored.isEmpty() ? QString() : row.text(signColumn);
            if (sign.isEmpty() || !stored.contains(sign)) {
                if (row.integer(djTypeColumn) != 0 && !row.text(mergeColumn).isEmpty())
                    merges.append({row.integer(0), row.text(mergeColumn)});
                return true;
            }
            newIds.insert(row.integer(0), stored.value(sign));
            ++count.ordersAlreadyThere;
            return false;
        },
        [&](qint64 source, qint64 id) {
            newIds.insert(source, id);
            ++count.orders;
        },
        firstId, error);
    if (!copied || !run(to,
                        {QStringLiteral("select setval(%1, %2, false)")
                             .arg(sequence)
                             .arg(*firstId + count.orders)},
                        error))
        return false;
    // Merged orders name one another by id: renumbered once every order has its new one,
    // many to a statement.
    constexpr qsizetype kBatch = 500;
    for (qsizetype first = 0; first < merges.size(); first += kBatch) {
        const QList<std::pair<qint64, QString>> slice = merges.mid(first, kBatch);
        QSqlQuery update(to.connection());
        update.prepare(
            QStringLiteral("update order_data set hb_dj_id = v.column2 from (values %1) as v "
                           "where order_data.id = v.column1")
                .arg(QStringList(slice.size(), QStringLiteral("(cast(? as bigint), ?)"))
                         .join(u',')));
        for (const auto& [source, hbDjId] : slice) {
            update.addBindValue(newIds.value(source));
            update.addBindValue(renumbered(hbDjId, newIds));
        }
        if (!update.exec()) {
            if (error)
                *error = to.failureText(update.lastError());
            return false;
        }
    }
    return !indexes || run(to, *indexes, error);
}

// Copies the rows whose `key` the target does not hold yet; how many, or -1.
qint64 copyNewRows(OrderDatabase& from, OrderDatabase& to, const QString& table, const QString& key,
                   QString* error) {
    TableCopy copy(from, to, table);
    const QHash<QString, qint64> known = copy.targetKeys(key);
    const int keyColumn = copy.sharedColumns().indexOf(key) + 1;
    qint64 copied = 0;
    const bool done = copy.run(
        [&](const SourceRows& row) {
            return keyColumn <= 0 || !known.contains(row.text(keyColumn));
        },
        [&](qint64, qint64) { ++copied; }, std::nullopt, error);
    return done ? copied : -1;
}

// The captured numbers: the target's lists gain what they lack. How many, or -1.
qint64 copyCapturedNumbers(OrderDatabase& from, OrderDatabase& to, QString* error) {
    const auto refused = [&](const QSqlError& why) {
        fail(to, why, error);
        return qint64(-1);
    };
    // Copied beside the lists first: a number two stations captured is there once.
    if (!run(to,
             {QStringLiteral("create temporary table incoming_numbers (shop text, order_sign text) "
                             "on commit drop")},
             error))
        return -1;
    SourceRows rows(from, QStringLiteral("select shop, order_sign from captured_numbers"));
    ServerCopy copy(to);
    if (!copy.begin(QStringLiteral("incoming_numbers"),
                    {QStringLiteral("shop"), QStringLiteral("order_sign")}))
        return refused(copy.lastError());
    while (rows.next()) {
        rows.copyField(0, copy);
        rows.copyField(1, copy);
        copy.endRow();
    }
    if (!rows.finished(error))
        return -1;
    if (!copy.finish())
        return refused(copy.lastError());
    // The station's numbers are distinct, and the lock keeps other stations from
    // adding theirs meanwhile: the lists' own numbers are left out by a join, at
    // half the cost of a conflict check on every row.
    QSqlQuery add(to.connection());
    if (!add.exec(QStringLiteral("lock table captured_numbers in exclusive mode")) ||
        !add.exec(QStringLiteral("insert into captured_numbers (shop, order_sign) "
                                 "select shop, order_sign from incoming_numbers as i where not "
                                 "exists (select 1 from captured_numbers as c "
                                 "where c.shop = i.shop and c.order_sign = i.order_sign)")))
        return refused(add.lastError());
    return add.numRowsAffected();
}

qint64 copySettingsRow(OrderDatabase& from, OrderDatabase& to, QString* error) {
    QSqlQuery rows(to.connection());
    if (rows.exec(QStringLiteral("select count(*) from PrintItem_data")) && rows.next() &&
        rows.value(0).toLongLong() > 0)
        return 0;
    TableCopy copy(from, to, QStringLiteral("PrintItem_data"));
    qint64 copied = 0;
    const bool done = copy.run([&](const SourceRows&) { return copied == 0; },
                               [&](qint64, qint64) { ++copied; }, std::nullopt, error);
    return done ? copied : -1;
}

} // namespace

QString MigrationCount::text() const {
    return QStringLiteral("已迁移：订单 %1 条（服务器上已有、没有再复制的 %2 条），发件人 %3 个，"
                          "打印设置 %4 行，快递公司 %5 个，已提取记录 %6 个。")
        .arg(orders)
        .arg(ordersAlreadyThere)
        .arg(profiles)
        .arg(settingsRows)
        .arg(couriers)
        .arg(capturedNumbers);
}

std::optional<MigrationCount> migrateStore(OrderDatabase& from, OrderDatabase& to, QString* error) {
    MigrationCount count;
    const bool done = to.inTransaction([&] {
        if (!copyOrders(from, to, count, error))
            return false;
        count.profiles =
            copyNewRows(from, to, QStringLiteral("my_data"), QStringLiteral("my_idh"), error);
        count.settingsRows = count.profiles < 0 ? -1 : copySettingsRow(from, to, error);
        count.couriers = count.settingsRows < 0
                             ? -1
                             : copyNewRows(from, to, QStringLiteral("Delivery_list"),
                                           QStringLiteral("Delivery_Name"), error);
        count.capturedNumbers = count.couriers < 0 ? -1 : copyCapturedNumbers(from, to, error);
        return count.capturedNumbers >= 0;
    });
    if (!done) {
        if (error && error->isEmpty())
            *error = to.failureText();
        return std::nullopt;
    }
    // A server plans its queries from statistics that a bulk copy leaves stale, and
    // counts the list from its indexes alone once the table's pages are marked all-visible.
    QSqlQuery(to.connection()).exec(QStringLiteral("vacuum analyze"));
    return count;
}

} // namespace mldd
