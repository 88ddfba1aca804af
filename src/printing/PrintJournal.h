#pragma once

#include "PrintDocuments.h"

#include "core/DataFolder.h"

namespace mldd {

/**
 * The jobs the spooler took whose orders may not be marked yet: one line per
 * job, written the moment the spooler gives its id. The spooler forgets a
 * finished job's title once it unloads it, but never its id and state, so
 * the next run can still tell which of them came out.
 */
class PrintJournal {
public:
    struct Entry {
        QString printer;
        int jobId = 0;
        qint64 orderId = 0;
        PrintDocuments::Kind kind = PrintDocuments::Kind::Waybills;
    };

    explicit PrintJournal(const DataFolder& folder);

    /** Adds the job's line; false, with `error` in the seller's words, when it was not written. */
    bool record(const Entry& entry, QString* error = nullptr) const;
    QList<Entry> entries() const;
    /** Replaces the journal by `entries`: the jobs still undecided. */
    void keepOnly(const QList<Entry>& entries) const;

private:
    QString m_path;
};

} // namespace mldd
