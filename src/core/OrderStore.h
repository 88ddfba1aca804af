#pragma once

#include "Order.h"
#include "OrderWriteRule.h"
#include "SqlCondition.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace mldd {

class OrderDatabase;

/** Reads and writes the orders of order_data; every query returns row ids in list order. */
class OrderStore {
public:
    explicit OrderStore(OrderDatabase& database) : m_database(database) {}

    /** Whether the orders live on a shared server rather than in a station's file. */
    bool isServer() const;

    /**
     * Stores new orders in one transaction, after the write rule has emptied
     * the fields that do not fit. Their ids are filled in. On failure nothing
     * is stored and `error` says why.
     */
    bool insert(QList<Order>& orders, OrderWriteRule& rule, QString* error = nullptr);

    /**
     * Stores new orders inside the transaction the caller has begun; false when
     * one is refused. `beforeEach` may still change an order (by its index) just
     * before it is written, when the orders before it have their ids.
     */
    bool insertInTransaction(QList<Order>& orders, OrderWriteRule& rule,
                             const std::function<void(qsizetype, Order&)>& beforeEach = {});

    /** Writes every column of stored orders back, by id, in one transaction. */
    bool update(const QList<Order>& orders);

    /**
     * Writes them back inside the transaction the caller has begun, only the
     * named `columns` when there are any; false when one is refused.
     */
    bool updateInTransaction(const QList<Order>& orders, const QStringList& columns = {});

    /** Deletes one order; false when it was no longer stored. */
    bool remove(qint64 id);

    std::optional<Order> byId(qint64 id) const;

    /** Sets the courier form of one order; false when the update failed. */
    bool setDelivery(qint64 id, const QString& delivery);

    /** The orders with these ids, in the order of `ids`; ids no longer stored are left out. */
    QList<Order> byIds(const QList<qint64>& ids) const;

    /** The listed orders: dj_type >= 0, the filter, newest order number first. */
    std::vector<qint64> listed(const SqlCondition& filter) const;
    /** How many orders `listed` gives, counted by the store up to `limit` at most. */
    qsizetype listedCount(const SqlCondition& filter, qsizetype limit) const;
    /** How many listed orders come before this one; none when it is not listed. */
    std::optional<qsizetype> listedPosition(const SqlCondition& filter, qint64 id) const;
    /** At most `limit` of the listed orders, from the `first` (0-based) on. */
    std::vector<qint64> listedWindow(const SqlCondition& filter, qsizetype first, int limit) const;
    /**
     * `listedCount` when the filter's first stretch alone reaches `limit`; none
     * otherwise. The first stretch is never read by the listed… queries themselves.
     */
    std::optional<qsizetype> stretchCount(const SqlCondition& filter, qsizetype limit) const;
    /** `listedWindow` when the filter's first stretch alone fills it; none otherwise. */
    std::optional<std::vector<qint64>> stretchWindow(const SqlCondition& filter, qsizetype first,
                                                     int limit) const;
    /** The filter as the whole list is best read by: settled here when it waits to be. */
    SqlCondition settled(const SqlCondition& filter) const;
    /** Orders absorbed by a merge. */
    std::vector<qint64> absorbed() const;
    /** Orders whose courier form is empty or only blanks. */
    std::vector<qint64> withoutCourier() const;
    /** The courier forms the listed orders name, each once, in name order. */
    QStringList namedCouriers() const;
    /** Orders taken in at least `days` calendar days ago. */
    std::vector<qint64> olderThan(int days) const;
    /** Deletes the orders taken in at least `days` days ago, in one transaction; how many. */
    int deleteOlderThan(int days);
    /** Orders with exactly this order number (the capture's duplicate check). */
    std::vector<qint64> byOrderNumber(const QString& orderSign) const;
    /** Which of these order numbers are stored: one prepared look-up for a whole page. */
    QSet<QString> storedOrderNumbers(const QStringList& orderSigns) const;
    /** The listed order of this sender with the newest order number. */
    std::optional<qint64> newestOfSender(const QString& myId) const;
    /** Orders of one receiver, and all orders, in id order (the spreadsheet import). */
    std::vector<qint64> byReceiverName(const QString& buyName) const;
    std::vector<qint64> allById() const;

    /** Row ids of any "select id ..." query, read straight from SQLite for speed. */
    std::vector<qint64> ids(const QString& sql, const QVariantList& values = {}) const;

private:
    /** Whether more than half of the stored orders were taken in `days` days ago or earlier. */
    bool mostOrdersOlderThan(int days) const;
    QString listedQuery(const SqlCondition& filter) const;
    /** The " order by" of the lists, in the store's dialect. */
    QString newestFirst() const;

    OrderDatabase& m_database;
};

} // namespace mldd
