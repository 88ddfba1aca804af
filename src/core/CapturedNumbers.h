#pragma once

#include <QList>
#include <QSet>
#include <QStringList>

namespace mldd {

class OrderDatabase;

/**
 * The order numbers already captured per shop and seller (the re-capture
 * limit), kept in the store's captured_numbers table, so that a capture reads
 * only the numbers of its own page and writes them in its own transaction.
 */
class CapturedNumbers {
public:
    /** One shop's list: its shop-and-seller value and how many numbers it holds. */
    struct ShopList {
        QString shop;
        qint64 count = 0;
    };

    explicit CapturedNumbers(OrderDatabase& database) : m_database(database) {}

    /** Which of `numbers` were captured before for `shop`; an empty number never was. */
    QSet<QString> capturedOf(const QString& shop, const QStringList& numbers) const;

    /**
     * Adds `numbers` to the list of `shop`; run it inside the capture's
     * transaction. How many were new to the list, or -1 when the store refused.
     */
    qint64 add(const QString& shop, const QStringList& numbers);

    /** The shops that have captured numbers, sorted by name; none when the store refused. */
    QList<ShopList> shops() const;

    /**
     * Empties the list of `shop` (every shop's when `shop` is empty), so that
     * deleted orders can be captured again. How many numbers went, or -1 when
     * the store refused (its `failureText` says why).
     */
    qint64 clear(const QString& shop);

private:
    OrderDatabase& m_database;
};

} // namespace mldd
