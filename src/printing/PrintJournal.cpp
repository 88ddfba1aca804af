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

} // namespace

PrintJournal::PrintJournal(const DataFolder& folder)
    : m_path(folder.settingsFile(QStringLiteral("Print_jobs.dat"))) {}

bool PrintJournal::record(const Entry& entry, QString* error) const {
    return TextFile::appendLine(m_path, lineOf(entry), error);
}

QList<PrintJournal::Entry> PrintJournal::entries() const {
    QList<Entry> found;
    for (const QString& line : TextFile::read(m_path).lines) {
        // The printer comes last: its name may hold a bar. A line cut short by a crash is skipped.
        const QStringList fields = line.split(u'|');
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
    for (const Entry& entry : entries)
        lines.append(lineOf(entry));
    TextFile::write(m_path, lines);
}

} // namespace mldd
