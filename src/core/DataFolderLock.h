#pragma once

#include "DataFolder.h"

#include <QString>

#include <optional>

namespace mldd {

/**
 * The running window's hold on its data folder: a lock on a file in the
 * folder that the system drops when the process ends, however it ends. The
 * file also says where the window listens, so that every later start finds
 * it whatever its environment. mldd-cli does not take it: its writes are
 * single transactions on the store, which the database serialises itself.
 */
class DataFolderLock {
public:
    /** The lock file of a data folder. */
    static QString path(const DataFolder& folder);

    /** The window holding a folder: its process and where it listens (empty while it starts). */
    struct Holder {
        qint64 pid = 0;
        QString address;
    };
    /** Who holds the folder now; nothing when no running window does. */
    static std::optional<Holder> holder(const DataFolder& folder);

    explicit DataFolderLock(DataFolder folder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    enum class Take {
        Taken,       // this process holds the folder now
        HeldByOther, // a running window holds it
        Unavailable, // the lock file cannot be made (a read-only folder)
    };
    /** Takes the folder; a lock left by a window that was killed is no obstacle. */
    Take take();

    /** Writes this process and where it listens into the lock file; false when that failed. */
    bool publish(const QString& address);

private:
    DataFolder m_folder;
    int m_descriptor = -1;
};

} // namespace mldd
