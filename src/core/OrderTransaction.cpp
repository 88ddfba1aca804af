#include "OrderTransaction.h"

#include "OrderDatabase.h"

#include <QSqlQuery>

namespace mldd {

namespace {

// A batch of a hundred thousand orders dirties pages all over the indexes; in
// the connection's usual cache they spill to the log and are read back again.
const QString kBatchCacheSize = QStringLiteral("-262144"); // KiB

} // namespace

OrderTransaction::OrderTransaction(OrderDatabase& database) : m_database(database) {
    m_open = !m_database.inOpenTransaction() && m_database.beginBatch();
    if (!m_open || m_database.isServer())
        return;
    QSqlQuery cache(m_database.connection());
    if (cache.exec(QStringLiteral("PRAGMA cache_size")) && cache.next()) {
        m_cacheSize = cache.value(0).toString();
        cache.exec(QStringLiteral("PRAGMA cache_size=") + kBatchCacheSize);
    }
}

OrderTransaction::~OrderTransaction() {
    rollback();
}

bool OrderTransaction::commit() {
    if (!m_open)
        return false;
    m_open = false;
    const bool committed = m_database.commitBatch();
    restoreCache();
    return committed;
}

void OrderTransaction::rollback() {
    if (!m_open)
        return;
    m_open = false;
    m_database.rollbackBatch();
    restoreCache();
}

void OrderTransaction::restoreCache() {
    if (!m_cacheSize.isEmpty())
        QSqlQuery(m_database.connection()).exec(QStringLiteral("PRAGMA cache_size=") + m_cacheSize);
}

} // namespace mldd
