#pragma once

#include <QString>

class QSqlError;

namespace mldd {

/** Why the order database refused to open or to write, told in the seller's words. */
struct StoreFailure {
    enum class Kind {
        None,
        ReadOnly,
        Full,
        Locked,
        Corrupt,
        NotADatabase,
        Other,
        // Only a store on a server fails so:
        Unreachable,
        LoginRefused,
        NoSuchDatabase,
        ForeignDatabase,
        NotPermitted, // the server refused the login's rights; the detail is its words
        ConnectionLost,
        ChangedElsewhere // the detail is the order number
    };

    Kind kind = Kind::None;
    /** The database's own words, kept for the log and for failures we have no name for. */
    QString detail;

    explicit operator bool() const { return kind != Kind::None; }

    /**
     * The failure behind an SQLite result code for the database file at `path`.
     * Codes that do not say which (cannot open, input/output) are told apart by
     * looking at the folder: not writable, or no space left.
     */
    static StoreFailure fromCode(int code, const QString& detail, const QString& path);
    static StoreFailure fromError(const QSqlError& error, const QString& path);
    /** The failure behind an error of a PostgreSQL server. */
    static StoreFailure fromServerError(const QSqlError& error);

    /** The message that names the file (or the server's address) and the cause. */
    QString text(const QString& path) const;
};

} // namespace mldd
