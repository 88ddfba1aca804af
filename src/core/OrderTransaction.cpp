#include "OrderTransaction.h"

#include "OrderDatabase.h"

namespace mldd {

OrderTransaction::OrderTransaction(OrderDatabase& database) : m_database(database) {
    m_open = !m_database.inOpenTransaction() && m_database.beginBatch();
}

OrderTransaction::~OrderTransaction() {
    rollback();
}

bool OrderTransaction::commit() {
    if (!m_open)
        return false;
    m_open = false;
    return m_database.commitBatch();
}

void OrderTransaction::rollback() {
    if (!m_open)
        return;
    m_open = false;
    m_database.rollbackBatch();
}

} // namespace mldd
