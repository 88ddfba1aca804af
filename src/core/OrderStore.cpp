#include "OrderStore.h"

#include "OrderDatabase.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace mldd {

namespace {

// The written columns and their value placeholders, in the order bindOrder binds them.
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

QString updateStatement(const SqlDialect& dialect) {
    QStringList assignments;
    for (const auto& [name, value] : writtenColumns())
        assignments.append(name + QStringLiteral(" = ") + value);
    return QStringLiteral("update order_data set %1 where id = ?").arg(assignments.join(u',')) +
           dialect.sameVersion();
}

void bindOrder(QSqlQuery& query, const Order& order) {
    int index = 0;
    for (const auto& column : kOrderIntColumns)
        query.bindValue(index++, order.*column.member);
    query.bindValue(index++, order.numSign ? QVariant(*order.numSign)
                                           : QVariant(QMetaType::fromType<double>()));
    for (const auto& column : kOrderTextColumns)
        query.bindValue(index++, order.*column.member);
}

Order orderFrom(const QSqlQuery& query, const QSqlRecord& record) {
    Order order;
    order.id = query.value(record.indexOf(QStringLiteral("id"))).toLongLong();
    for (const auto& column : kOrderIntColumns)
        order.*column.member = query.value(record.indexOf(QLatin1String(column.name))).toInt();
    const QVariant numSign = query.value(record.indexOf(QStringLiteral("NumSign")));
    if (!numSign.isNull())
        order.numSign = numSign.toDouble();
    order.timeGet = query.value(record.indexOf(QStringLiteral("time_get"))).toString();
    const int version = record.indexOf(QStringLiteral("row_version"));
    if (version >= 0)
        order.version = query.value(version).toLongLong();
    for (const auto& column : kOrderTextColumns) {
        const int field = record.indexOf(QLatin1String(column.name));
        if (field >= 0)
            order.*column.member = query.value(field).toString();
    }
    return order;
}

bool bindValue(sqlite3_stmt* statement, int index, const QVariant& value) {
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

bool OrderStore::insert(QList<Order>& orders, OrderWriteRule& rule, QString* error) {
    const bool stored = m_database.inTransaction([&] { return insertInTransaction(orders, rule); });
    if (!stored && error)
        *error = m_database.failureText();
    return stored;
}

bool OrderStore::insertInTransaction(QList<Order>& orders, OrderWriteRule& rule) {
    for (Order& order : orders)
        rule.apply(order);
    const bool returning = m_database.isServer();
    QSqlQuery query(m_database.connection());
    query.prepare(insertStatement(m_database.dialect()));
    for (Order& order : orders) {
        bindOrder(query, order);
        if (!query.exec() || (returning && !query.next())) {
            m_database.note(query.lastError());
            return false;
        }
        order.id = (returning ? query.value(0) : query.lastInsertId()).toLongLong();
    }
    return true;
}

bool OrderStore::update(const QList<Order>& orders) {
    const QString sql = updateStatement(m_database.dialect());
    const int idIndex = int(writtenColumns().size());
    const bool versioned = !m_database.dialect().sameVersion().isEmpty();
    QSqlDatabase db = m_database.connection();
    return m_database.inTransaction([&] {
        QSqlQuery query(db);
        query.prepare(sql);
        for (const Order& order : orders) {
            bindOrder(query, order);
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
    });
}

bool OrderStore::remove(qint64 id) {
    QSqlQuery query(m_database.connection());
    query.prepare(QStringLiteral("delete from order_data where id = ?"));
    query.addBindValue(id);
    return query.exec() && query.numRowsAffected() > 0;
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
        const QSqlRecord record = query.record();
        while (query.next()) {
            Order order = orderFrom(query, record);
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
    if (m_database.isServer())
        return serverIds(sql, values);
    std::vector<qint64> result;
    sqlite3* db = m_database.handle();
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (!db)
        return result;
    int code = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr);
    bool bound = code == SQLITE_OK;
    for (int i = 0; i < values.size(); ++i)
        bound = bound && bindValue(statement, i + 1, values.at(i));
    while (bound && (code = sqlite3_step(statement)) == SQLITE_ROW)
        result.push_back(sqlite3_column_int64(statement, 0));
    sqlite3_finalize(statement);
    // A damaged page ends the walk early; the list must not pass for complete.
    m_database.noteCode(code);
    return result;
}

std::vector<qint64> OrderStore::serverIds(const QString& sql, const QVariantList& values) const {
    std::vector<qint64> result;
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (query.exec()) {
        while (query.next())
            result.push_back(query.value(0).toLongLong());
    }
    m_database.note(query.lastError());
    return result;
}

QString OrderStore::newestFirst() const {
    return QStringLiteral(" order by ") + m_database.dialect().newestFirst();
}

std::vector<qint64> OrderStore::listed(const SqlCondition& filter) const {
    return ids(QStringLiteral("select id from order_data where dj_type >= 0 ") + filter.sql +
                   newestFirst(),
               filter.values);
}

std::vector<qint64> OrderStore::absorbed() const {
    return ids(QStringLiteral("select id from order_data where dj_type = -1") + newestFirst());
}

std::vector<qint64> OrderStore::withoutCourier() const {
    return ids(QStringLiteral(
        "select id from order_data where delivery is null or trim(delivery) = '' order by id"));
}

std::vector<qint64> OrderStore::olderThan(int days) const {
    return ids(QStringLiteral("select id from order_data where ") +
                   m_database.dialect().ageInDays() + QStringLiteral(" >= ? order by id"),
               {days});
}

int OrderStore::deleteOlderThan(int days) {
    int deleted = 0;
    QSqlDatabase db = m_database.connection();
    m_database.inTransaction([&] {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("delete from order_data where ") +
                      m_database.dialect().ageInDays() + QStringLiteral(" >= ?"));
        query.addBindValue(days);
        if (!query.exec())
            return false;
        deleted = query.numRowsAffected();
        return true;
    });
    return deleted;
}

std::vector<qint64> OrderStore::byOrderNumber(const QString& orderSign) const {
    return ids(QStringLiteral("select id from order_data where order_sign = ?") + newestFirst(),
               {orderSign});
}

QSet<QString> OrderStore::storedOrderNumbers(const QStringList& orderSigns) const {
    QSet<QString> stored;
    if (m_database.isServer()) {
        QSqlQuery query(m_database.connection());
        query.prepare(QStringLiteral("select 1 from order_data where order_sign = ? limit 1"));
        for (const QString& orderSign : orderSigns) {
            query.addBindValue(orderSign);
            if (query.exec() && query.next())
                stored.insert(orderSign);
            m_database.note(query.lastError());
        }
        return stored;
    }
    sqlite3* db = m_database.handle();
    sqlite3_stmt* statement = nullptr;
    if (!db || sqlite3_prepare_v2(db, "select 1 from order_data where order_sign = ? limit 1", -1,
                                  &statement, nullptr) != SQLITE_OK) {
        m_database.noteCode(sqlite3_errcode(db));
        return stored;
    }
    for (const QString& orderSign : orderSigns) {
        const QByteArray text = orderSign.toUtf8();
        sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        const int code = sqlite3_step(statement);
        if (code == SQLITE_ROW)
            stored.insert(orderSign);
        else
            m_database.noteCode(code);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    return stored;
}

std::vector<qint64> OrderStore::mergeCandidates(const QString& myId, const QString& address) const {
    return ids(QStringLiteral("select id from order_data where dj_type >= 0 and cf_sign = 0 "
                              "and kd_sign = 0 and (my_id = ? or buy_address = ?)") +
                   newestFirst(),
               {myId, address});
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
