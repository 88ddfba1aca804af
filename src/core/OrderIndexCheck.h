#pragma once

#include "StoreCheck.h"

#include <QString>

#include <future>
#include <optional>

struct sqlite3;

namespace mldd {

/**
 * The orders table's indexes read against the table, on a connection of its own and a
 * thread of its own, while the window works on its connection.
 */
class OrderIndexCheck {
public:
    /** Begins the check of the store file `path`. */
    explicit OrderIndexCheck(const QString& path);
    /**
     * A check still running is stopped: the store closes, nothing is left to guard.
     * SQLite finishes the part that reads the pages before it stops.
     */
    ~OrderIndexCheck();
    OrderIndexCheck(const OrderIndexCheck&) = delete;
    OrderIndexCheck& operator=(const OrderIndexCheck&) = delete;

    /** What the check found, once it ended; waits for it while it runs. */
    const StoreCheck::CheckLines& lines();

    /** Whether it ended, reading to the end and finding nothing wrong; never waits. */
    bool endedSound();

private:
    sqlite3* m_db = nullptr;
    std::future<StoreCheck::CheckLines> m_running;
    std::optional<StoreCheck::CheckLines> m_lines;
};

} // namespace mldd
