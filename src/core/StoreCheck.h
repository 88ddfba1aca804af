#pragma once

#include "DataFolder.h"
#include "Notice.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

struct sqlite3;

namespace mldd {

/**
 * The daily check of the data folder's store, kept off the start path: SQLite's
 * full integrity check with a connection of its own (so it may run on a worker
 * thread while the window works), REINDEX when only indexes are damaged, and
 * then the day's backup of the sound store, and the merge of the search
 * index's parts that the day's batches added. Damage it finds is remembered
 * beside the store, so that no later start uses the store until it is restored.
 */
class StoreCheck {
public:
    enum class Outcome { Sound, Repaired, Damaged, Failed };

    /** What one check found and did. */
    struct Result {
        Outcome outcome = Outcome::Sound;
        /** SQLite's own lines about the damage found (repaired or not). */
        QStringList problems;
        /** The backup made, when one was due. */
        std::optional<QString> backup;
        /** Why the check or the backup could not be done. */
        QString error;

        /** What the seller is told; none when all was well. */
        std::optional<Notice> notice(const DataFolder& folder) const;
    };

    /** Whether the day of `now` still lacks its check (no backup was made that day). */
    static bool isDue(const DataFolder& folder, const QDateTime& now);

    /**
     * Checks the store now, repairs what REINDEX repairs, and makes the day's
     * backup, or a backup in any case when `backupAnyway` (the seller asked for one).
     */
    static Result run(const DataFolder& folder, const QDateTime& now, bool backupAnyway = false);

    /** What one of SQLite's check pragmas gave. */
    struct CheckLines {
        QStringList problems; // its lines other than "ok"
        int code = 0;         // SQLite's last code: SQLITE_DONE when it read to the end
        QString detail;       // SQLite's message for that code
    };
    /** Runs a check pragma ("quick_check(20)", "integrity_check(100)") on an open store. */
    static CheckLines checkLines(sqlite3* db, const QByteArray& pragma);

    /**
     * Rebuilds the indexes the problem lines name; false when any problem lies
     * outside an index (the table itself is damaged) or a rebuild failed.
     */
    static bool rebuildIndexes(sqlite3* db, const QStringList& problems);

    /** SQLite's integrity check of an open store: its problems, none when sound. */
    static QStringList problemsOf(sqlite3* db, QString* error);

    /** Damage the daily check found and nothing has repaired since; empty when none. */
    static QString damageFound(const QString& databasePath);
    /** Forgets damage found, once the store was put back. */
    static void forgetDamage(const QString& databasePath);

private:
    static QString damageMarkPath(const QString& databasePath);
};

} // namespace mldd
