#include "PrintRecovery.h"

#include "core/OrderStore.h"
#include "core/ProcessIdentity.h"

#include <QHash>

namespace mldd {

namespace {

bool waitsToPrint(const SpoolerJob& job) {
    return job.state == SpoolerJob::kPending || job.state == SpoolerJob::kHeld;
}

} // namespace

RecoveredJobs recoverJobs(Spooler& spooler, PrintDocuments& documents, const OrderStore& store,
                          const PrintJournal& journal) {
    RecoveredJobs recovered;
    QList<PrintJournal::Entry> kept;
    const auto undecided = [&](const PrintJournal::Entry& entry) {
        kept.append(entry);
        recovered.undecided.append(entry.orderId);
    };
    // Each printer is asked once; without its answer a job that came out could not be told
    // from one never sent.
    QHash<QString, std::optional<QHash<QString, SpoolerJob>>> jobsOf;
    const auto jobsOn = [&](const QString& printer) -> const QHash<QString, SpoolerJob>* {
        auto found = jobsOf.find(printer);
        if (found == jobsOf.end()) {
            std::optional<QHash<QString, SpoolerJob>> byUuid;
            if (const std::optional<QList<SpoolerJob>> jobs = spooler.keptJobs(printer)) {
                byUuid.emplace();
                for (const SpoolerJob& job : *jobs)
                    byUuid->insert(job.uuid, job);
            }
            found = jobsOf.insert(printer, byUuid);
        }
        return *found ? &**found : nullptr;
    };

    const QList<PrintJournal::Entry> entries = journal.entries();
    for (const PrintJournal::Entry& entry : entries) {
        if (entry.kind != documents.kind()) {
            kept.append(entry);
            continue;
        }
        if (!ProcessIdentity::ended(entry.process) && !ProcessIdentity::isCurrent(entry.process)) {
            undecided(entry); // its run still follows it
            continue;
        }
        const QHash<QString, SpoolerJob>* jobs = jobsOn(entry.printer);
        if (!jobs) {
            undecided(entry);
            continue;
        }
        const auto found = jobs->constFind(entry.uuid);
        if (found == jobs->cend()) {
            // Killed before the spooler had it, unless the spooler said it took it.
            if (entry.jobId > 0)
                recovered.unknown.append(entry.orderId);
            continue;
        }
        SpoolerJob job = *found;
        // Cancelled before it prints, so that its order is printed once, by this run; one that
        // began printing meanwhile is followed like one found printing.
        if (waitsToPrint(job)) {
            if (spooler.cancel(entry.printer, job.id)) {
                ++recovered.cancelled;
                continue;
            }
            const std::optional<SpoolerJob> now = spooler.job(entry.printer, job.id);
            if (!now) {
                undecided(entry);
                continue;
            }
            job = *now;
        }
        if (job.state == SpoolerJob::kCompleted) {
            const std::optional<Order> order = store.byId(entry.orderId);
            if (!order || documents.isMarked(*order))
                continue;
            if (documents.mark(*order))
                recovered.marked.append(order->id);
            else
                undecided(entry); // tried again by the next run, never printed twice
        } else if (!job.ended()) {
            undecided(entry);
        }
    }
    if (kept.size() != entries.size())
        journal.keepOnly(kept);
    return recovered;
}

} // namespace mldd
