#include "OrderStore.h"

#include "IndexesAside.h"
#include "OrderColumns.h"
#include "OrderDatabase.h"
#include "OrderSearchIndex.h"
#include "PreparedIds.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace mldd {

namespace {

// The written columns and their value placeholders, in the order of writtenValues.
// An empty field is stored as '', never Null, so that comparisons with it behave.
QList<std::pair<QString, QString>> writtenColumns() {
    QList<std::pair<QString, QString>> columns;
    for (const auto& column : kOrderIntColumns)
        columns.append({QLatin1String(column.name), QStringLiteral("?")});
    columns.append({QStringLiteral("NumSign"), QStringLiteral("?")});
    for (const auto& column : kOrderTextColumns)
        columns.append({QLatin1String(column.name), QStringLiteral("coalesce(?, '')")});
    return columns;
}

QString insertStatement(const SqlDialect& dialect) {
    QStringList names;
    QStringList values;
    for (const auto& [name, value] : writtenColumns()) {
        names.append(name);
        values.append(value);
    }
    return QStringLiteral("insert into order_data (%1) values (%2)")
               .arg(names.join(u','), values.join(u',')) +
           dialect.returningId();
}

// Which of the written columns an update sets: all of them, or the named ones.
QList<int> updatedColumns(const QStringList& names) {
    const QList<std::pair<QString, QString>> columns = writtenColumns();
    QList<int> updated;
    for (int index = 0; index < columns.size(); ++index)
        if (names.isEmpty() || names.contains(columns.at(index).first))
            updated.append(index);
    return updated;
}

QString updateStatement(const SqlDialect& dialect, const QList<int>& updated) {
    const QList<std::pair<QString, QString>> columns = writtenColumns();
    QStringList assignments;
    for (int index : updated)
        assignments.append(columns.at(index).first + QStringLiteral(" = ") +
                           columns.at(index).second);
    return QStringLiteral("update order_data set %1 where id = ?").arg(assignments.join(u',')) +
           dialect.sameVersion();
}

QVariantList writtenValues(const Order& order) {
    QVariantList values;
    values.reserve(qsizetype(kOrderIntColumns.size() + 1 + kOrderTextColumns.size()));
    for (const auto& column : kOrderIntColumns)
        values.append(order.*column.member);
    values.append(order.numSign ? QVariant(*order.numSign)
                                : QVariant(QMetaType::fromType<double>()));
    for (const auto& column : kOrderTextColumns)
        values.append(order.*column.member);
    return values;
}

void bindOrder(QSqlQuery& query, const Order& order, const QList<int>& updated) {
    const QVariantList values = writtenValues(order);
    for (int index = 0; index < updated.size(); ++index)
        query.bindValue(index, values.at(updated.at(index)));
}

} // namespace

bool OrderStore::insert(QList<Order>& orders, OrderWriteRule& rule, QString* error) {
    const bool stored = m_database.inTransaction([&] { return insertInTransaction(orders, rule); });
    if (!stored && error)
        *error = m_database.failureText();
    return stored;
}

bool OrderStore::insertInTransaction(QList<Order>& orders, OrderWriteRule& rule,
                                     const std::function<void(qsizetype, Order&)>& beforeEach) {
    for (Order& order : orders)
        rule.apply(order);
    // On SQLite a "returning" clause would journal every row's pages once more.
    PreparedIds insert(m_database, insertStatement(m_database.dialect()));
    for (qsizetype index = 0; index < orders.size(); ++index) {
        Order& order = orders[index];
        if (beforeEach)
            beforeEach(index, order);
        const std::optional<qint64> id = insert.insert(writtenValues(order));
        if (!id)
            return false;
        order.id = *id;
    }
    return true;
}

bool OrderStore::update(const QList<Order>& orders) {
    return m_database.inTransaction([&] { return updateInTransaction(orders); });
}

bool OrderStore::updateInTransaction(const QList<Order>& orders, const QStringList& columns) {
    const QList<int> updated = updatedColumns(columns);
    const int idIndex = int(updated.size());
    const bool versioned = !m_database.dialect().sameVersion().isEmpty();
    QSqlQuery query(m_database.connection());
    query.prepare(updateStatement(m_database.dialect(), updated));
    for (const Order& order : orders) {
        bindOrder(query, order, updated);
        query.bindValue(idIndex, order.id);
        if (versioned) {
            query.bindValue(idIndex + 1, order.version);
            query.bindValue(idIndex + 2, order.version);
        }
        if (!query.exec()) {
            m_database.note(query.lastError());
            return false;
        }
        // Another station wrote the row after it was read: its changes are not overwritten.
        if (versioned && query.numRowsAffected() == 0) {
            m_database.noteChangedElsewhere(order.orderSign);
            return false;
        }
    }
    return true;
}

bool OrderStore::remove(qint64 id) {
    // A batch of its own, so that the search index lets the order go with it.
    return m_database.inTransaction([&] {
        QSqlQuery query(m_database.connection());
        query.prepare(QStringLiteral("delete from order_data where id = ?"));
        query.addBindValue(id);
        return query.exec() && query.numRowsAffected() > 0;
    });
}

std::optional<Order> OrderStore::byId(qint64 id) const {
    const QList<Order> found = byIds({id});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

bool OrderStore::setDelivery(qint64 id, const QString& delivery) {
    QSqlQuery query(m_database.connection());
    query.prepare(QStringLiteral("update order_data set delivery = ? where id = ?"));
    query.addBindValue(delivery);
    query.addBindValue(id);
    return query.exec();
}

QList<Order> OrderStore::byIds(const QList<qint64>& ids) const {
    if (ids.isEmpty())
        return {};
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select *%1 from order_data where id in (%2)")
                      .arg(m_database.dialect().rowVersionColumn(),
                           QStringList(ids.size(), QStringLiteral("?")).join(u',')));
    for (qint64 id : ids)
        query.addBindValue(id);
    QHash<qint64, Order> found;
    if (query.exec()) {
        const OrderColumns columns(query.record());
        while (query.next()) {
            Order order = columns.orderAt(query);
            found.insert(order.id, std::move(order));
        }
    }
    // A damaged page stops the rows short; the store remembers why.
    m_database.note(query.lastError());
    QList<Order> orders;
    for (qint64 id : ids) {
        const auto it = found.constFind(id);
        if (it != found.constEnd())
            orders.append(*it);
    }
    return orders;
}

std::vector<qint64> OrderStore::ids(const QString& sql, const QVariantList& values) const {
    return PreparedIds(m_database, sql).ids(values);
}

QString OrderStore::newestFirst() const {
    return QStringLiteral(" order by ") + m_database.dialect().newestFirst();
}

bool OrderStore::isServer() const {
    return m_database.isServer();
}

QString OrderStore::listedQuery(const SqlCondition& filter) const {
    return QStringLiteral("select id from order_data where dj_type >= 0 ") + filter.sql +
           newestFirst();
}

std::vector<qint64> OrderStore::listed(const SqlCondition& filter) const {
    return ids(listedQuery(filter), filter.values);
}

qsizetype OrderStore::listedCount(const SqlCondition& filter, qsizetype limit) const {
    // Stops at the limit: a count walks the list's index entry by entry.
    const std::vector<qint64> count =
        ids(QStringLiteral("select count(*) from (select 1 from order_data where dj_type >= 0 ") +
                filter.sql + QStringLiteral(" limit ?) as counted"),
            filter.values + QVariantList{qint64(limit)});
    return count.empty() ? 0 : qsizetype(count.front());
}

std::optional<qsizetype> OrderStore::stretchCount(const SqlCondition& filter,
                                                  qsizetype limit) const {
    if (filter.firstStretch.isEmpty() || limit > filter.firstStretchRows)
        return std::nullopt;
    const std::vector<qint64> count =
        ids(QStringLiteral("select count(*) from (select 1 ") + filter.firstStretch +
                QStringLiteral(" limit ?) as counted"),
            filter.values + QVariantList{qint64(limit)});
    if (count.empty() || count.front() < limit)
        return std::nullopt;
    return qsizetype(count.front());
}

std::optional<qsizetype> OrderStore::listedPosition(const SqlCondition& filter, qint64 id) const {
    const QString listed = QStringLiteral("select count(*) from order_data where dj_type >= 0 ");
    const std::vector<qint64> found =
        ids(listed + filter.sql + QStringLiteral(" and id = ?"), filter.values + QVariantList{id});
    if (found.empty() || found.front() == 0)
        return std::nullopt;
    // Before it in the list: a larger order number, or the same one on a newer row;
    // an order without a number comes after every order with one.
    const std::vector<qint64> before = ids(
        QStringLiteral("select count(*) from order_data, (select NumSign as shown from order_data "
                       "where id = ?) as target where dj_type >= 0 ") +
            filter.sql +
            QStringLiteral(" and (NumSign > shown or (NumSign = shown and id > ?) or "
                           "(shown is null and (NumSign is not null or id > ?)))"),
        QVariantList{id} + filter.values + QVariantList{id, id});
    return before.empty() ? 0 : qsizetype(before.front());
}

std::vector<qint64> OrderStore::listedWindow(const SqlCondition& filter, qsizetype first,
                                             int limit) const {
    return ids(listedQuery(filter) + QStringLiteral(" limit ? offset ?"),
               filter.values + QVariantList{limit, qint64(first)});
}

std::optional<std::vector<qint64>> OrderStore::stretchWindow(const SqlCondition& filter,
                                                             qsizetype first, int limit) const {
    if (filter.firstStretch.isEmpty() || first + limit > filter.firstStretchRows)
        return std::nullopt;
    std::vector<qint64> window = ids(QStringLiteral("select id ") + filter.firstStretch +
                                         QStringLiteral(" limit ? offset ?"),
                                     filter.values + QVariantList{limit, qint64(first)});
    if (qsizetype(window.size()) < limit)
        return std::nullopt;
    return window;
}

SqlCondition OrderStore::settled(const SqlCondition& filter) const {
    return filter.settle ? filter.settle(m_database) : filter;
}

std::vector<qint64> OrderStore::absorbed() const {
    return ids(QStringLiteral("select id from order_data where dj_type = -1") + newestFirst());
}

std::vector<qint64> OrderStore::withoutCourier() const {
    return ids(QStringLiteral(
        "select id from order_data where delivery is null or trim(delivery) = '' order by id"));
}

QStringList OrderStore::namedCouriers() const {
    // One step along the listed orders' courier index per courier: a year of orders names a
    // handful, and reading every order for them would hold up the window's start.
    QSqlQuery query(m_database.connection());
    query.prepare(QStringLiteral("select delivery from order_data where dj_type >= 0 and "
                                 "delivery > ? order by delivery limit 1"));
    QStringList names;
    QString after = QStringLiteral("");
    for (;;) {
        query.bindValue(0, after);
        if (!query.exec() || !query.next())
            break;
        after = query.value(0).toString();
        if (!after.trimmed().isEmpty())
            names.append(after);
    }
    return names;
}

std::vector<qint64> OrderStore::olderThan(int days) const {
    return ids(QStringLiteral("select id from order_data where ") +
                   m_database.dialect().ageInDays() + QStringLiteral(" >= ? order by id"),
               {days});
}

bool OrderStore::mostOrdersOlderThan(int days) const {
    const std::vector<qint64> shares =
        ids(QStringLiteral("select count(*) - 2 * coalesce(sum(") +
                m_database.dialect().ageInDays() + QStringLiteral(" >= ?), 0) from order_data"),
            {days});
    return !shares.empty() && shares.front() < 0;
}

int OrderStore::deleteOlderThan(int days) {
    int deleted = 0;
    QSqlDatabase db = m_database.connection();
    const bool done = m_database.inTransaction([&] {
        // Clearing most of a year's store row by row through every index takes
        // SQLite a minute; the indexes built again over the rest take seconds.
        std::optional<IndexesAside> aside;
        if (!m_database.isServer() && mostOrdersOlderThan(days)) {
            if (!(aside = IndexesAside::take(db, QStringLiteral("order_data"))))
                return false;
            // Nor is each deleted order noted for the search index: it starts over
            // and takes the rest in as the batch commits (or at the next start, when
            // many orders are left).
            OrderSearchIndex::startOver(m_database);
        }
        QSqlQuery query(db);
        query.prepare(QStringLiteral("delete from order_data where ") +
                      m_database.dialect().ageInDays() + QStringLiteral(" >= ?"));
        query.addBindValue(days);
        if (!query.exec())
            return false;
        if (aside && !aside->restore())
            return false;
        deleted = query.numRowsAffected();
        return true;
    });
    return done ? deleted : 0;
}

std::vector<qint64> OrderStore::byOrderNumber(const QString& orderSign) const {
    return ids(QStringLiteral("select id from order_data where order_sign = ?") + newestFirst(),
               {orderSign});
}

QSet<QString> OrderStore::storedOrderNumbers(const QStringList& orderSigns) const {
    QSet<QString> stored;
    // Outside a batch each look-up would begin and end a read of its own; one
    // read for all of them sees one state of the store and blocks no writer.
    QSqlQuery read(m_database.connection());
    const bool reading = !m_database.isServer() && !m_database.inOpenTransaction() &&
                         read.exec(QStringLiteral("BEGIN"));
    PreparedIds lookup(m_database,
                       QStringLiteral("select id from order_data where order_sign = ? limit 1"));
    for (const QString& orderSign : orderSigns)
        if (!lookup.ids({orderSign}).empty())
            stored.insert(orderSign);
    if (reading && !read.exec(QStringLiteral("COMMIT")))
        read.exec(QStringLiteral("ROLLBACK"));
    return stored;
}

std::optional<qint64> OrderStore::newestOfSender(const QString& myId) const {
    const std::vector<qint64> found =
        ids(QStringLiteral("select id from order_data where my_id = ? and dj_type >= 0") +
                newestFirst() + QStringLiteral(" limit 1"),
            {myId});
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::vector<qint64> OrderStore::byReceiverName(const QString& buyName) const {
    return ids(QStringLiteral("select id from order_data where buy_name = ? order by id"),
               {buyName});
}

std::vector<qint64> OrderStore::allById() const {
    return ids(QStringLiteral("select id from order_data order by id"));
}

} // namespace mldd
