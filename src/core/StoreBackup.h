#pragma once

#include "DataFolder.h"
#include "Notice.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

struct sqlite3;

namespace mldd {

class OrderDatabase;

/**
 * The order database's rolling backups in data/backup: one a day by the daily
 * check (StoreCheck), each a complete database made by SQLite's online backup
 * and packed with zstd (about a third of the store), so that a damaged store
 * can be put back as it was. The newest are kept, at most seven and together at
 * most twice the store's size.
 */
class StoreBackup {
public:
    static constexpr int kKept = 7;
    static constexpr int kMostTimesStore = 2;

    explicit StoreBackup(const DataFolder& folder) : m_folder(folder) {}

    QString folderPath() const { return m_folder.file(QStringLiteral("backup")); }

    /**
     * The 设置 menu's backup entry: "备份订单数据库", then the latest backup's time
     * and size, or that there is none yet.
     */
    QString entryCaption() const;

    /** The backups, newest first (full paths). */
    QStringList list() const;
    std::optional<QString> latest() const;

    /** When a backup was made, read from its name. */
    static QDateTime madeAt(const QString& backupPath);

    /**
     * Of the backups `newestFirst`, those kept beside a store of `storeBytes`:
     * the newest always, then the next ones while there are at most kKept and
     * together at most kMostTimesStore times the store.
     */
    static QStringList kept(const QStringList& newestFirst, qint64 storeBytes);

    /** The question the window asks when the store it starts on is damaged. */
    static Notice restoreQuestion(const QString& damage, const QString& backupPath);

    /** Makes a backup now and drops the ones no longer kept; its path, or none with the reason. */
    std::optional<QString> make(OrderDatabase& database, const QDateTime& now, QString* error);
    /** The same from a connection of the caller's own to the data folder's store. */
    std::optional<QString> makeFrom(sqlite3* source, const QDateTime& now, QString* error);

    /**
     * Puts `backupPath` (packed or a plain database) in place of the store, once SQLite's full
     * check found the backup sound. The store that was there, with its write-ahead log, is kept in
     * the backup folder under "before-restore-". The print journal stays, so that orders printed
     * since can be marked again. No program may have the store open meanwhile. The message names
     * the backup's time and what the seller must do again since.
     */
    bool restore(const QString& backupPath, const QDateTime& now, QString* message) const;

private:
    static QString restoredText(const QString& backupPath, const QString& aside);

    DataFolder m_folder;
};

} // namespace mldd
