#include "OfficialNames.h"

#include "PlaceTable.h"

#include <QHash>

#include <array>

namespace mldd {

namespace {

// How many entries before a shortened zone name its own full name may stand:
// the table lists a zone's official name, its bare name and its abbreviation in a row.
constexpr qsizetype kZoneFormsBefore = 3;
// Shortened zone names keep at least this many characters (新区, 南区 are names of their own).
constexpr qsizetype kShortestZoneForm = 3;

// The long kinds of zone and how addresses shorten them.
constexpr std::array<std::pair<const char16_t*, const char16_t*>, 6> kZoneAbbreviations{{
    {u"高新技术产业开发区", u"高新区"},
    {u"高新技术产业园区", u"高新区"},
    {u"高新技术开发区", u"高新区"},
    {u"经济技术开发区", u"经开区"},
    {u"经济开发区", u"经开区"},
    {u"经济综合实验区", u"区"},
}};

// Entries listed under one reference are one place; the first is its full name.
void byReference(QList<PlaceEntry>& entries) {
    QHash<int, QString> first;
    for (PlaceEntry& entry : entries) {
        if (entry.reference == 0 || entry.fault != PlaceEntry::Fault::None)
            continue;
        entry.official = first.value(entry.reference, entry.name);
        first.insert(entry.reference, entry.official);
    }
}

// 白沙县 for 白沙黎族自治县, 恩施州 for 恩施土家族苗族自治州.
const PlaceEntry* autonomousOf(const QList<PlaceEntry>& entries, qsizetype at) {
    const QStringView name(entries.at(at).name);
    if (name.size() < 3 || !(name.endsWith(u'县') || name.endsWith(u'旗') || name.endsWith(u'州')))
        return nullptr;
    const QString ending = QStringLiteral("自治") + name.back();
    for (qsizetype i = 0; i < at; ++i) {
        const QString& official = entries.at(i).name;
        if (official.startsWith(name.chopped(1)) && official.endsWith(ending))
            return &entries.at(i);
    }
    return nullptr;
}

// 高新区 or 高新技术产业开发区 right after 石家庄高新技术产业开发区.
bool shortensZone(const QString& full, QStringView form) {
    if (full.size() > form.size() && full.endsWith(form))
        return true;
    for (const auto& [longKind, shortKind] : kZoneAbbreviations) {
        const QStringView kind(longKind);
        if (!full.endsWith(kind))
            continue;
        QString shortened = full.chopped(kind.size());
        shortened += QStringView(shortKind);
        if (shortened != form && shortened.endsWith(form))
            return true;
    }
    return false;
}

const PlaceEntry* zoneOf(const QList<PlaceEntry>& entries, qsizetype at) {
    const QStringView name(entries.at(at).name);
    if (name.size() < kShortestZoneForm || name.endsWith(u'县') || name.endsWith(u'旗') ||
        name.endsWith(u'市') || name.endsWith(u'州'))
        return nullptr;
    for (qsizetype i = at - 1; i >= 0 && i >= at - kZoneFormsBefore; --i) {
        if (shortensZone(entries.at(i).name, name))
            return &entries.at(i);
    }
    return nullptr;
}

// Short forms name the full entry they shorten; everything else is its own full name.
void byShortForm(QList<PlaceEntry>& entries, bool zones) {
    for (qsizetype at = 0; at < entries.size(); ++at) {
        PlaceEntry& entry = entries[at];
        if (!entry.official.isEmpty())
            continue;
        const PlaceEntry* full = autonomousOf(entries, at);
        if (!full && zones)
            full = zoneOf(entries, at);
        entry.official =
            full ? (full->official.isEmpty() ? full->name : full->official) : entry.name;
    }
}

} // namespace

void markOfficialNames(QList<PlaceEntry>& provinces, QList<CitySection>& sections) {
    byReference(provinces);
    byShortForm(provinces, false);
    for (CitySection& section : sections) {
        byReference(section.cities);
        byShortForm(section.cities, false);
        for (QList<PlaceEntry>& counties : section.countyLists)
            byShortForm(counties, true);
    }
}

namespace {

// The entry a given name stands for: one of that name or full name, else the only one whose
// name begins with it (深圳 for 深圳市); none when the table does not say.
const PlaceEntry* entryFor(const QList<PlaceEntry>& entries, const QString& given) {
    if (given.isEmpty())
        return nullptr;
    const PlaceEntry* byPrefix = nullptr;
    bool ambiguous = false;
    for (const PlaceEntry& entry : entries) {
        if (entry.fault != PlaceEntry::Fault::None)
            continue;
        if (entry.name == given || entry.official == given)
            return &entry;
        if (given.size() >= 2 && entry.name.startsWith(given)) {
            ambiguous = ambiguous || (byPrefix && byPrefix->official != entry.official);
            byPrefix = &entry;
        }
    }
    return ambiguous ? nullptr : byPrefix;
}

QString fullName(const PlaceEntry& entry) {
    return entry.official.isEmpty() ? entry.name : entry.official;
}

} // namespace

void useOfficialNames(const PlaceTable& table, QString& province, QString& city, QString& county) {
    const PlaceEntry* inProvince = entryFor(table.provinces, province.trimmed());
    if (!inProvince)
        return;
    province = fullName(*inProvince);
    if (inProvince->reference < 1 || inProvince->reference > table.sections.size())
        return;
    const CitySection& section = table.sections.at(inProvince->reference - 1);
    const PlaceEntry* inCity = entryFor(section.cities, city.trimmed());
    if (!inCity)
        return;
    city = fullName(*inCity);
    if (inCity->reference < 1 || inCity->reference > section.countyLists.size())
        return;
    if (const PlaceEntry* inCounty =
            entryFor(section.countyLists.at(inCity->reference - 1), county.trimmed()))
        county = fullName(*inCounty);
}

} // namespace mldd
