#include "PrintRecovery.h"

#include <QSet>

namespace mldd {

QList<qint64> recoverCompletedJobs(Spooler& spooler, const QString& printer,
                                   PrintDocuments& documents, const QList<Order>& orders) {
    QSet<QString> completed;
    constexpr int kCompleted = 9; // not cancelled, not aborted: the page came out
    for (const SpoolerJob& job : spooler.completedJobs(printer)) {
        if (job.state == kCompleted)
            completed.insert(job.title);
    }
    QList<qint64> recovered;
    if (completed.isEmpty())
        return recovered;
    for (const Order& order : orders) {
        if (!documents.isMarked(order) && completed.contains(documents.titleOf(order)) &&
            documents.mark(order))
            recovered.append(order.id);
    }
    return recovered;
}

} // namespace mldd
