#include "SheetXmlEdit.h"

#include "SheetTable.h"
#include "TextSplices.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace mldd::SheetXmlEdit {

namespace {

struct CellAt {
    int column;
    qsizetype start;
    qsizetype end;
};

struct RowAt {
    int row;
    qsizetype start;   // of its start tag
    qsizetype tagEnd;  // after its start tag
    qsizetype closeAt; // of its end tag (== end when the row is written <row/>)
    qsizetype end;
    QList<CellAt> cells;
};

// Where the parts of a worksheet stand in its text.
struct SheetLayout {
    QString prefix; // the namespace prefix of the elements, "x:" or empty
    QList<RowAt> rows;
    qsizetype sheetDataStart = -1;
    qsizetype sheetDataClose = -1;
    qsizetype colsClose = -1;
    QList<std::pair<int, qsizetype>> cols; // min of each <col> and where it starts
    QList<std::pair<int, int>> colRanges;
    qsizetype dimensionStart = -1;
    qsizetype dimensionEnd = -1;
};

std::optional<SheetLayout> layoutOf(const QString& xml) {
    SheetLayout layout;
    QXmlStreamReader reader(xml);
    int row = -1;
    int column = -1;
    qsizetype cellStart = -1;
    while (!reader.atEnd()) {
        const qsizetype start = qsizetype(reader.characterOffset());
        reader.readNext();
        const qsizetype end = qsizetype(reader.characterOffset());
        const QStringView name = reader.name();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes a = reader.attributes();
            if (name == u"worksheet") {
                layout.prefix = reader.qualifiedName().chopped(name.size()).toString();
            } else if (name == u"row") {
                const QStringView number = a.value(QLatin1String("r"));
                row = number.isEmpty() ? row + 1 : number.toInt() - 1;
                column = -1;
                layout.rows.append({row, start, end, end, end, {}});
            } else if (name == u"c") {
                const QStringView reference = a.value(QLatin1String("r"));
                int cellRow = row;
                if (reference.isEmpty())
                    ++column;
                else if (!CellName::parse(reference, &cellRow, &column))
                    return std::nullopt;
                cellStart = start;
            } else if (name == u"sheetData") {
                layout.sheetDataStart = start;
            } else if (name == u"col") {
                const int min = a.value(QLatin1String("min")).toInt();
                layout.cols.append({min, start});
                layout.colRanges.append({min, a.value(QLatin1String("max")).toInt()});
            } else if (name == u"dimension") {
                layout.dimensionStart = start;
                layout.dimensionEnd = end;
            }
        } else if (reader.isEndElement()) {
            if (name == u"c" && !layout.rows.isEmpty()) {
                layout.rows.last().cells.append({column, cellStart, end});
            } else if (name == u"row" && !layout.rows.isEmpty()) {
                layout.rows.last().closeAt = start;
                layout.rows.last().end = end;
            } else if (name == u"sheetData") {
                layout.sheetDataClose = start == end ? -1 : start;
            } else if (name == u"cols") {
                layout.colsClose = start;
            }
        }
    }
    if (reader.hasError() || layout.sheetDataClose < 0)
        return std::nullopt;
    return layout;
}

QString cellXml(const QString& prefix, int row, int column, int style, const QString& text) {
    const QString styleText = style >= 0 ? QStringLiteral(" s=\"%1\"").arg(style) : QString();
    return QStringLiteral("<%1c r=\"%2\"%3 t=\"inlineStr\"><%1is><%1t xml:space=\"preserve\">%4"
                          "</%1t></%1is></%1c>")
        .arg(prefix, CellName::of(row, column), styleText, escaped(text));
}

int styleOf(const QString& xml, const CellAt& cell, int fallback) {
    static const QRegularExpression styleAttribute(QStringLiteral("\\ss=\"(\\d+)\""));
    const QString startTag = xml.mid(cell.start, xml.indexOf(u'>', cell.start) - cell.start);
    const QRegularExpressionMatch match = styleAttribute.match(startTag);
    return match.hasMatch() ? match.captured(1).toInt() : fallback;
}

// A row's start tag whose spans (a hint of its first and last column) reach `lastColumn`.
QString widenedSpans(QString startTag, int lastColumn) {
    static const QRegularExpression spans(QStringLiteral("spans=\"(\\d+):(\\d+)\""));
    const QRegularExpressionMatch match = spans.match(startTag);
    if (!match.hasMatch() || match.captured(2).toInt() >= lastColumn + 1)
        return startTag;
    return startTag.replace(
        match.capturedStart(), match.capturedLength(),
        QStringLiteral("spans=\"%1:%2\"").arg(match.captured(1)).arg(lastColumn + 1));
}

void writeRow(const QString& xml, const SheetLayout& layout, const RowAt& row,
              const QMap<int, QString>& cells, int textStyle, TextSplices& splices) {
    const QString& p = layout.prefix;
    const bool selfClosing = row.closeAt == row.end;
    QString startTag = xml.mid(row.start, row.tagEnd - row.start);
    if (selfClosing) {
        startTag.chop(2);
        startTag = startTag.trimmed() + u'>';
    }
    startTag = widenedSpans(startTag, cells.lastKey());
    splices.replace(row.start, row.tagEnd - row.start, startTag);
    for (auto it = cells.constBegin(); it != cells.constEnd(); ++it) {
        const int column = it.key();
        const auto same = std::find_if(row.cells.begin(), row.cells.end(),
                                       [&](const CellAt& c) { return c.column == column; });
        if (same != row.cells.end()) {
            splices.replace(same->start, same->end - same->start,
                            cellXml(p, row.row, column, styleOf(xml, *same, textStyle), *it));
            continue;
        }
        const auto after = std::find_if(row.cells.begin(), row.cells.end(),
                                        [&](const CellAt& c) { return c.column > column; });
        const QString cell = cellXml(p, row.row, column, textStyle, *it);
        if (after != row.cells.end())
            splices.insert(after->start, cell);
        else if (selfClosing)
            splices.insert(row.end, cell);
        else
            splices.insert(row.closeAt, cell);
    }
    if (selfClosing)
        splices.insert(row.end, QStringLiteral("</%1row>").arg(p));
}

void writeColumns(const SheetLayout& layout, const QList<int>& newColumns, int textStyle,
                  double width, TextSplices& splices) {
    const QString& p = layout.prefix;
    for (int column : newColumns) {
        const int number = column + 1;
        const bool covered =
            std::any_of(layout.colRanges.begin(), layout.colRanges.end(),
                        [&](const auto& r) { return r.first <= number && number <= r.second; });
        if (covered)
            continue;
        QString col = QStringLiteral("<%1col min=\"%2\" max=\"%2\" width=\"%3\" customWidth=\"1\"")
                          .arg(p)
                          .arg(number)
                          .arg(width);
        if (textStyle >= 0)
            col += QStringLiteral(" style=\"%1\"").arg(textStyle);
        col += QStringLiteral("/>");
        if (layout.colsClose < 0) {
            splices.insert(layout.sheetDataStart,
                           QStringLiteral("<%1cols>%2</%1cols>").arg(p, col));
            continue;
        }
        const auto after = std::find_if(layout.cols.begin(), layout.cols.end(),
                                        [&](const auto& c) { return c.first > number; });
        splices.insert(after != layout.cols.end() ? after->second : layout.colsClose, col);
    }
}

void widenDimension(const QString& xml, const SheetLayout& layout, int lastColumn,
                    TextSplices& splices) {
    if (layout.dimensionStart < 0)
        return;
    static const QRegularExpression reference(
        QStringLiteral("ref=\"([A-Z]+)(\\d+)(?::([A-Z]+)(\\d+))?\""));
    QString tag = xml.mid(layout.dimensionStart, layout.dimensionEnd - layout.dimensionStart);
    const QRegularExpressionMatch match = reference.match(tag);
    if (!match.hasMatch())
        return;
    const QString endLetters = match.captured(3).isEmpty() ? match.captured(1) : match.captured(3);
    const QString endRow = match.captured(4).isEmpty() ? match.captured(2) : match.captured(4);
    const int endColumn = std::max(CellName::columnOf(endLetters), lastColumn);
    tag.replace(
        match.capturedStart(), match.capturedLength(),
        QStringLiteral("ref=\"%1%2:%3%4\"")
            .arg(match.captured(1), match.captured(2), CellName::columnLetters(endColumn), endRow));
    splices.replace(layout.dimensionStart, layout.dimensionEnd - layout.dimensionStart, tag);
}

} // namespace

QString escaped(const QString& text) {
    QString out = text;
    out.replace(u'&', QStringLiteral("&amp;"));
    out.replace(u'<', QStringLiteral("&lt;"));
    out.replace(u'>', QStringLiteral("&gt;"));
    return out;
}

std::optional<QByteArray> writeCells(const QByteArray& sheetXml, const CellEdits& edits,
                                     int textStyle, const QList<int>& newColumns, double width) {
    const QString xml = QString::fromUtf8(sheetXml);
    const std::optional<SheetLayout> layout = layoutOf(xml);
    if (!layout)
        return std::nullopt;
    TextSplices splices;
    int lastColumn = 0;
    for (auto it = edits.constBegin(); it != edits.constEnd(); ++it) {
        if (it->isEmpty())
            continue;
        lastColumn = std::max(lastColumn, it->lastKey());
        // Rows stand in ascending order in a worksheet.
        const auto row = std::lower_bound(
            layout->rows.begin(), layout->rows.end(), it.key(),
            [](const RowAt& r, int number) { return r.row < number; });
        if (row != layout->rows.end() && row->row == it.key()) {
            writeRow(xml, *layout, *row, *it, textStyle, splices);
            continue;
        }
        QString cells;
        for (auto cell = it->constBegin(); cell != it->constEnd(); ++cell)
            cells += cellXml(layout->prefix, it.key(), cell.key(), textStyle, *cell);
        splices.insert(row != layout->rows.end() ? row->start : layout->sheetDataClose,
                       QStringLiteral("<%1row r=\"%2\">%3</%1row>")
                           .arg(layout->prefix)
                           .arg(it.key() + 1)
                           .arg(cells));
    }
    writeColumns(*layout, newColumns, textStyle, width, splices);
    widenDimension(xml, *layout, lastColumn, splices);
    return splices.applied(xml).toUtf8();
}

std::optional<std::pair<QByteArray, int>> addTextStyle(const QByteArray& stylesXml) {
    const QString xml = QString::fromUtf8(stylesXml);
    QXmlStreamReader reader(xml);
    QString prefix;
    qsizetype tagStart = -1;
    qsizetype tagEnd = -1;
    qsizetype close = -1;
    int depth = 0;
    int count = 0;
    while (!reader.atEnd()) {
        const qsizetype start = qsizetype(reader.characterOffset());
        reader.readNext();
        const qsizetype end = qsizetype(reader.characterOffset());
        if (reader.isStartElement()) {
            if (reader.name() == u"cellXfs") {
                prefix = reader.qualifiedName().chopped(reader.name().size()).toString();
                tagStart = start;
                tagEnd = end;
                depth = 1;
            } else if (depth > 0) {
                if (depth == 1 && reader.name() == u"xf")
                    ++count;
                ++depth;
            }
        } else if (reader.isEndElement() && depth > 0) {
            if (--depth == 0) {
                close = start == end ? -1 : start;
                break;
            }
        }
    }
    if (reader.hasError() || close < 0)
        return std::nullopt;
    static const QRegularExpression countAttribute(QStringLiteral("count=\"\\d+\""));
    QString startTag = xml.mid(tagStart, tagEnd - tagStart);
    startTag.replace(countAttribute, QStringLiteral("count=\"%1\"").arg(count + 1));
    TextSplices splices;
    splices.replace(tagStart, tagEnd - tagStart, startTag);
    splices.insert(close, QStringLiteral("<%1xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" "
                                         "borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>")
                              .arg(prefix));
    return std::pair{splices.applied(xml).toUtf8(), count};
}

} // namespace mldd::SheetXmlEdit
