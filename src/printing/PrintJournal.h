#pragma once

#include "PrintDocuments.h"

#include "core/DataFolder.h"

namespace mldd {

/**
 * The jobs a run is about to send or has sent whose end it has not seen: one
 * line per job, written before the job goes to the spooler and naming the
 * identity (job-uuid) the job will carry. A run killed at any point leaves
 * the next run a line by which it finds the job among those the spooler keeps,
 * or learns that the spooler never got it. Once the spooler took the job, a
 * second line names the job's id: a job the spooler took and no longer knows
 * (its history cut short, its queue deleted) may have come out.
 */
class PrintJournal {
public:
    struct Entry {
        QString printer;
        QString uuid;
        qint64 orderId = 0;
        PrintDocuments::Kind kind = PrintDocuments::Kind::Waybills;
        QString process; // ProcessIdentity of the run: a live one still follows its job
        int jobId = 0;   // the spooler's, once it took the job
    };

    explicit PrintJournal(const DataFolder& folder);

    /** Adds the job's line; false, with `error` in the seller's words, when it was not written. */
    bool record(const Entry& entry, QString* error = nullptr) const;
    /** Adds that the spooler took the job with this identity as `jobId`. */
    bool noteTaken(const QString& uuid, int jobId) const;
    QList<Entry> entries() const;
    /** Takes out the job with this identity: its end was seen and acted on. */
    void forget(const QString& uuid) const;
    /** Replaces the journal by `entries`: the jobs still undecided. */
    void keepOnly(const QList<Entry>& entries) const;

private:
    QString m_path;
};

} // namespace mldd
