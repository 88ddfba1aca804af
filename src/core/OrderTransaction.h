#pragma once

#include <QString>

namespace mldd {

class OrderDatabase;

/**
 * A transaction that stays open across many calls, for a batch done in slices
 * between window events (an import). Batches run inside it join it through
 * savepoints. Rolled back when destroyed without commit(), so a cancelled or
 * failed batch leaves the database as it was; a killed process leaves it so too.
 * While it is open the connection keeps a larger page cache.
 */
class OrderTransaction {
public:
    explicit OrderTransaction(OrderDatabase& database);
    ~OrderTransaction();
    OrderTransaction(const OrderTransaction&) = delete;
    OrderTransaction& operator=(const OrderTransaction&) = delete;

    /** Whether the transaction could be begun (another one was not already open). */
    bool isOpen() const { return m_open; }
    bool commit();
    void rollback();

private:
    void restoreCache();

    OrderDatabase& m_database;
    bool m_open = false;
    QString m_cacheSize; // the connection's own, given back at the end
};

} // namespace mldd
