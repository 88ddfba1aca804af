#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"

#include <QDate>

#include <optional>

namespace mldd {

/** The decode files of the data folder: code/<page key>.dat with its version in .ver. */
class DecodeFiles {
public:
    DecodeFiles(const DataFolder& folder, const ErrorLog& log) : m_folder(folder), m_log(log) {}

    /**
     * The decode text of a page key (its lines joined), or none when there is
     * no file, or when it cannot be read: then `error` says why.
     */
    std::optional<QString> read(const QString& pageKey, QString* error = nullptr) const;

    /** The stored version of a page key's decode file (empty when unknown). */
    QString version(const QString& pageKey) const;

    /** Stores a downloaded decode file and its version, each as one line. */
    bool write(const QString& pageKey, const QString& version, const QString& decodeText) const;

    /**
     * After a goods program fell back to the raw goods text: at most once a
     * day, every downloaded decode file is deleted so that each is fetched
     * anew on its next use. Returns whether this happened now.
     */
    bool expireAfterGoodsFallback(const QDate& today) const;

    /** Deletes every downloaded decode file and its version, so that each is fetched anew. */
    void removeAll() const;

    /**
     * The service's list of current decode files: when it differs from the copy
     * kept in code/CODE_id.txt, every decode file is deleted and the list kept.
     * Returns whether the files were deleted.
     */
    bool applyIdList(const QString& idList) const;

private:
    QString path(const QString& pageKey, const QString& extension) const;

    DataFolder m_folder;
    ErrorLog m_log;
};

} // namespace mldd
