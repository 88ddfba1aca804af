#include "OrderTransaction.h"

#include "OrderDatabase.h"

namespace mldd {

OrderTransaction::OrderTransaction(OrderDatabase& database) : m_database(database) {
    m_open = !m_database.inOpenTransaction() && m_database.connection().transaction();
}

OrderTransaction::~OrderTransaction() {
    rollback();
}

bool OrderTransaction::commit() {
    if (!m_open)
        return false;
    m_open = false;
    if (m_database.connection().commit())
        return true;
    m_database.connection().rollback();
    return false;
}

void OrderTransaction::rollback() {
    if (!m_open)
        return;
    m_open = false;
    m_database.connection().rollback();
}

} // namespace mldd
