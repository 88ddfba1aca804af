#include "OrderIndexCheck.h"

#include "OrderDatabase.h"
#include "PageCache.h"

#include <QFile>

#include <chrono>

#include <sqlite3.h>

namespace mldd {

OrderIndexCheck::OrderIndexCheck(const QString& path) {
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK) {
        m_lines = StoreCheck::CheckLines{
            {}, sqlite3_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db))};
        return;
    }
    sqlite3_busy_timeout(m_db, OrderDatabase::kStatementWaitMs);
    sqlite3_exec(m_db, kPageCachePragma, nullptr, nullptr, nullptr);
    m_running = std::async(std::launch::async, [db = m_db] {
        return StoreCheck::checkLines(db, "integrity_check(order_data)");
    });
}

OrderIndexCheck::~OrderIndexCheck() {
    if (m_running.valid()) {
        sqlite3_interrupt(m_db);
        m_running.wait();
    }
    sqlite3_close(m_db);
}

const StoreCheck::CheckLines& OrderIndexCheck::lines() {
    if (!m_lines)
        m_lines = m_running.get();
    return *m_lines;
}

bool OrderIndexCheck::endedSound() {
    if (!m_lines && m_running.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    return lines().problems.isEmpty() && lines().code == SQLITE_DONE;
}

} // namespace mldd
