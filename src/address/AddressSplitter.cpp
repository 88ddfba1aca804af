#include "AddressSplitter.h"

#include <QVarLengthArray>

#include <algorithm>

namespace mldd {

namespace {

// Shortened names stop at two characters; county names after at most nine passes.
constexpr qsizetype kCountyShorteningPasses = 9;
constexpr qsizetype kShortestName = 2;

// How many leading characters of `name` the address repeats. Written out: the
// splitter compares thousands of names per address, most of them at the first character.
qsizetype sharedLength(QStringView name, QStringView address) {
    const qsizetype size = std::min(name.size(), address.size());
    qsizetype length = 0;
    while (length < size && name[length] == address[length])
        ++length;
    return length;
}

// An empty name would begin every address; no place is called that.
bool begins(QStringView address, QStringView name) {
    return !name.isEmpty() && sharedLength(name, address) == name.size();
}

/** A name that begins the address: the entry and how much of its name matched. */
struct Hit {
    const PlaceEntry* entry = nullptr;
    qsizetype length = 0;

    explicit operator bool() const { return entry != nullptr; }
    QString name() const { return entry->name.left(length); }
};

Hit exactHit(const QList<PlaceEntry>& entries, QStringView address) {
    for (const PlaceEntry& entry : entries) {
        if (begins(address, entry.name))
            return {&entry, entry.name.size()};
    }
    return {};
}

// The whole name first; else the first name written without 市/州/地区.
Hit cityHit(const QList<PlaceEntry>& cities, QStringView address) {
    Hit shortened;
    for (const PlaceEntry& city : cities) {
        const qsizetype size = city.name.size();
        const qsizetype length = sharedLength(city.name, address);
        if (length == size && size > 0)
            return {&city, size};
        if (!shortened && length > 0) {
            const qsizetype shortLength = shortCityLength(city.name);
            if (shortLength > 0 && length >= shortLength)
                shortened = {&city, shortLength};
        }
    }
    return shortened;
}

// The whole name first; else names shrink one character per pass, never below
// two, so a longer form always wins over a shorter one and within one pass the
// list order decides. One walk finds the pass in which each name would match.
Hit countyHit(const QList<PlaceEntry>& counties, QStringView address) {
    Hit best;
    qsizetype bestPass = kCountyShorteningPasses + 1;
    for (const PlaceEntry& county : counties) {
        const qsizetype size = county.name.size();
        const qsizetype length = sharedLength(county.name, address);
        if (length == size && size > 0)
            return {&county, size};
        if (length >= kShortestName && size - length < bestPass) {
            bestPass = size - length;
            best = {&county, length};
        }
    }
    return best;
}

// Province names as written in full (浙江省, 广西壮族自治区) are cut when repeated
// before anything but a street; short ones (浙江) only before another place name.
bool fullProvinceName(QStringView name) {
    return name.endsWith(u'省') || name.endsWith(u'市') || name.endsWith(u'区');
}

/** One call of the splitter; each step returns false when a faulty entry ended the call. */
class Split {
public:
    Split(const PlaceTable& table, PlaceFields& fields, QString& address, const ErrorLog& log)
        : m_table(table), m_fields(fields), m_address(address), m_log(log) {}

    void run() {
        m_fields.destination.clear();
        m_address.remove(u' ');
        const Hit province = exactHit(m_table.provinces, m_address);
        // A city or county may begin with a province's short name (吉林市, 河北区):
        // the longer name wins.
        const PlaceIndex::Name* named = m_table.index.longest(m_address);
        if (named && !named->ambiguous && named->text.size() > province.length)
            completeFrom(*named);
        else if (province)
            fromProvince(province);
        // The destination was worked out from the names as written; the fields
        // keep the table's full names, so that every order reads the same.
        officialName(m_fields.province, m_provinceEntry);
        officialName(m_fields.city, m_cityEntry);
        officialName(m_fields.county, m_countyEntry);
    }

private:
    /** A name the address may write again after the province and city: 遵义市遵义市务川县. */
    struct Repeatable {
        QStringView name;
        bool full = false; // cut before anything but a street word; a short one only before a place
    };

    bool usable(const PlaceEntry& entry) {
        if (entry.fault == PlaceEntry::Fault::None)
            return true;
        m_log.append(PlaceLocation::Split, ErrorLog::BadFormat, describeFault(entry));
        return false;
    }

    void take(QString& field, const PlaceEntry*& slot, const PlaceEntry& entry,
              const QString& name) {
        field = name;
        slot = &entry;
        if (entry.ownDestination)
            m_fields.destination = name;
    }

    static void officialName(QString& field, const PlaceEntry* entry) {
        if (entry && !entry->official.isEmpty())
            field = entry->official;
    }

    void fromProvince(const Hit& hit) {
        if (!usable(*hit.entry))
            return;
        take(m_fields.province, m_provinceEntry, *hit.entry, hit.entry->name);
        m_address.remove(0, hit.length);
        if (hit.entry->reference != 0)
            inSection(hit.entry->reference - 1, Hit{});
    }

    // No province begins the address; a city or county that belongs to one city
    // in the whole table names it.
    void completeFrom(const PlaceIndex::Name& named) {
        const PlaceEntry& province =
            m_table.provinces.at(m_table.index.provinces(named.section).first());
        take(m_fields.province, m_provinceEntry, province, province.name);
        const CitySection& section = m_table.sections.at(named.section);
        const PlaceEntry& city = section.cities.at(named.city);
        if (named.countyList < 0) {
            inSection(named.section, Hit{&city, named.text.size()});
            return;
        }
        const PlaceEntry& county = section.countyLists.at(named.countyList).at(named.county);
        takeCounty(city, Hit{&county, county.name.size()});
        fallBackDestination();
    }

    // Splits the rest of the address among the cities of section `number`;
    // `city` is the city already found at its start, if any.
    void inSection(int number, Hit city) {
        m_section = &m_table.sections.at(number);
        for (const int province : m_table.index.provinces(number)) {
            const QString& name = m_table.provinces.at(province).name;
            m_repeatable.append({name, fullProvinceName(name)});
        }
        if (!city) {
            dropRepeats();
            city = cityHit(m_section->cities, m_address);
        }
        if (!city) {
            if (countyInAnyCity())
                fallBackDestination();
            return;
        }
        if (!usable(*city.entry))
            return;
        const int reference = city.entry->reference;
        m_counties = reference == 0 ? nullptr : &m_section->countyLists.at(reference - 1);
        // A county named whole where the city's name begins is that county with
        // its city left out: 东营港经济开发区, 克拉玛依区.
        if (m_counties) {
            const Hit county = exactHit(*m_counties, m_address);
            if (county && county.length >= city.length) {
                if (usable(*county.entry)) {
                    takeCounty(firstCityOf(reference), county);
                    fallBackDestination();
                }
                return;
            }
        }
        if (m_counties && cityEndsInCounty(city))
            --city.length;
        take(m_fields.city, m_cityEntry, *city.entry, city.name());
        // Only where it stands: 吉安 in 吉安吉安县 must leave the county whole.
        m_address.remove(0, city.length);
        addCityNames(*city.entry);
        dropRepeats();
        if (!m_counties) {
            if (countyInAnyCity())
                fallBackDestination();
            return;
        }
        if (!county(*m_counties))
            return;
        dropRepeats();
        fallBackDestination();
    }

    // 乐山市中区 is 乐山 and its 市中区: a county found only with the city's last
    // character takes that character.
    bool cityEndsInCounty(const Hit& city) const {
        if (city.length != city.entry->name.size() || city.length <= kShortestName)
            return false;
        const QStringView address(m_address);
        return countyHit(*m_counties, address.mid(city.length - 1)) &&
               !countyHit(*m_counties, address.mid(city.length));
    }

    const PlaceEntry& firstCityOf(int reference) const {
        for (const PlaceEntry& city : m_section->cities) {
            if (city.reference == reference)
                return city;
        }
        Q_UNREACHABLE();
    }

    // The city found and its other names (恩施州 for 恩施土家族苗族自治州), whole
    // names before shortened ones so that 杭州市 goes whole.
    void addCityNames(const PlaceEntry& found) {
        const auto sameCity = [&](const PlaceEntry& city) {
            return &city == &found || (found.reference != 0 && city.reference == found.reference);
        };
        for (const PlaceEntry& city : m_section->cities) {
            if (sameCity(city))
                m_repeatable.append({city.name, true});
        }
        for (const PlaceEntry& city : m_section->cities) {
            if (sameCity(city) && shortCityLength(city.name) > 0)
                m_repeatable.append(
                    {QStringView(city.name).left(shortCityLength(city.name)), false});
        }
    }

    // Cuts the province and city names the address writes again at the start of
    // the rest. A name stays before a street word (呼伦贝尔市路9号), and so does a
    // county of the city's own name (吉安 before 吉安县).
    void dropRepeats() {
        while (const qsizetype length = repeatedLength())
            m_address.remove(0, length);
    }

    // A name before another place goes first (乐山 before 市中区, not 乐山市); else
    // the first whole name.
    qsizetype repeatedLength() const {
        qsizetype whole = 0;
        for (const Repeatable& repeat : m_repeatable) {
            if (!begins(m_address, repeat.name))
                continue;
            if (m_counties && exactHit(*m_counties, m_address))
                return 0;
            const QStringView after = QStringView(m_address).mid(repeat.name.size());
            if (placeFollows(after))
                return repeat.name.size();
            if (!whole && repeat.full && !beginsWithStreetWord(after))
                whole = repeat.name.size();
        }
        return whole;
    }

    bool placeFollows(QStringView text) const {
        if (m_counties ? bool(exactHit(*m_counties, text)) : bool(cityHit(m_section->cities, text)))
            return true;
        return std::any_of(m_repeatable.begin(), m_repeatable.end(),
                           [&](const Repeatable& repeat) { return begins(text, repeat.name); });
    }

    bool county(const QList<PlaceEntry>& counties) {
        const Hit hit = countyHit(counties, m_address);
        if (!hit)
            return true;
        if (!usable(*hit.entry))
            return false;
        const QString name = hit.name();
        take(m_fields.county, m_countyEntry, *hit.entry, name);
        m_address.remove(name);
        return true;
    }

    // The address names the county without its city, which completes it.
    void takeCounty(const PlaceEntry& city, const Hit& county) {
        const QString name = county.name();
        take(m_fields.county, m_countyEntry, *county.entry, name);
        m_fields.city = city.name;
        m_cityEntry = &city;
        m_address.remove(name);
    }

    // The address skipped the city: the first city whose county list names
    // the county completes it. False when none does, or on a faulty entry.
    bool countyInAnyCity() {
        for (const PlaceEntry& city : m_section->cities) {
            if (city.fault == PlaceEntry::Fault::None && city.reference == 0)
                continue;
            if (!usable(city))
                return false;
            const Hit hit = countyHit(m_section->countyLists.at(city.reference - 1), m_address);
            if (!hit)
                continue;
            if (!usable(*hit.entry))
                return false;
            takeCounty(city, hit);
            return true;
        }
        return false;
    }

    // A county-level place (县, 市, 旗) is the destination; a city district (区) leaves the city.
    void fallBackDestination() {
        if (!m_fields.destination.isEmpty())
            return;
        for (const QString* field : {&m_fields.province, &m_fields.city})
            if (!field->isEmpty())
                m_fields.destination = *field;
        if (!m_fields.county.isEmpty() && !m_fields.county.endsWith(u'区'))
            m_fields.destination = m_fields.county;
    }

    const PlaceTable& m_table;
    PlaceFields& m_fields;
    QString& m_address;
    const ErrorLog& m_log;
    const CitySection* m_section = nullptr;
    const PlaceEntry* m_provinceEntry = nullptr;
    const PlaceEntry* m_cityEntry = nullptr;
    const PlaceEntry* m_countyEntry = nullptr;
    const QList<PlaceEntry>* m_counties = nullptr; // the found city's, once it is found
    QVarLengthArray<Repeatable, 12> m_repeatable;
};

} // namespace

void SplitAddress(const PlaceTable& table, PlaceFields& fields, QString& address,
                  const ErrorLog& log) {
    Split(table, fields, address, log).run();
}

} // namespace mldd
