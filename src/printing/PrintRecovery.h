#pragma once

#include "PrintDocuments.h"
#include "PrintJournal.h"
#include "Spooler.h"

namespace mldd {

class OrderStore;

/** What a new run found of the jobs a killed run left in the journal. */
struct RecoveredJobs {
    QList<qint64> marked;    // orders whose job came out: marked now, not to be printed again
    int cancelled = 0;       // jobs that had not begun to print: cancelled, never printed
    QList<qint64> undecided; // orders whose job may still come out: not to be printed now
    QList<qint64> unknown;   // orders whose job the spooler took and no longer knows: it may
                             // have come out, the seller is to look; not printed now
};

/**
 * A run killed at any point leaves its last job in the journal, found in the
 * spooler by the identity it carries. Before a new run checks its printer's
 * queue, each such job of a run no longer alive (or of an earlier run of this
 * process) is settled, on whichever printer it went to: one the spooler
 * completed gets its order marked; one that has not begun to print
 * (half-received, held or waiting), which would block every later run, is
 * cancelled; one the spooler never got, or that was cancelled or aborted,
 * leaves its order unmarked; one the spooler took and has forgotten is
 * neither marked nor printed again silently. A job printing right now, one whose printer did
 * not answer, and every job of a run still alive stay in the journal for the
 * run after, and their orders are left out of this one.
 */
RecoveredJobs recoverJobs(Spooler& spooler, PrintDocuments& documents, const OrderStore& store,
                          const PrintJournal& journal);

} // namespace mldd
