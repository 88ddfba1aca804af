#pragma once

#include "ImportLayout.h"
#include "SheetTable.h"

#include "core/DataFolder.h"
#include "core/ErrorLog.h"
#include "core/SenderProfile.h"

#include <QList>
#include <QStringList>

namespace mldd {

/**
 * The order exports of the marketplaces and the headers of a seller's own
 * sheets, as data (code/ExcelExports.txt, which a seller may edit): which
 * headers name each layout and which headers feed each field. A workbook's
 * header row is looked for in its first rows, so that an export imports with
 * nothing to map.
 */
class ExportLayouts {
public:
    /** One layout: its name, the marketplaces of its order numbers, its key headers and fields. */
    struct Entry {
        QString name;
        QString market;   // "淘宝、天猫"
        QStringList keys; // every one stands in the header row of this layout
        /** Field → the headers it may have, each a "+"-joined list of columns. */
        QList<std::pair<int, QStringList>> fields;
    };

    /** What the header row of a sheet tells. */
    struct Recognition {
        /** The layout to import with: the fields it could place, its name and header row. */
        ImportLayout layout;
        /** An entry's key headers all stand and the orders have what they need. */
        bool recognized = false;
        QStringList headers;  // the header row found (or the first row)
        QStringList unplaced; // the main fields (number, receiver, goods) no header named
    };

    static QString filePath(const DataFolder& folder);
    static ExportLayouts fromText(const QString& text);
    /** The table of the data folder; empty when it is missing or unreadable (the log says why). */
    static ExportLayouts load(const DataFolder& folder, const ErrorLog& log);

    const QList<Entry>& entries() const { return m_entries; }

    /** Looks at the first rows of the sheet for the header row of an entry. */
    Recognition recognize(const SheetTable& sheet) const;

    /**
     * The layout a sheet imports with when nothing is asked: the seller's saved
     * layout for its headers, else the recognised one; the sender is the first
     * profile of its marketplace, else the first profile.
     */
    static Recognition forSheet(const DataFolder& folder, const ErrorLog& log,
                                const SheetTable& sheet, const QList<SenderProfile>& profiles);

    /** "表格中的表头：… 没有找到这些项目的列：…", for a sheet no entry fits. */
    static QString unknownLayoutText(const Recognition& recognition);

    /** How many rows from the top a header row may stand at. */
    static constexpr int kHeaderSearchRows = 10;

private:
    /** The layout an entry gives over one row of headers; placed fields counted in `placed`. */
    static ImportLayout layoutOf(const Entry& entry, const QStringList& headers, int* placed);

    QList<Entry> m_entries;
};

} // namespace mldd
