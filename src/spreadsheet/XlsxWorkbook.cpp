#include "XlsxWorkbook.h"

#include "NumberFormat.h"
#include "XmlScanner.h"

#include <QDir>
#include <QXmlStreamReader>

namespace mldd {

namespace {

// A zip entry named by a relationship target, relative to the part that names it.
QString resolveTarget(const QString& fromPart, const QString& target) {
    if (target.startsWith(u'/'))
        return target.mid(1);
    const QString folder = fromPart.section(u'/', 0, -2);
    return QDir::cleanPath(folder.isEmpty() ? target : folder + u'/' + target);
}

QString relationshipsOf(const QString& part) {
    const QString folder = part.section(u'/', 0, -2);
    const QString file = part.section(u'/', -1);
    return (folder.isEmpty() ? QString() : folder + u'/') + QStringLiteral("_rels/") + file +
           QStringLiteral(".rels");
}

// Relationship id → target entry, and type ending → target entry.
struct Relationships {
    QHash<QString, QString> byId;
    QHash<QString, QString> byType; // the last segment of the type, e.g. "sharedStrings"
};

Relationships readRelationships(const QByteArray& xml, const QString& fromPart) {
    Relationships found;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (a.value(QLatin1String("TargetMode")) == u"External")
            continue;
        const QString target = resolveTarget(fromPart, a.value(QLatin1String("Target")).toString());
        found.byId.insert(a.value(QLatin1String("Id")).toString(), target);
        found.byType.insert(a.value(QLatin1String("Type")).toString().section(u'/', -1), target);
    }
    return found;
}

// The text of an <si> or <is>: its <t> parts, leaving out phonetic runs (<rPh>).
QString richText(XmlScanner& xml) {
    const QByteArrayView element = xml.name();
    QString text;
    int phonetic = 0;
    for (;;) {
        const XmlScanner::Token token = xml.next();
        if (token == XmlScanner::Token::StartElement) {
            if (xml.name() == "rPh")
                ++phonetic;
            else if (xml.name() == "t" && phonetic == 0)
                text += xml.elementText(true);
        } else if (token == XmlScanner::Token::EndElement) {
            if (xml.name() == "rPh")
                --phonetic;
            else if (xml.name() == element)
                return text;
        } else if (token != XmlScanner::Token::Text) {
            return text;
        }
    }
}

// Row and column of a cell name in the part's bytes, without a string made for each cell.
bool parseCellName(QByteArrayView name, int* row, int* column) {
    char16_t wide[16];
    if (name.size() > qsizetype(std::size(wide)) ||
        std::any_of(name.begin(), name.end(), [](char ch) { return ch & 0x80; }))
        return CellName::parse(QString::fromUtf8(name), row, column);
    std::copy(name.begin(), name.end(), wide);
    return CellName::parse(QStringView(wide, name.size()), row, column);
}

// Fills every cell of each merged range (by its corner cells' names) with its top-left text.
void fillMerged(SheetTable& table, const QList<std::pair<QString, QString>>& ranges) {
    for (const auto& [from, to] : ranges) {
        int top = 0, left = 0, bottom = 0, right = 0;
        if (CellName::parse(from, &top, &left) && CellName::parse(to, &bottom, &right))
            table.fillMerged(top, left, bottom, right);
    }
}

} // namespace

XlsxWorkbook::XlsxWorkbook(QString path, std::unique_ptr<ZipArchive> archive)
    : m_path(std::move(path)), m_archive(std::move(archive)) {}

std::variant<std::unique_ptr<XlsxWorkbook>, Notice> XlsxWorkbook::open(const QString& path) {
    std::unique_ptr<ZipArchive> archive = ZipArchive::open(path);
    if (!archive)
        return WorkbookMessages::damaged(path);
    std::unique_ptr<XlsxWorkbook> book(new XlsxWorkbook(path, std::move(archive)));
    for (auto step : {&XlsxWorkbook::readWorkbookPart, &XlsxWorkbook::readSharedStrings,
                      &XlsxWorkbook::readStyles}) {
        if (std::optional<Notice> failure = (book.get()->*step)())
            return *failure;
    }
    return book;
}

std::optional<QByteArray> XlsxWorkbook::entry(const QString& name,
                                              std::optional<Notice>* failure) const {
    ZipArchive::Failure why = ZipArchive::Failure::None;
    std::optional<QByteArray> bytes = m_archive->read(name, ZipArchive::kEntryLimit, &why);
    if (!bytes)
        *failure = why == ZipArchive::Failure::TooLarge ? WorkbookMessages::tooLarge(m_path)
                                                        : WorkbookMessages::damaged(m_path);
    return bytes;
}

std::optional<Notice> XlsxWorkbook::readWorkbookPart() {
    std::optional<Notice> failure;
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    if (m_archive->contains(QStringLiteral("_rels/.rels"))) {
        const std::optional<QByteArray> rels = entry(QStringLiteral("_rels/.rels"), &failure);
        if (!rels)
            return failure;
        workbookPart = readRelationships(*rels, QString())
                           .byType.value(QStringLiteral("officeDocument"), workbookPart);
    }
    const std::optional<QByteArray> xml = entry(workbookPart, &failure);
    if (!xml)
        return failure;
    Relationships rels;
    if (m_archive->contains(relationshipsOf(workbookPart))) {
        const std::optional<QByteArray> relsXml = entry(relationshipsOf(workbookPart), &failure);
        if (!relsXml)
            return failure;
        rels = readRelationships(*relsXml, workbookPart);
    }
    m_sharedStringsEntry = rels.byType.value(QStringLiteral("sharedStrings"));
    m_stylesEntry = rels.byType.value(QStringLiteral("styles"));

    QXmlStreamReader reader(*xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.name() == u"sheet") {
            QString relationId;
            for (const QXmlStreamAttribute& attribute : a)
                if (attribute.name() == u"id")
                    relationId = attribute.value().toString();
            const QString state = a.value(QLatin1String("state")).toString();
            m_sheets.append({a.value(QLatin1String("name")).toString(), rels.byId.value(relationId),
                             state == u"hidden" || state == u"veryHidden"});
        } else if (reader.name() == u"workbookPr") {
            const QStringView date1904 = a.value(QLatin1String("date1904"));
            m_date1904 = date1904 == u"1" || date1904 == u"true";
        } else if (reader.name() == u"workbookView" && a.hasAttribute(QLatin1String("activeTab"))) {
            m_activeTab = a.value(QLatin1String("activeTab")).toInt();
        }
    }
    if (reader.hasError() || m_sheets.isEmpty())
        return WorkbookMessages::damaged(m_path);
    return std::nullopt;
}

std::optional<Notice> XlsxWorkbook::readSharedStrings() {
    if (m_sharedStringsEntry.isEmpty() || !m_archive->contains(m_sharedStringsEntry))
        return std::nullopt;
    std::optional<Notice> failure;
    const std::optional<QByteArray> xml = entry(m_sharedStringsEntry, &failure);
    if (!xml)
        return failure;
    XmlScanner scanner(*xml);
    for (XmlScanner::Token token = scanner.next();
         token != XmlScanner::Token::End && token != XmlScanner::Token::Error;
         token = scanner.next()) {
        if (token == XmlScanner::Token::StartElement && scanner.name() == "si") {
            QString text = richText(scanner);
            if (text.size() > CellName::kMaxCellText)
                return WorkbookMessages::cellTooLong(m_path, QString(), -1, -1);
            m_sharedStrings.append(std::move(text));
        }
    }
    if (scanner.failed())
        return WorkbookMessages::damaged(m_path);
    return std::nullopt;
}

std::optional<Notice> XlsxWorkbook::readStyles() {
    if (m_stylesEntry.isEmpty() || !m_archive->contains(m_stylesEntry))
        return std::nullopt;
    std::optional<Notice> failure;
    const std::optional<QByteArray> xml = entry(m_stylesEntry, &failure);
    if (!xml)
        return failure;
    QHash<int, QString> customFormats;
    QList<int> formatIds;
    bool inCellFormats = false;
    QXmlStreamReader reader(*xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == u"cellXfs")
            inCellFormats = false;
        if (!reader.isStartElement())
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.name() == u"numFmt")
            customFormats.insert(a.value(QLatin1String("numFmtId")).toInt(),
                                 a.value(QLatin1String("formatCode")).toString());
        else if (reader.name() == u"cellXfs")
            inCellFormats = true;
        else if (reader.name() == u"xf" && inCellFormats)
            formatIds.append(a.value(QLatin1String("numFmtId")).toInt());
    }
    if (reader.hasError())
        return WorkbookMessages::damaged(m_path);
    for (int id : formatIds)
        m_cellFormats.append(customFormats.value(id, NumberFormat::builtInCode(id)));
    return std::nullopt;
}

QStringList XlsxWorkbook::sheetNames() const {
    QStringList names;
    for (const SheetPart& sheet : m_sheets)
        if (!sheet.hidden)
            names.append(sheet.name);
    return names;
}

int XlsxWorkbook::activeSheet() const {
    const SheetPart active = m_sheets.value(m_activeTab);
    return active.hidden ? 0 : std::max(0, int(sheetNames().indexOf(active.name)));
}

std::variant<SheetTable, Notice> XlsxWorkbook::read(const QString& sheetName) const {
    const auto part = std::find_if(m_sheets.begin(), m_sheets.end(),
                                   [&](const SheetPart& p) { return p.name == sheetName; });
    if (part == m_sheets.end() || part->hidden)
        return WorkbookMessages::noSuchSheet(m_path, sheetName);
    std::optional<Notice> failure;
    const std::optional<QByteArray> xml = entry(part->entry, &failure);
    if (!xml)
        return *failure;

    SheetTable table;
    table.name = sheetName;
    QList<std::pair<QString, QString>> merged;
    int row = -1;
    int column = -1;
    XmlScanner scanner(*xml);
    for (XmlScanner::Token token = scanner.next();
         token != XmlScanner::Token::End && token != XmlScanner::Token::Error;
         token = scanner.next()) {
        if (token != XmlScanner::Token::StartElement)
            continue;
        const QByteArrayView name = scanner.name();
        if (name == "row") {
            const QByteArrayView number = scanner.attribute("r");
            row = number.isEmpty() ? row + 1 : number.toInt() - 1;
            column = -1;
            if (row < 0 || row >= CellName::kMaxRows)
                return WorkbookMessages::damaged(m_path);
        } else if (name == "c") {
            const QByteArrayView reference = scanner.attribute("r");
            int cellRow = row;
            if (reference.isEmpty())
                ++column;
            else if (!parseCellName(reference, &cellRow, &column) || cellRow != row)
                return WorkbookMessages::damaged(m_path);
            if (row < 0 || column >= CellName::kMaxColumns)
                return WorkbookMessages::damaged(m_path);
            const QByteArrayView type = scanner.attribute("t");
            const int style = scanner.attribute("s").toInt();
            QString value;
            QString inlineText;
            bool formula = false;
            while (scanner.nextChild()) {
                if (scanner.name() == "v")
                    value = scanner.elementText(false);
                else if (scanner.name() == "is")
                    inlineText = richText(scanner);
                else {
                    formula = formula || scanner.name() == "f";
                    scanner.skipElement();
                }
            }
            if (scanner.failed())
                return WorkbookMessages::damaged(m_path);
            if (formula && value.isEmpty() && inlineText.isEmpty())
                table.uncalculated.insert(SheetTable::cellKey(row, column));
            QString text;
            if (type == "s") {
                bool ok = false;
                const int index = value.toInt(&ok);
                if (!ok || index < 0 || index >= m_sharedStrings.size())
                    return WorkbookMessages::damaged(m_path);
                text = m_sharedStrings.at(index);
            } else if (type == "inlineStr") {
                text = inlineText;
            } else if (type == "str") {
                text = value;
            } else if (type == "b") {
                text = value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            } else if (type == "e") {
                text = value;
                table.errors.insert(SheetTable::cellKey(row, column), value);
            } else if (type == "d") {
                text = NumberFormat::isoDateText(value);
            } else if (!value.isEmpty()) {
                bool ok = false;
                const double number = value.toDouble(&ok);
                text =
                    ok ? NumberFormat::format(number, value, m_cellFormats.value(style), m_date1904)
                       : value;
            }
            if (text.size() > CellName::kMaxCellText)
                return WorkbookMessages::cellTooLong(m_path, sheetName, row, column);
            table.setCell(row, column, text);
        } else if (name == "mergeCell") {
            const QString range = QString::fromUtf8(scanner.attribute("ref"));
            merged.append({range.section(u':', 0, 0), range.section(u':', -1)});
        }
    }
    if (scanner.failed())
        return WorkbookMessages::damaged(m_path);
    fillMerged(table, merged);
    return table;
}

} // namespace mldd
