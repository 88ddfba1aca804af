#include "PrintRecovery.h"

#include "core/OrderStore.h"

#include <QHash>

namespace mldd {

QList<qint64> recoverCompletedJobs(Spooler& spooler, const QString& printer,
                                   PrintDocuments& documents, const OrderStore& store,
                                   const PrintJournal& journal) {
    constexpr int kCompleted = 9; // not cancelled, not aborted: the page came out
    QHash<int, int> stateOf;
    for (const SpoolerJob& job : spooler.completedJobs(printer))
        stateOf.insert(job.id, job.state);

    QList<qint64> recovered;
    QList<PrintJournal::Entry> others;
    for (const PrintJournal::Entry& entry : journal.entries()) {
        if (entry.printer != printer || entry.kind != documents.kind()) {
            others.append(entry);
            continue;
        }
        if (stateOf.value(entry.jobId) != kCompleted || recovered.contains(entry.orderId))
            continue;
        const std::optional<Order> order = store.byId(entry.orderId);
        if (order && !documents.isMarked(*order) && documents.mark(*order))
            recovered.append(order->id);
    }
    journal.keepOnly(others);
    return recovered;
}

} // namespace mldd
