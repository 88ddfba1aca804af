#include "HtmlWorkbook.h"

#include "CsvWorkbook.h"
#include "HtmlTable.h"
#include "SheetTextEncoding.h"

#include "core/TextFile.h"

namespace mldd {

namespace {

// Where a page names its charset: its head, well before the table.
constexpr qsizetype kHeadBytes = 4096;

} // namespace

HtmlWorkbook::HtmlWorkbook(QString path, QList<QStringList> rows)
    : m_path(std::move(path)), m_sheetName(CsvWorkbook::sheetNameOf(m_path)),
      m_rows(std::move(rows)) {}

std::variant<std::unique_ptr<HtmlWorkbook>, Notice> HtmlWorkbook::open(const QString& path) {
    QString why;
    std::optional<QByteArray> read = TextFile::readBytes(path, &why, Workbook::kMaxBytes);
    if (!read)
        return WorkbookMessages::unreadable(why);
    const bool gb =
        HtmlTable::declaresGb(QByteArrayView(*read).first(std::min(kHeadBytes, read->size())));
    const std::optional<SheetTextEncoding::Decoded> decoded =
        SheetTextEncoding::decode(std::move(*read), gb);
    if (!decoded)
        return WorkbookMessages::unknownFormat(path);
    QList<QStringList> rows = HtmlTable::rows(decoded->text);
    if (rows.isEmpty())
        return WorkbookMessages::webPage(path);
    return std::unique_ptr<HtmlWorkbook>(new HtmlWorkbook(path, std::move(rows)));
}

std::variant<SheetTable, Notice> HtmlWorkbook::read(const QString& sheet) const {
    if (sheet != m_sheetName)
        return WorkbookMessages::noSuchSheet(m_path, sheet);
    return textSheet(
        m_path, sheet, int(m_rows.size()), [&](int row) { return int(m_rows.at(row).size()); },
        [&](int row, int column) { return m_rows.at(row).at(column); });
}

} // namespace mldd
