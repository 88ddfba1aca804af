#include "CsvWorkbook.h"

#include "core/TextCodec.h"
#include "core/TextFile.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace mldd {

QByteArray CsvWorkbook::File::encoded(const QString& text) const {
    switch (encoding) {
    case Encoding::Gb18030:
        return TextCodec::toGb18030(text);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        QStringEncoder utf16(encoding == Encoding::Utf16Le ? QStringEncoder::Utf16LE
                                                           : QStringEncoder::Utf16BE,
                             QStringEncoder::Flag::WriteBom);
        return utf16.encode(text);
    }
    case Encoding::Utf8:
        break;
    }
    return (byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
}

std::variant<CsvWorkbook::File, Notice> CsvWorkbook::readFile(const QString& path) {
    QString why;
    std::optional<QByteArray> read = TextFile::readBytes(path, &why, Workbook::kMaxBytes);
    if (!read)
        return WorkbookMessages::unreadable(why);
    QByteArray bytes = std::move(*read);
    File result;
    QString text;
    // Excel's "Unicode text" and UTF-16 CSV: told by their byte order mark.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        result.encoding = little ? File::Encoding::Utf16Le : File::Encoding::Utf16Be;
        result.byteOrderMark = true;
        QStringDecoder utf16(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        text = utf16(bytes.mid(2));
        if (utf16.hasError())
            return WorkbookMessages::unknownFormat(path);
    } else {
        if (bytes.contains('\0'))
            return WorkbookMessages::unknownFormat(path);
        result.byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
        if (result.byteOrderMark)
            bytes.remove(0, 3);
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8(bytes);
        if (utf8.hasError()) {
            result.encoding = File::Encoding::Gb18030;
            text = TextCodec::fromGb18030(bytes);
        }
    }
    result.csv = CsvText::parse(std::move(text));
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
    SheetTable table;
    table.name = sheet;
    const CsvText& csv = m_file.csv;
    if (csv.records.size() > CellName::kMaxRows)
        return WorkbookMessages::tooLarge(m_path);
    for (int r = 0; r < csv.records.size(); ++r) {
        const int fields = int(csv.records.at(r).fields.size());
        if (fields > CellName::kMaxColumns)
            return WorkbookMessages::tooLarge(m_path);
        for (int c = 0; c < fields; ++c) {
            const QString text = csv.value(r, c);
            if (text.size() > CellName::kMaxCellText)
                return WorkbookMessages::cellTooLong(m_path, sheet, r, c);
            table.setCell(r, c, text);
        }
    }
    return table;
}

} // namespace mldd
