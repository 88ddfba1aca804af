#pragma once

#include <QString>

namespace mldd {

/**
 * Where the program keeps its files: the data folder (database, settings,
 * decode files, templates) and, one level above it, the program folder with
 * g_url.dat, update_msg.dat and ERR.TXT.
 *
 * Folder names are matched without regard to letter case, because callers
 * say "data" and "Data" alike for the same folder.
 */
class DataFolder {
public:
    /** The data folder given on the command line (--data DIR). */
    explicit DataFolder(const QString& dataPath);

    /** The "data" folder beside the executable in `programPath`. */
    static DataFolder besideProgram(const QString& programPath);

    /**
     * The folder a program in `programPath` uses when no --data is given: an
     * installed program keeps each user's files in $XDG_DATA_HOME/mldd (with
     * g_url.dat and ERR.TXT inside it), a build-tree program the folder beside it.
     */
    static DataFolder ofProgram(const QString& programPath);

    /**
     * The read-only files of an installed program, <prefix>/share/mldd beside
     * <prefix>/bin; empty for a program in a build tree.
     */
    static QString installedFiles(const QString& programPath);

    QString dataPath() const { return m_dataPath; }
    QString programPath() const { return m_programPath; }

    /** A short name of the folder's real path: the same for every start on this folder. */
    QString key() const;

    /** A path below the data folder, e.g. "set/Jgf.dat". */
    QString file(const QString& relative) const;

    /** A path in the program folder, e.g. "g_url.dat". */
    QString programFile(const QString& name) const;

    QString databasePath() const { return file(QStringLiteral("mlddsj.db")); }
    QString settingsFile(const QString& name) const { return file(QStringLiteral("set/") + name); }
    QString errorLogPath() const { return programFile(QStringLiteral("ERR.TXT")); }

    /** Creates the data folder when it is missing. */
    bool ensureExists(QString* error = nullptr) const;

    /**
     * A file name made from a name that came from outside (a page, a
     * template board): separators and NUL become "_", so it stays in its folder.
     */
    static QString safeFileName(QString name);

    /** Resolves `relative` below `base`, reusing existing entries whose names differ only in case.
     */
    static QString resolve(const QString& base, const QString& relative);

private:
    DataFolder(const QString& dataPath, const QString& programPath);

    QString m_dataPath;
    QString m_programPath;
};

} // namespace mldd
