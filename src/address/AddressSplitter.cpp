#include "AddressSplitter.h"

namespace mldd {

namespace {

// Shortened names stop at two characters; county names after at most nine passes.
constexpr int kCountyShorteningPasses = 9;
constexpr qsizetype kShortestName = 2;

// An empty name would begin every address; no place is called that.
bool begins(QStringView address, QStringView name) {
    return !name.isEmpty() && address.startsWith(name);
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

Hit cityHit(const QList<PlaceEntry>& cities, QStringView address) {
    if (const Hit hit = exactHit(cities, address))
        return hit;
    // Written without 市/州: every name loses its last character once. A name of
    // two characters is never shortened: 博州 cut to 博 would claim 博湖县.
    for (const PlaceEntry& city : cities) {
        if (city.name.size() > kShortestName && begins(address, QStringView(city.name).chopped(1)))
            return {&city, city.name.size() - 1};
    }
    return {};
}

Hit countyHit(const QList<PlaceEntry>& counties, QStringView address) {
    if (const Hit hit = exactHit(counties, address))
        return hit;
    // Names shrink one character per pass, never below two, so a longer form
    // always wins over a shorter one.
    for (int pass = 1; pass <= kCountyShorteningPasses; ++pass) {
        for (const PlaceEntry& county : counties) {
            const qsizetype length = county.name.size() - pass;
            if (length >= kShortestName &&
                address.startsWith(QStringView(county.name).left(length)))
                return {&county, length};
        }
    }
    return {};
}

/** One call of the splitter; each step returns false when a faulty entry ended the call. */
class Split {
public:
    Split(const PlaceTable& table, PlaceFields& fields, QString& address, const ErrorLog& log)
        : m_table(table), m_fields(fields), m_address(address), m_log(log) {}

    void run() {
        m_fields.destination.clear();
        m_address.remove(u' ');
        const CitySection* section = province();
        if (!section)
            return;
        const QList<PlaceEntry>* counties = nullptr;
        if (!city(*section, counties))
            return;
        if (counties) {
            if (!county(*counties))
                return;
        } else if (!countyInAnyCity(*section)) {
            return;
        }
        fallBackDestination();
    }

private:
    bool usable(const PlaceEntry& entry) {
        if (entry.fault == PlaceEntry::Fault::None)
            return true;
        m_log.append(PlaceLocation::Split, ErrorLog::BadFormat, describeFault(entry));
        return false;
    }

    void take(QString& field, const QString& name, bool ownDestination) {
        field = name;
        if (ownDestination)
            m_fields.destination = name;
    }

    const CitySection* province() {
        const Hit hit = exactHit(m_table.provinces, m_address);
        if (!hit || !usable(*hit.entry))
            return nullptr;
        take(m_fields.province, hit.entry->name, hit.entry->ownDestination);
        m_address.remove(0, hit.length);
        if (hit.entry->reference == 0)
            return nullptr;
        return &m_table.sections.at(hit.entry->reference - 1);
    }

    // False when the call must end; `counties` is set when the city has a county list.
    bool city(const CitySection& section, const QList<PlaceEntry>*& counties) {
        const Hit hit = cityHit(section.cities, m_address);
        if (!hit)
            return true;
        if (!usable(*hit.entry))
            return false;
        const QString name = hit.name();
        take(m_fields.city, name, hit.entry->ownDestination);
        if (hit.entry->reference != 0)
            counties = &section.countyLists.at(hit.entry->reference - 1);
        // Only where it stands: 吉安 in 吉安吉安县 must leave the county whole.
        m_address.remove(0, name.size());
        return true;
    }

    bool county(const QList<PlaceEntry>& counties) {
        const Hit hit = countyHit(counties, m_address);
        if (!hit)
            return true;
        if (!usable(*hit.entry))
            return false;
        const QString name = hit.name();
        take(m_fields.county, name, hit.entry->ownDestination);
        m_address.remove(name);
        return true;
    }

    // The address skipped the city: the first city whose county list names
    // the county completes it. False when none does, or on a faulty entry.
    bool countyInAnyCity(const CitySection& section) {
        for (const PlaceEntry& city : section.cities) {
            if (city.fault == PlaceEntry::Fault::None && city.reference == 0)
                continue;
            if (!usable(city))
                return false;
            const QList<PlaceEntry>& counties = section.countyLists.at(city.reference - 1);
            const Hit hit = countyHit(counties, m_address);
            if (!hit)
                continue;
            if (!usable(*hit.entry))
                return false;
            const QString name = hit.name();
            take(m_fields.county, name, hit.entry->ownDestination);
            m_fields.city = city.name;
            m_address.remove(name);
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
};

} // namespace

void SplitAddress(const PlaceTable& table, PlaceFields& fields, QString& address,
                  const ErrorLog& log) {
    Split(table, fields, address, log).run();
}

} // namespace mldd
