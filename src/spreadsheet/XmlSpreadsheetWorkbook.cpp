#include "XmlSpreadsheetWorkbook.h"

#include "NumberFormat.h"
#include "XmlScanner.h"

#include "core/TextCodec.h"
#include "core/TextFile.h"

#include <QRegularExpression>

#include <array>

namespace mldd {

namespace {

constexpr QByteArrayView kXmlSpreadsheetNamespace = "urn:schemas-microsoft-com:office:spreadsheet";

// An attribute of the workbook's namespace, named "ss:..." as every program writes it; bare
// names are taken too.
QByteArrayView xmlSheetAttribute(const XmlScanner& xml, QByteArrayView prefixed) {
    const QByteArrayView value = xml.attribute(prefixed);
    return value.isEmpty() ? xml.attribute(prefixed.sliced(3)) : value;
}

// A 1-based ss:Index as a position from 0, or `implicit` when there is none; -1 when it is no
// position or one before `first`: rows and cells only go forward.
int xmlSheetPosition(QByteArrayView index, int implicit, int first) {
    if (index.isEmpty())
        return implicit;
    bool ok = false;
    const int position = index.toInt(&ok) - 1;
    return ok && position >= first ? position : -1;
}

// A count such as ss:MergeAcross; -1 when it is no count.
int xmlSheetCount(QByteArrayView count) {
    if (count.isEmpty())
        return 0;
    bool ok = false;
    const int n = count.toInt(&ok);
    return ok && n >= 0 ? n : -1;
}

enum class XmlSheetType { String, Number, DateTime, Boolean, Error };

XmlSheetType xmlSheetTypeOf(QByteArrayView type) {
    if (type == "Number")
        return XmlSheetType::Number;
    if (type == "DateTime")
        return XmlSheetType::DateTime;
    if (type == "Boolean")
        return XmlSheetType::Boolean;
    return type == "Error" ? XmlSheetType::Error : XmlSheetType::String;
}

// The format code of a style's number format: named formats as a Chinese spreadsheet program
// shows them, anything else a code of its own.
QString xmlSheetFormatCode(const QString& format) {
    static const QHash<QString, QString> named{
        {QStringLiteral("General"), QString()},
        {QStringLiteral("General Number"), QString()},
        {QStringLiteral("General Date"), NumberFormat::builtInCode(22)},
        {QStringLiteral("Short Date"), NumberFormat::builtInCode(14)},
        {QStringLiteral("Long Date"), NumberFormat::builtInCode(31)},
        {QStringLiteral("Short Time"), NumberFormat::builtInCode(20)},
        {QStringLiteral("Long Time"), NumberFormat::builtInCode(21)},
        {QStringLiteral("Fixed"), NumberFormat::builtInCode(2)},
        {QStringLiteral("Standard"), NumberFormat::builtInCode(4)},
        {QStringLiteral("Percent"), NumberFormat::builtInCode(10)}};
    return named.value(format, format);
}

// The text of a cell's data as the other readers give a cell of its type and number format.
QString xmlSheetCellText(XmlSheetType type, const QString& data, const QString& format) {
    switch (type) {
    case XmlSheetType::Number: {
        bool ok = false;
        const QString raw = data.trimmed();
        const double number = raw.toDouble(&ok);
        return ok ? NumberFormat::format(number, raw, format, false) : data;
    }
    case XmlSheetType::DateTime: {
        const QString iso = data.trimmed();
        const std::optional<double> serial =
            NumberFormat::isDateFormat(format) ? NumberFormat::serialOfIsoDate(iso) : std::nullopt;
        return serial ? NumberFormat::format(*serial, QString(), format, false)
                      : NumberFormat::isoDateText(iso);
    }
    case XmlSheetType::Boolean:
        return data.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case XmlSheetType::String:
    case XmlSheetType::Error:
        break;
    }
    return data;
}

// Encodings that Chinese programs name in the declaration instead of writing UTF-8.
bool xmlSheetDeclaresGb(QByteArrayView head) {
    static const QRegularExpression declared(
        QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"'](gb2312|gbk|gb18030)[\"']"),
        QRegularExpression::CaseInsensitiveOption);
    return declared.match(QString::fromLatin1(head)).hasMatch();
}

// Every worksheet of the file, or the notice that refuses it.
std::variant<QList<XmlSpreadsheetWorkbook::Sheet>, Notice>
readXmlSheets(const QString& path, const QByteArray& bytes, int* activeTab) {
    QList<XmlSpreadsheetWorkbook::Sheet> sheets;
    XmlSpreadsheetWorkbook::Sheet* sheet = nullptr;
    // The last row a merge down from a row above takes, by column: the next cell written goes
    // past the columns it takes.
    QList<int> coveredUntil;
    // The sheet's merged ranges: top, left, bottom, right.
    QList<std::array<int, 4>> merged;
    int row = -1;
    int nextColumn = 0;
    QHash<QString, QString> formats; // number format code by style id
    QString styleId;
    XmlScanner xml(bytes);
    for (XmlScanner::Token token = xml.next();
         token != XmlScanner::Token::End && token != XmlScanner::Token::Error; token = xml.next()) {
        if (token == XmlScanner::Token::EndElement && xml.name() == "Worksheet") {
            // A merged cell reads as the sheet shows it, as the .xlsx reader gives it.
            for (const auto& [top, left, bottom, right] : merged) {
                if (sheet)
                    sheet->table.fillMerged(top, left, bottom, right);
            }
            merged.clear();
            sheet = nullptr;
            continue;
        }
        if (token != XmlScanner::Token::StartElement)
            continue;
        const QByteArrayView name = xml.name();
        if (name == "Worksheet") {
            sheets.append(XmlSpreadsheetWorkbook::Sheet());
            sheet = &sheets.last();
            sheet->table.name = QString::fromUtf8(xmlSheetAttribute(xml, "ss:Name"));
            coveredUntil.clear();
            row = -1;
        } else if (name == "Style") {
            styleId = QString::fromUtf8(xmlSheetAttribute(xml, "ss:ID"));
        } else if (name == "NumberFormat") {
            formats.insert(styleId, xmlSheetFormatCode(
                                        QString::fromUtf8(xmlSheetAttribute(xml, "ss:Format"))));
        } else if (name == "ActiveSheet") {
            *activeTab = xml.elementText(false).trimmed().toInt();
        } else if (name == "Visible" && sheet) {
            const QString visible = xml.elementText(false).trimmed();
            sheet->hidden = visible == u"SheetHidden" || visible == u"SheetVeryHidden";
        } else if (name == "Row") {
            row = xmlSheetPosition(xmlSheetAttribute(xml, "ss:Index"), row + 1, row + 1);
            if (!sheet || row < 0)
                return WorkbookMessages::damaged(path);
            if (row >= CellName::kMaxRows)
                return WorkbookMessages::tooLarge(path);
            nextColumn = 0;
        } else if (name == "Cell") {
            int free = nextColumn;
            while (free < coveredUntil.size() && coveredUntil.at(free) >= row)
                ++free;
            const int column =
                xmlSheetPosition(xmlSheetAttribute(xml, "ss:Index"), free, nextColumn);
            const int across = xmlSheetCount(xmlSheetAttribute(xml, "ss:MergeAcross"));
            const int down = xmlSheetCount(xmlSheetAttribute(xml, "ss:MergeDown"));
            const bool formula = !xmlSheetAttribute(xml, "ss:Formula").isEmpty();
            // A cell without a style of its own has the workbook's default one.
            const QByteArrayView style = xmlSheetAttribute(xml, "ss:StyleID");
            const QString format = formats.isEmpty()
                                       ? QString()
                                       : formats.value(style.isEmpty() ? QStringLiteral("Default")
                                                                       : QString::fromUtf8(style));
            if (!sheet || row < 0 || column < 0 || across < 0 || down < 0)
                return WorkbookMessages::damaged(path);
            if (qint64(column) + across >= CellName::kMaxColumns)
                return WorkbookMessages::tooLarge(path);
            XmlSheetType type = XmlSheetType::String;
            QString data;
            bool hasData = false;
            while (xml.nextChild()) {
                // A comment holds data of its own: only the cell's own counts.
                if (xml.name() == "Data") {
                    type = xmlSheetTypeOf(xmlSheetAttribute(xml, "ss:Type"));
                    data = xml.elementText(true);
                    hasData = true;
                } else {
                    xml.skipElement();
                }
            }
            if (xml.failed())
                return WorkbookMessages::damaged(path);
            const quint64 key = SheetTable::cellKey(row, column);
            if (formula && !hasData)
                sheet->table.uncalculated.insert(key);
            if (type == XmlSheetType::Error)
                sheet->table.errors.insert(key, data);
            const QString text = xmlSheetCellText(type, data, format);
            if (text.size() > CellName::kMaxCellText)
                return WorkbookMessages::cellTooLong(path, sheet->table.name, row, column);
            sheet->table.setCell(row, column, text);
            if (across > 0 || down > 0)
                merged.append({row, column, row + down, column + across});
            if (down > 0) {
                if (coveredUntil.size() <= column + across)
                    coveredUntil.resize(column + across + 1, -1);
                for (int c = column; c <= column + across; ++c)
                    coveredUntil[c] =
                        std::max(coveredUntil.at(c), row + std::min(down, CellName::kMaxRows));
            }
            nextColumn = column + across + 1;
        }
    }
    if (xml.failed() || sheets.isEmpty())
        return WorkbookMessages::damaged(path);
    return sheets;
}

} // namespace

bool XmlSpreadsheetWorkbook::looksLikeOne(QByteArrayView head) {
    const QByteArray utf8 = XmlScanner::asUtf8(head.toByteArray());
    head = utf8;
    static const QRegularExpression workbookElement(
        QStringLiteral("<([A-Za-z_][\\w.-]*:)?Workbook[\\s>]"));
    return head.contains(kXmlSpreadsheetNamespace) &&
           workbookElement.match(QString::fromUtf8(head)).hasMatch();
}

XmlSpreadsheetWorkbook::XmlSpreadsheetWorkbook(QString path, QList<Sheet> sheets, int activeTab)
    : m_path(std::move(path)), m_sheets(std::move(sheets)), m_activeTab(activeTab) {}

std::variant<std::unique_ptr<XmlSpreadsheetWorkbook>, Notice>
XmlSpreadsheetWorkbook::open(const QString& path) {
    QString why;
    std::optional<QByteArray> bytes = TextFile::readBytes(path, &why, Workbook::kMaxBytes);
    if (!bytes)
        return WorkbookMessages::unreadable(why);
    if (xmlSheetDeclaresGb(QByteArrayView(*bytes).first(std::min<qsizetype>(200, bytes->size()))))
        bytes = TextCodec::fromGb18030(*bytes).toUtf8();
    int activeTab = 0;
    std::variant<QList<Sheet>, Notice> sheets = readXmlSheets(path, *bytes, &activeTab);
    if (auto* notice = std::get_if<Notice>(&sheets))
        return *notice;
    return std::unique_ptr<XmlSpreadsheetWorkbook>(
        new XmlSpreadsheetWorkbook(path, std::move(std::get<QList<Sheet>>(sheets)), activeTab));
}

QStringList XmlSpreadsheetWorkbook::sheetNames() const {
    QStringList names;
    for (const Sheet& sheet : m_sheets)
        if (!sheet.hidden)
            names.append(sheet.table.name);
    return names;
}

int XmlSpreadsheetWorkbook::activeSheet() const {
    if (m_activeTab < 0 || m_activeTab >= m_sheets.size() || m_sheets.at(m_activeTab).hidden)
        return 0;
    return std::max(0, int(sheetNames().indexOf(m_sheets.at(m_activeTab).table.name)));
}

std::variant<SheetTable, Notice> XmlSpreadsheetWorkbook::read(const QString& name) const {
    const auto sheet = std::find_if(m_sheets.begin(), m_sheets.end(), [&](const Sheet& s) {
        return s.table.name == name && !s.hidden;
    });
    if (sheet == m_sheets.end())
        return WorkbookMessages::noSuchSheet(m_path, name);
    return sheet->table;
}

} // namespace mldd
