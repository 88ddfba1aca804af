#pragma once

#include "TrackingBatch.h"

#include "core/Order.h"

#include <QHash>
#include <QSet>

namespace mldd {

class OrderDatabase;
struct MainState;

/**
 * The 填写运单号 mode without its window: the orders waiting for a tracking number in
 * the list's order, each number given to the order whose turn it is, questioned when it
 * does not look right. Nothing is stored until save().
 */
class TrackingQueue {
public:
    /** What came of a number offered for the waiting order. */
    struct Offer {
        bool taken = false;
        /** Why the number was not taken: it needs the seller's word (offer it again with insist).
         */
        QString doubt;
    };

    TrackingQueue(OrderDatabase& database, QList<Order> orders);

    /** The ticked orders, else the listed ones, in that order; those with a number are left out. */
    static TrackingQueue ofList(MainState& state);

    /** The order whose number is awaited; null when every order has one or was skipped. */
    const Order* current() const;
    /** 1-based place of the waiting order in the queue, and the queue's length. */
    int position() const;
    int size() const { return int(m_orders.size()); }
    /** Numbers given and not yet stored. */
    int givenCount() const { return int(m_given.size()); }
    const QList<Order>& orders() const { return m_orders; }
    /** The number given to an order in this session, if any. */
    QString givenTo(qint64 id) const { return m_given.value(id); }

    /**
     * Gives `number` to the waiting order. A number that does not fit its courier, or that
     * another order already has, is questioned unless `insist` (the seller said it is right).
     */
    Offer offer(const QString& number, bool insist = false);
    /** Leaves the waiting order without a number for now. */
    void skip();
    /** Takes the last given number back: its order waits again. */
    bool takeBack();
    /**
     * Numbers consecutive forms from `start`: the waiting order and every later waiting order
     * of its courier, in queue order. Why not, when the courier's forms are not numbered so.
     */
    std::optional<Notice> fillRun(const QString& start);

    /** Stores the given numbers in one transaction; the queue then waits on the rest. */
    std::variant<TrackingBatch, Notice> save();

private:
    /** Why another order of the store or of this session has `number` already. */
    QString takenBy(const QString& number) const;

    OrderDatabase* m_database;
    QList<Order> m_orders;
    QHash<qint64, QString> m_given;
    QList<qint64> m_givenOrder;
    QSet<qint64> m_skipped;
};

} // namespace mldd
