#pragma once

#include <QString>

struct sqlite3;

namespace mldd {

/**
 * The captured-number lists of an older data folder: one text file per shop
 * and seller (data/<shop;seller>.dat, numbers ending with "|"). The schema
 * upgrade moves them into the store once and removes them.
 */
class CapturedNumberFiles {
public:
    explicit CapturedNumberFiles(QString dataPath) : m_dataPath(std::move(dataPath)) {}

    /**
     * Inserts every list into captured_numbers of `db`, inside the caller's
     * transaction. A list a capture left staged (".new") counts when its last
     * number is stored, as the capture then finished. False when the store
     * refused; `error` says why.
     */
    bool copyInto(sqlite3* db, QString* error) const;

    /** Removes the files once the store holds their numbers. */
    void remove() const;

private:
    QStringList files() const;

    QString m_dataPath;
};

} // namespace mldd
