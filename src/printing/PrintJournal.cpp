#include "PrintJournal.h"

#include "core/TextFile.h"

namespace mldd {

namespace {

QString lineOf(const PrintJournal::Entry& entry) {
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(entry.uuid)
        .arg(entry.orderId)
        .arg(entry.kind == PrintDocuments::Kind::Waybills ? QStringLiteral("K")
                                                          : QStringLiteral("F"))
        .arg(entry.process)
        .arg(entry.printer);
}

QString takenLineOf(const QString& uuid, int jobId) {
    return QStringLiteral("%1|%2").arg(uuid).arg(jobId);
}

} // namespace

PrintJournal::PrintJournal(const DataFolder& folder)
    : m_path(folder.settingsFile(QStringLiteral("Print_jobs.dat"))) {}

bool PrintJournal::record(const Entry& entry, QString* error) const {
    return TextFile::appendLine(m_path, lineOf(entry), error);
}

bool PrintJournal::noteTaken(const QString& uuid, int jobId) const {
    return TextFile::appendLine(m_path, takenLineOf(uuid, jobId));
}

QList<PrintJournal::Entry> PrintJournal::entries() const {
    QList<Entry> found;
    for (const QString& line : TextFile::read(m_path).lines) {
        // The printer comes last: its name may hold a bar. A line cut short by a crash is skipped.
        const QStringList fields = line.split(u'|');
        if (fields.size() == 2) {
            const int jobId = fields[1].toInt();
            for (Entry& entry : found) {
                if (entry.uuid == fields[0] && jobId > 0)
                    entry.jobId = jobId;
            }
            continue;
        }
        if (fields.size() < 5 || (fields[2] != u"K" && fields[2] != u"F") ||
            !fields[0].startsWith(u"urn:uuid:"))
            continue;
        Entry entry{fields.mid(4).join(u'|'), fields[0], fields[1].toLongLong(),
                    fields[2] == u"K" ? PrintDocuments::Kind::Waybills
                                      : PrintDocuments::Kind::ShippingLists,
                    fields[3]};
        if (entry.orderId > 0 && !entry.printer.isEmpty())
            found.append(entry);
    }
    return found;
}

void PrintJournal::forget(const QString& uuid) const {
    QList<Entry> kept = entries();
    kept.removeIf([&](const Entry& entry) { return entry.uuid == uuid; });
    keepOnly(kept);
}

void PrintJournal::keepOnly(const QList<Entry>& entries) const {
    QStringList lines;
    for (const Entry& entry : entries) {
        lines.append(lineOf(entry));
        if (entry.jobId > 0)
            lines.append(takenLineOf(entry.uuid, entry.jobId));
    }
    TextFile::write(m_path, lines);
}

} // namespace mldd
