#pragma once

#include "PrintDocuments.h"
#include "PrintJournal.h"
#include "Spooler.h"

namespace mldd {

class OrderStore;

/** What a new run found of the jobs a killed run left in the journal. */
struct RecoveredJobs {
    QList<qint64> marked; // orders whose job came out: marked now, not to be printed again
    int cancelled = 0;    // jobs whose document never fully arrived: cancelled, never printed
};

/**
 * A run killed at any point leaves its last job in the journal, found in the
 * spooler by the identity it carries. Before a new run on the same printer
 * checks the queue, each such job of a run no longer alive is settled: one
 * the spooler completed gets its order marked; one stuck half-received, which
 * would block every later run, is cancelled; one the spooler never got, or
 * that was cancelled or aborted, leaves its order unmarked. Jobs still
 * printing stay in the journal for the run after.
 */
RecoveredJobs recoverJobs(Spooler& spooler, const QString& printer, PrintDocuments& documents,
                          const OrderStore& store, const PrintJournal& journal);

} // namespace mldd
