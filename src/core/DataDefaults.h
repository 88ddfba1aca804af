#pragma once

#include "core/DataFolder.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace mldd {

/**
 * The installed package's default files (templates, place table, decode files,
 * printer set-up files) and the data folder made from them. Only the files the
 * package's list names are defaults: anything else found in the defaults
 * folder (a store, its journal, backups) is left there. A record in the
 * folder keeps the checksum of each default as it was laid down, so that a
 * newer package replaces only the files the seller left as they came.
 */
class DataDefaults {
public:
    /** The record of the defaults a folder was made from, at the top of the data folder. */
    static inline const QString kRecordName = QStringLiteral("defaults.sum");

    /** The list of the package's defaults, one path below the defaults folder a line, made by the
     * build. */
    static inline const QString kManifestName = QStringLiteral("defaults.list");

    DataDefaults(QString defaultsPath, QString manifestPath)
        : m_defaultsPath(std::move(defaultsPath)), m_manifestPath(std::move(manifestPath)) {}

    /** What bringing the defaults into a folder did, by path below the data folder. */
    struct Result {
        bool ok = true;
        QStringList added;   // missing, now laid down
        QStringList renewed; // left as they came, replaced by a newer default
        QStringList kept;    // changed by the seller and by the package: the seller's copy stays
        QString error;
    };

    /**
     * Lays each default the folder lacks, renews each one the seller did not
     * change, and keeps every file the seller changed or removed.
     */
    Result bringInto(const DataFolder& folder) const;

    /**
     * The folder a program start uses: `dataOption` (--data) when given, else
     * DataFolder::ofProgram. An installed program first brings its defaults
     * into it; a failure is written to the folder's error log.
     */
    static DataFolder open(const QString& dataOption, const QString& programPath);

private:
    QHash<QString, QByteArray> readRecord(const QString& path) const;
    /** The listed paths that stay below the defaults folder; none when the list is unreadable. */
    std::optional<QStringList> listedFiles(QString* error) const;

    QString m_defaultsPath;
    QString m_manifestPath;
};

} // namespace mldd
