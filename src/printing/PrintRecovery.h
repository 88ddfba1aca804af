#pragma once

#include "PrintDocuments.h"
#include "PrintJournal.h"
#include "Spooler.h"

namespace mldd {

class OrderStore;

/**
 * A run killed between the spooler taking a job and the order's mark leaves
 * the job in the journal and its order unmarked. Before a new run on the same
 * printer prints (its queue is empty by then), every such job the spooler
 * reports completed gets its order marked; the journal keeps only the jobs
 * of other printers and kinds. The ids of the orders marked come back, so
 * the run prints them no second time.
 */
QList<qint64> recoverCompletedJobs(Spooler& spooler, const QString& printer,
                                   PrintDocuments& documents, const OrderStore& store,
                                   const PrintJournal& journal);

} // namespace mldd
