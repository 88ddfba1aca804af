#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"

#include "PlaceIndex.h"

#include <QList>
#include <QString>

namespace mldd {

struct MainState;

/** One triple of the place-name table: a province, city or county name with its reference. */
struct PlaceEntry {
    /** Why the triple cannot be used; reported only when the splitter reaches it. */
    enum class Fault { None, CutShort, NotANumber, PastEnd };

    QString name;
    int reference = 0;           // section (province) or sub-section (city); 0 when there is none
    bool ownDestination = false; // flag "Z": the place's own name is the destination
    Fault fault = Fault::None;
    QString official; // the place's full name in the table (贵州省 for 贵州)
};

/** The city list of one province with the county lists it refers to. */
struct CitySection {
    QList<PlaceEntry> cities;
    QList<QList<PlaceEntry>> countyLists; // sub-section m is countyLists[m - 1]
};

/** The place-name table of Area.txt, parsed once; the splitter never changes it. */
struct PlaceTable {
    QList<PlaceEntry> provinces;
    QList<CitySection> sections; // section k is sections[k - 1]
    PlaceIndex index;            // built from the two above

    bool isEmpty() const { return provinces.isEmpty(); }
};

/** Location codes of the place-name table in ERR.TXT. */
namespace PlaceLocation {
inline const QString Split = QStringLiteral("12368");
inline const QString Load = QStringLiteral("wmb1");
} // namespace PlaceLocation

/**
 * Reads the table from `path`: lines joined, "[S]" sections, "[D]" sub-sections,
 * "/" triples. A missing file gives an empty table; a file that cannot be read,
 * or that is empty or no place-name table at all (a binary file), is logged
 * under "wmb1" and also gives an empty table. `problem` says which, in the
 * seller's words.
 */
PlaceTable LoadPlaceTable(const QString& path, const ErrorLog& log, QString* problem = nullptr);

/** Where the shipped table lives: code/Area.txt in the data folder. */
inline QString placeTablePath(const DataFolder& folder) {
    return folder.file(QStringLiteral("code/Area.txt"));
}

/** The start-up step that loads the data folder's table into the shared state. */
void loadPlaceTableInto(MainState& state);

/** Parses the joined text of a table (what LoadPlaceTable does after reading). */
PlaceTable parsePlaceTable(const QString& text);

/**
 * How many characters of a city name an address writes without 市, 州 or 地区
 * (阿克苏地区 as 阿克苏); 0 for a name of two characters, which is never shortened:
 * 博州 cut to 博 would claim 博湖县.
 */
qsizetype shortCityLength(QStringView name);

/** A description of a faulty triple for the error log. */
QString describeFault(const PlaceEntry& entry);

} // namespace mldd
