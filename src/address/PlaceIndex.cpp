#include "PlaceIndex.h"

#include "PlaceTable.h"

#include <algorithm>

namespace mldd {

namespace {

constexpr qsizetype kShortestName = 2;

quint32 keyOf(QStringView text) {
    return quint32(text[0].unicode()) << 16 | text[1].unicode();
}

bool sound(const PlaceEntry& entry) {
    return entry.fault == PlaceEntry::Fault::None && entry.name.size() >= kShortestName;
}

// The first city of the section that refers to county list `reference`: the one
// its aliases (恩施州 for 恩施土家族苗族自治州) stand for.
int firstCityOf(const CitySection& section, int reference) {
    for (int i = 0; i < section.cities.size(); ++i) {
        if (section.cities.at(i).reference == reference)
            return i;
    }
    return -1;
}

} // namespace

bool beginsWithStreetWord(QStringView text) {
    if (text.isEmpty())
        return false;
    static constexpr std::u16string_view kStreet = u"路街道巷弄";
    static constexpr std::u16string_view kSide = u"东西南北中";
    const char16_t first = text[0].unicode();
    if (kStreet.find(first) != std::u16string_view::npos)
        return true;
    if (text.size() < 2)
        return false;
    const char16_t second = text[1].unicode();
    if (first == u'大')
        return second == u'道' || second == u'街';
    return kSide.find(first) != std::u16string_view::npos &&
           kStreet.find(second) != std::u16string_view::npos;
}

PlaceIndex::PlaceIndex(const QList<PlaceEntry>& provinces, const QList<CitySection>& sections) {
    m_provinces.resize(sections.size());
    for (int i = 0; i < provinces.size(); ++i) {
        const PlaceEntry& province = provinces.at(i);
        if (province.fault == PlaceEntry::Fault::None && province.reference > 0)
            m_provinces[province.reference - 1].append(i);
    }
    for (int s = 0; s < sections.size(); ++s) {
        if (m_provinces.at(s).isEmpty())
            continue;
        const CitySection& section = sections.at(s);
        for (int c = 0; c < section.cities.size(); ++c) {
            const PlaceEntry& city = section.cities.at(c);
            if (!sound(city))
                continue;
            const int owner = city.reference == 0 ? c : firstCityOf(section, city.reference);
            add({city.name, s, c}, owner);
            if (const qsizetype length = shortCityLength(city.name))
                add({city.name.left(length), s, c, -1, -1, true}, owner);
        }
        for (int list = 0; list < section.countyLists.size(); ++list) {
            const int owner = firstCityOf(section, list + 1);
            if (owner < 0 || !sound(section.cities.at(owner)))
                continue;
            const QList<PlaceEntry>& counties = section.countyLists.at(list);
            for (int k = 0; k < counties.size(); ++k) {
                if (sound(counties.at(k)))
                    add({counties.at(k).name, s, owner, list, k}, owner);
            }
        }
    }
}

void PlaceIndex::add(Name name, int owner) {
    QList<std::pair<Name, int>>& bucket = m_names[keyOf(name.text)];
    for (auto& [known, knownOwner] : bucket) {
        if (known.text != name.text)
            continue;
        // One name for two places; a second name of the same place adds nothing.
        if (known.section != name.section || knownOwner != owner)
            known.ambiguous = true;
        return;
    }
    bucket.append({std::move(name), owner});
}

const PlaceIndex::Name* PlaceIndex::longest(QStringView address) const {
    if (address.size() < kShortestName)
        return nullptr;
    const auto bucket = m_names.constFind(keyOf(address));
    if (bucket == m_names.cend())
        return nullptr;
    const Name* found = nullptr;
    for (const auto& [name, owner] : *bucket) {
        if (found && name.text.size() <= found->text.size())
            continue;
        if (!address.startsWith(name.text))
            continue;
        const QStringView rest = address.mid(name.text.size());
        // 中山路 is a street; 哈尔滨道外区 is 哈尔滨's 道外区.
        if (name.shortened && beginsWithStreetWord(rest) && !countyOf(name.section, owner, rest))
            continue;
        found = &name;
    }
    return found;
}

bool PlaceIndex::countyOf(int section, int city, QStringView address) const {
    if (address.size() < kShortestName)
        return false;
    const auto bucket = m_names.constFind(keyOf(address));
    if (bucket == m_names.cend())
        return false;
    return std::any_of(bucket->begin(), bucket->end(), [&](const auto& entry) {
        const Name& name = entry.first;
        return name.countyList >= 0 && name.section == section && entry.second == city &&
               address.startsWith(name.text);
    });
}

} // namespace mldd
