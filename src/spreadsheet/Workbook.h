#pragma once

#include "SheetTable.h"

#include "core/Notice.h"

#include <functional>
#include <memory>
#include <variant>

namespace mldd {

/** A workbook file opened for reading: the sheets a seller sees and their tables. */
class Workbook {
public:
    /** The largest workbook file read: a 1,000,000-row export fits, a runaway file does not. */
    static constexpr qint64 kMaxBytes = 256LL * 1024 * 1024;

    virtual ~Workbook() = default;

    /** The visible sheets in tab order; hidden sheets are left out, as the seller never sees them.
     */
    virtual QStringList sheetNames() const = 0;
    /** The index in sheetNames() of the sheet shown when the file is opened. */
    virtual int activeSheet() const { return 0; }
    /** Reads one sheet whole, or says in the system's words why it cannot be. */
    virtual std::variant<SheetTable, Notice> read(const QString& sheet) const = 0;

    /**
     * Opens .xlsx, .xls, .xml, .csv and .txt by what the file holds, not by its name:
     * a marketplace's ".xls" may be tab-separated text, a web page's table or an XML workbook.
     */
    static std::variant<std::unique_ptr<Workbook>, Notice> open(const QString& path);

    /** The file types a seller can choose, for the file dialog. */
    static QString fileFilter();

protected:
    /**
     * A sheet of a file that is text (.csv, a web page) from its cells, refused
     * where it goes past what a spreadsheet program holds.
     */
    static std::variant<SheetTable, Notice>
    textSheet(const QString& path, const QString& sheet, int rows,
              const std::function<int(int row)>& columns,
              const std::function<QString(int row, int column)>& cell);
};

/** The messages of reading a workbook, in one place. */
namespace WorkbookMessages {
Notice cannotOpen(const QString& path, const QString& reason);
/** The file is no regular file, too large, or unreadable: `why` says so. */
Notice unreadable(const QString& why);
Notice damaged(const QString& path);
Notice tooLarge(const QString& path);
/** A web page without a table. */
Notice webPage(const QString& path);
Notice unknownFormat(const QString& path);
Notice cellTooLong(const QString& path, const QString& sheet, int row, int column);
Notice noSuchSheet(const QString& path, const QString& sheet);
/** One of the above said when writing tracking numbers back: the file is left as it was. */
Notice forWriteBack(Notice notice);
} // namespace WorkbookMessages

} // namespace mldd
