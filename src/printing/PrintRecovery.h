#pragma once

#include "PrintDocuments.h"
#include "Spooler.h"

namespace mldd {

/**
 * A run killed between handing a job to the spooler and marking its order
 * leaves a completed job whose order is unmarked. Before a new run prints,
 * such orders among `orders` are marked; their ids come back, so the run
 * prints them no second time.
 */
QList<qint64> recoverCompletedJobs(Spooler& spooler, const QString& printer,
                                   PrintDocuments& documents, const QList<Order>& orders);

} // namespace mldd
