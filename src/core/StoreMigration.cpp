#include "StoreMigration.h"

#include "CapturedNumbers.h"
#include "OrderDatabase.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

namespace mldd {

namespace {

/** One table's copy: the rows of `from` that `keep` accepts go into `to`, column by column. */
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
     * Copies every row `keep` accepts, many rows to a statement (one statement
     * per row costs a server round trip each); `copied` is told the source
     * row's id and the new id. False when the database refused; `error` says why.
     */
    bool run(const std::function<bool(const QSqlQuery&)>& keep,
             const std::function<void(qint64, qint64)>& copied, QString* error) {
        const QStringList names = sharedColumns();
        QSqlQuery read(m_from.connection());
        read.setForwardOnly(true);
        // The courier list has no id; its rows are read as they lie.
        if (!read.exec(QStringLiteral("select %1, %2 from %3%4")
                           .arg(m_hasId ? QStringLiteral("id") : QStringLiteral("0"),
                                names.join(u','), m_table,
                                m_hasId ? QStringLiteral(" order by id") : QString())))
            return fail(m_from, read.lastError(), error);
        QList<QVariantList> batch;
        while (read.next()) {
            if (!keep(read))
                continue;
            QVariantList row;
            row.reserve(names.size() + 1);
            for (int i = 0; i <= names.size(); ++i)
                row.append(read.value(i));
            batch.append(std::move(row));
            if (batch.size() == kBatch && !insert(names, batch, copied, error))
                return false;
        }
        if (read.lastError().isValid())
            return fail(m_from, read.lastError(), error);
        return insert(names, batch, copied, error);
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
    static constexpr qsizetype kBatch = 200;

    // New ids for `count` rows, taken from the target's own numbering.
    std::optional<QList<qint64>> newIds(qsizetype count, QSqlError* why) const {
        QSqlQuery query(m_to.connection());
        query.setForwardOnly(true);
        const QString table = m_table.toLower();
        QList<qint64> ids;
        if (!m_to.isServer()) {
            if (!query.exec(QStringLiteral("select coalesce(max(id), 0) from %1").arg(table)) ||
                !query.next()) {
                *why = query.lastError();
                return std::nullopt;
            }
            for (qsizetype i = 1; i <= count; ++i)
                ids.append(query.value(0).toLongLong() + i);
            return ids;
        }
        if (!query.exec(QStringLiteral("select nextval(pg_get_serial_sequence('%1', 'id')) "
                                       "from generate_series(1, %2)")
                            .arg(table)
                            .arg(count))) {
            *why = query.lastError();
            return std::nullopt;
        }
        while (query.next())
            ids.append(query.value(0).toLongLong());
        return ids;
    }

    // Stores the rows of `batch` (each the source id, then the shared columns) and empties it.
    bool insert(const QStringList& names, QList<QVariantList>& batch,
                const std::function<void(qint64, qint64)>& copied, QString* error) {
        if (batch.isEmpty())
            return true;
        std::optional<QList<qint64>> ids;
        QSqlError why;
        if (m_hasId && !(ids = newIds(batch.size(), &why)))
            return fail(m_to, why, error);
        const QStringList columns = (m_hasId ? QStringList{QStringLiteral("id")} : QStringList()) +
                                    names;
        const QString row =
            u'(' + QStringList(columns.size(), QStringLiteral("?")).join(u',') + u')';
        QSqlQuery write(m_to.connection());
        write.prepare(QStringLiteral("insert into %1 (%2) values %3")
                          .arg(m_table, columns.join(u','),
                               QStringList(batch.size(), row).join(u',')));
        int index = 0;
        for (qsizetype r = 0; r < batch.size(); ++r) {
            if (ids)
                write.bindValue(index++, ids->at(r));
            for (qsizetype i = 1; i < batch.at(r).size(); ++i)
                write.bindValue(index++, batch.at(r).at(i));
        }
        if (!write.exec())
            return fail(m_to, write.lastError(), error);
        for (qsizetype r = 0; r < batch.size(); ++r)
            copied(batch.at(r).at(0).toLongLong(), ids ? ids->at(r) : 0);
        batch.clear();
        return true;
    }

    static bool fail(const OrderDatabase& database, const QSqlError& refusal, QString* error) {
        if (error)
            *error = database.failureText(refusal);
        return false;
    }

    OrderDatabase& m_from;
    OrderDatabase& m_to;
    QString m_table;
    bool m_hasId;
};

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
    const QHash<QString, qint64> stored = orders.targetKeys(QStringLiteral("order_sign"));
    const int signColumn = orders.sharedColumns().indexOf(QStringLiteral("order_sign")) + 1;
    const int djTypeColumn = orders.sharedColumns().indexOf(QStringLiteral("dj_type")) + 1;
    const int mergeColumn = orders.sharedColumns().indexOf(QStringLiteral("hb_dj_id")) + 1;
    QHash<qint64, qint64> newIds;
    QList<std::pair<qint64, QString>> merges; // source id and its hb_dj_id
    const bool copied = orders.run(
        [&](const QSqlQuery& row) {
            const QString sign = row.value(signColumn).toString();
            if (sign.isEmpty() || !stored.contains(sign)) {
                if (row.value(djTypeColumn).toInt() != 0 &&
                    !row.value(mergeColumn).toString().isEmpty())
                    merges.append({row.value(0).toLongLong(), row.value(mergeColumn).toString()});
                return true;
            }
            newIds.insert(row.value(0).toLongLong(), stored.value(sign));
            ++count.ordersAlreadyThere;
            return false;
        },
        [&](qint64 source, qint64 id) {
            newIds.insert(source, id);
            ++count.orders;
        },
        error);
    if (!copied)
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
    return true;
}

// Copies the rows whose `key` the target does not hold yet; how many, or -1.
qint64 copyNewRows(OrderDatabase& from, OrderDatabase& to, const QString& table, const QString& key,
                   QString* error) {
    TableCopy copy(from, to, table);
    const QHash<QString, qint64> known = copy.targetKeys(key);
    const int keyColumn = copy.sharedColumns().indexOf(key) + 1;
    qint64 copied = 0;
    const bool done = copy.run(
        [&](const QSqlQuery& row) {
            return keyColumn <= 0 || !known.contains(row.value(keyColumn).toString());
        },
        [&](qint64, qint64) { ++copied; }, error);
    return done ? copied : -1;
}

// The captured numbers: the target's lists gain what they lack. How many, or -1.
qint64 copyCapturedNumbers(OrderDatabase& from, OrderDatabase& to, QString* error) {
    QSqlQuery read(from.connection());
    read.setForwardOnly(true);
    QHash<QString, QStringList> lists;
    if (read.exec(QStringLiteral("select shop, order_sign from captured_numbers"))) {
        while (read.next())
            lists[read.value(0).toString()].append(read.value(1).toString());
    }
    if (read.lastError().isValid()) {
        if (error)
            *error = from.failureText(read.lastError());
        return -1;
    }
    CapturedNumbers target(to);
    qint64 added = 0;
    for (auto it = lists.cbegin(); it != lists.cend(); ++it) {
        const qint64 more = target.add(it.key(), it.value());
        if (more < 0) {
            if (error)
                *error = to.failureText();
            return -1;
        }
        added += more;
    }
    return added;
}

qint64 copySettingsRow(OrderDatabase& from, OrderDatabase& to, QString* error) {
    QSqlQuery rows(to.connection());
    if (rows.exec(QStringLiteral("select count(*) from PrintItem_data")) && rows.next() &&
        rows.value(0).toLongLong() > 0)
        return 0;
    TableCopy copy(from, to, QStringLiteral("PrintItem_data"));
    qint64 copied = 0;
    const bool done = copy.run([&](const QSqlQuery&) { return copied == 0; },
                               [&](qint64, qint64) { ++copied; }, error);
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
        count.capturedNumbers =
            count.couriers < 0 ? -1 : copyCapturedNumbers(from, to, error);
        return count.capturedNumbers >= 0;
    });
    if (!done) {
        if (error && error->isEmpty())
            *error = to.failureText();
        return std::nullopt;
    }
    // A server plans its queries from statistics that a bulk copy leaves stale, and
    // counts the list from its indexes alone once the table's pages are marked all-visible.
    QSqlQuery(to.connection()).exec(to.isServer() ? QStringLiteral("vacuum analyze")
                                                   : QStringLiteral("analyze"));
    return count;
}

} // namespace mldd
