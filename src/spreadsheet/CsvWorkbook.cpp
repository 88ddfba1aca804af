#include "CsvWorkbook.h"

#include "core/TextFile.h"

#include <QFileInfo>

namespace mldd {

std::variant<CsvWorkbook::File, Notice> CsvWorkbook::readFile(const QString& path) {
    QString why;
    std::optional<QByteArray> read = TextFile::readBytes(path, &why, Workbook::kMaxBytes);
    if (!read)
        return WorkbookMessages::unreadable(why);
    std::optional<SheetTextEncoding::Decoded> decoded = SheetTextEncoding::decode(std::move(*read));
    if (!decoded)
        return WorkbookMessages::unknownFormat(path);
    File result;
    static_cast<SheetTextEncoding&>(result) = decoded->form;
    result.csv = CsvText::parse(std::move(decoded->text));
    return result;
}

CsvWorkbook::CsvWorkbook(QString path, File file)
    : m_path(std::move(path)), m_sheetName(sheetNameOf(m_path)), m_file(std::move(file)) {}

QString CsvWorkbook::sheetNameOf(const QString& path) {
    return QFileInfo(path).completeBaseName();
}

std::variant<std::unique_ptr<CsvWorkbook>, Notice> CsvWorkbook::open(const QString& path) {
    std::variant<File, Notice> file = readFile(path);
    if (auto* notice = std::get_if<Notice>(&file))
        return *notice;
    return std::unique_ptr<CsvWorkbook>(new CsvWorkbook(path, std::get<File>(std::move(file))));
}

std::variant<SheetTable, Notice> CsvWorkbook::read(const QString& sheet) const {
    if (sheet != m_sheetName)
        return WorkbookMessages::noSuchSheet(m_path, sheet);
    const CsvText& csv = m_file.csv;
    return textSheet(
        m_path, sheet, int(csv.records.size()),
        [&](int row) { return int(csv.records.at(row).fields.size()); },
        [&](int row, int column) { return csv.value(row, column); });
}

} // namespace mldd
