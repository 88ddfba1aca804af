#include "PrintRecovery.h"

#include "core/OrderStore.h"

#include <QCoreApplication>
#include <QHash>

#include <cerrno>
#include <csignal>

namespace mldd {

namespace {

bool aliveElsewhere(qint64 process) {
    if (process <= 0 || process == QCoreApplication::applicationPid())
        return false;
    return ::kill(pid_t(process), 0) == 0 || errno == EPERM;
}

} // namespace

RecoveredJobs recoverJobs(Spooler& spooler, const QString& printer, PrintDocuments& documents,
                          const OrderStore& store, const PrintJournal& journal) {
    RecoveredJobs recovered;
    QList<PrintJournal::Entry> kept;
    QList<PrintJournal::Entry> mine;
    for (const PrintJournal::Entry& entry : journal.entries()) {
        if (entry.printer != printer || entry.kind != documents.kind() ||
            aliveElsewhere(entry.process))
            kept.append(entry);
        else
            mine.append(entry);
    }
    if (mine.isEmpty())
        return recovered;

    QHash<QString, SpoolerJob> byUuid;
    for (const SpoolerJob& job : spooler.keptJobs(printer))
        byUuid.insert(job.uuid, job);
    for (const PrintJournal::Entry& entry : mine) {
        const auto found = byUuid.constFind(entry.uuid);
        if (found == byUuid.cend())
            continue; // killed before the spooler had it
        if (found->state == SpoolerJob::kCompleted) {
            const std::optional<Order> order = store.byId(entry.orderId);
            if (!order || documents.isMarked(*order))
                continue;
            if (documents.mark(*order))
                recovered.marked.append(order->id);
            else
                kept.append(entry); // tried again by the next run, never printed twice
        } else if (!found->ended() && found->incomplete()) {
            if (spooler.cancel(printer, found->id))
                ++recovered.cancelled;
            else
                kept.append(entry);
        } else if (!found->ended()) {
            kept.append(entry);
        }
    }
    journal.keepOnly(kept);
    return recovered;
}

} // namespace mldd
