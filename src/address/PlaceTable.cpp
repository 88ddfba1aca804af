#include "PlaceTable.h"

#include "OfficialNames.h"

#include "core/MainState.h"
#include "core/TextFile.h"

#include <QDir>

namespace mldd {

namespace {

// Triples start at item 1; item 0 of every list is not used. `referenceCount`
// is how many sections (or sub-sections) a reference may name.
QList<PlaceEntry> parseTriples(const QString& list, qsizetype referenceCount) {
    const QStringList items = list.split(u'/');
    QList<PlaceEntry> entries;
    for (qsizetype i = 1; i < items.size(); i += 3) {
        PlaceEntry entry;
        entry.name = items.at(i);
        if (i + 2 >= items.size()) {
            // A trailing "/" leaves an empty name behind; that is no triple at all.
            if (entry.name.isEmpty())
                break;
            entry.fault = PlaceEntry::Fault::CutShort;
            entries.append(entry);
            break;
        }
        entry.ownDestination = items.at(i + 2) == u'Z';
        const QString reference = items.at(i + 1);
        if (referenceCount >= 0 && reference != u'0') {
            bool ok = false;
            entry.reference = reference.trimmed().toInt(&ok);
            if (!ok)
                entry.fault = PlaceEntry::Fault::NotANumber;
            else if (entry.reference < 1 || entry.reference > referenceCount)
                entry.fault = PlaceEntry::Fault::PastEnd;
        }
        entries.append(entry);
    }
    return entries;
}

CitySection parseSection(const QString& text) {
    const QStringList parts = text.split(QStringLiteral("[D]"));
    CitySection section;
    section.cities = parseTriples(parts.first(), parts.size() - 1);
    for (qsizetype m = 1; m < parts.size(); ++m)
        section.countyLists.append(parseTriples(parts.at(m), -1));
    return section;
}

} // namespace

PlaceTable parsePlaceTable(const QString& text) {
    const QStringList sections = text.split(QStringLiteral("[S]"));
    PlaceTable table;
    table.provinces = parseTriples(sections.first(), sections.size() - 1);
    for (qsizetype k = 1; k < sections.size(); ++k)
        table.sections.append(parseSection(sections.at(k)));
    markOfficialNames(table.provinces, table.sections);
    table.index = PlaceIndex(table.provinces, table.sections);
    return table;
}

PlaceTable LoadPlaceTable(const QString& path, const ErrorLog& log, QString* problem) {
    const QString shown = QDir::toNativeSeparators(path);
    const auto refuse = [&](const QString& why, bool logged) {
        if (logged)
            log.append(PlaceLocation::Load, ErrorLog::FileAccess, why);
        if (problem)
            *problem = why;
        return PlaceTable{};
    };
    const TextFileContent content = TextFile::read(path);
    if (content.status == TextFileContent::Status::Missing)
        return refuse(QStringLiteral("找不到地址库文件 %1").arg(shown), false);
    if (content.status == TextFileContent::Status::Failed)
        return refuse(content.error, true);
    const QString text = content.lines.join(QString());
    if (text.trimmed().isEmpty())
        return refuse(QStringLiteral("地址库文件 %1 是空的。").arg(shown), false);
    PlaceTable table = parsePlaceTable(text);
    // Random bytes split into "triples" too, but none of them is a usable province.
    const bool usable =
        std::any_of(table.provinces.begin(), table.provinces.end(),
                    [](const PlaceEntry& entry) { return entry.fault == PlaceEntry::Fault::None; });
    if (text.contains(QChar(0)) || !usable)
        return refuse(QStringLiteral("文件 %1 不是地址库，或者已经损坏。").arg(shown), true);
    return table;
}

qsizetype shortCityLength(QStringView name) {
    if (name.size() <= 2)
        return 0;
    if (name.endsWith(u"地区") && name.size() > 3)
        return name.size() - 2;
    return name.size() - 1;
}

QString describeFault(const PlaceEntry& entry) {
    switch (entry.fault) {
    case PlaceEntry::Fault::CutShort:
        return QStringLiteral("地址库条目不完整：%1").arg(entry.name);
    case PlaceEntry::Fault::NotANumber:
        return QStringLiteral("地址库条目的编号不是数字：%1").arg(entry.name);
    case PlaceEntry::Fault::PastEnd:
        return QStringLiteral("地址库条目的编号超出范围：%1").arg(entry.name);
    case PlaceEntry::Fault::None:
        break;
    }
    return QString();
}

void loadPlaceTableInto(MainState& state) {
    state.placeTable =
        std::make_shared<const PlaceTable>(LoadPlaceTable(placeTablePath(state.folder), state.log));
}

} // namespace mldd
