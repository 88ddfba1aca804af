#pragma once

#include "HandOver.h"

#include "core/DataFolderLock.h"
#include "core/Notice.h"

#include <optional>

namespace mldd {

/**
 * One window per data folder: a start takes the folder's lock and listens,
 * or hands its command to the window that holds the folder and ends. Found
 * through the folder itself, so starts with another runtime folder (or none,
 * as from sudo or ssh) reach the same window.
 */
class SingleWindow {
public:
    /** How long a second start waits for a window that is still starting. */
    static constexpr int kWaitMs = 30000;

    explicit SingleWindow(const DataFolder& folder);

    /** True when this start is the folder's window; else the command went to the one that is. */
    bool claim(const QString& command);

    /** After a claim that gave the command away: the exit status of this start. */
    int exitCode() const { return m_exitCode; }
    /** After a claim that gave the command away: what to tell the seller, if anything. */
    const std::optional<Notice>& notice() const { return m_notice; }

    HandOverServer& server() { return m_server; }
    /** After a claim that kept the folder: why the window could not listen, if so. */
    const std::optional<QString>& socketRefusal() const { return m_socketRefusal; }

private:
    DataFolder m_folder;
    DataFolderLock m_lock;
    HandOverServer m_server;
    int m_exitCode = 0;
    std::optional<Notice> m_notice;
    std::optional<QString> m_socketRefusal;
};

} // namespace mldd
