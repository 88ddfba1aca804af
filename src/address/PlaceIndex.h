#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace mldd {

struct PlaceEntry;
struct CitySection;

/** True when `text` begins as the rest of a street name does (路, 街, 大道, 东路…). */
bool beginsWithStreetWord(QStringView text);

/**
 * Every city and county name of the place table, found by how an address
 * begins: what completes an address that names no province. Faulty entries are
 * left out; the search through the province reaches and reports them.
 */
class PlaceIndex {
public:
    /** A city name (whole, or without its last character) or a county name. */
    struct Name {
        QString text;
        int section = 0;          // 0-based section of the province
        int city = 0;             // the city entry of that name, or the city a county belongs to
        int countyList = -1;      // a county's list (0-based); -1 for a city name
        int county = -1;          // a county's entry in its list
        bool shortened = false;   // a city name without its last character
        bool ambiguous = false;   // places of different cities answer to it
    };

    PlaceIndex() = default;
    PlaceIndex(const QList<PlaceEntry>& provinces, const QList<CitySection>& sections);

    /**
     * The longest name that begins `address`, or nullptr. A shortened city name
     * before a street word (中山路) names no city unless one of its counties
     * follows (哈尔滨道外区).
     */
    const Name* longest(QStringView address) const;

    /** The province entries whose cities are section `section`, in table order. */
    const QList<int>& provinces(int section) const { return m_provinces.at(section); }

private:
    void add(Name name, int owner);
    // Whether a county of city `city` in section `section` begins `address`.
    bool countyOf(int section, int city, QStringView address) const;

    // Names keyed by their first two characters; the city a name belongs to
    // tells two places of one name apart.
    QHash<quint32, QList<std::pair<Name, int>>> m_names;
    QList<QList<int>> m_provinces;
};

} // namespace mldd
