#include "HtmlTable.h"

#include <QHash>

namespace mldd::HtmlTable {

namespace {

constexpr int kLongestEntity = 10;
// Colspans beyond this are a made-up page; the column limit of a sheet stops it later.
constexpr int kWidestSpan = 1024;

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

bool isNameChar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// The character an entity at `at` (on its "&") stands for, and how long it is written;
// none for an ampersand that starts no entity, which then stands for itself.
std::optional<std::pair<QString, qsizetype>> entityAt(QStringView page, qsizetype at) {
    static const QHash<QString, QChar> kNamed{
        {QStringLiteral("amp"), u'&'},    {QStringLiteral("lt"), u'<'},
        {QStringLiteral("gt"), u'>'},     {QStringLiteral("quot"), u'"'},
        {QStringLiteral("apos"), u'\''},  {QStringLiteral("nbsp"), u' '},
        {QStringLiteral("yen"), u'¥'},    {QStringLiteral("times"), u'×'},
        {QStringLiteral("middot"), u'·'}, {QStringLiteral("hellip"), u'…'},
        {QStringLiteral("mdash"), u'—'},  {QStringLiteral("ndash"), u'–'},
        {QStringLiteral("ldquo"), u'“'},  {QStringLiteral("rdquo"), u'”'},
        {QStringLiteral("lsquo"), u'‘'},  {QStringLiteral("rsquo"), u'’'},
        {QStringLiteral("copy"), u'©'},   {QStringLiteral("reg"), u'®'},
        {QStringLiteral("deg"), u'°'},
    };
    const qsizetype semicolon = page.indexOf(u';', at + 1);
    if (semicolon < 0 || semicolon - at > kLongestEntity)
        return std::nullopt;
    const QStringView name = page.sliced(at + 1, semicolon - at - 1);
    const qsizetype length = semicolon - at + 1;
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X')
                              ? name.sliced(2).toUInt(&ok, 16)
                              : name.sliced(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF)
            return std::nullopt;
        const char32_t character = code;
        return std::pair{QString::fromUcs4(&character, 1), length};
    }
    const auto named = kNamed.constFind(name.toString().toLower());
    if (named == kNamed.constEnd())
        return std::nullopt;
    return std::pair{QString(*named), length};
}

// An attribute's value in a tag's text (what follows the tag's name), unquoted; empty when absent.
QString attribute(QStringView tag, QStringView name) {
    for (qsizetype at = tag.indexOf(name, 0, Qt::CaseInsensitive); at >= 0;
         at = tag.indexOf(name, at + 1, Qt::CaseInsensitive)) {
        if (at > 0 && !isBlank(tag.at(at - 1)))
            continue;
        qsizetype i = at + name.size();
        while (i < tag.size() && isBlank(tag.at(i)))
            ++i;
        if (i >= tag.size() || tag.at(i) != u'=')
            continue;
        ++i;
        while (i < tag.size() && isBlank(tag.at(i)))
            ++i;
        if (i < tag.size() && (tag.at(i) == u'"' || tag.at(i) == u'\'')) {
            const qsizetype close = tag.indexOf(tag.at(i), i + 1);
            return tag.sliced(i + 1, (close < 0 ? tag.size() : close) - i - 1).toString();
        }
        qsizetype end = i;
        while (end < tag.size() && !isBlank(tag.at(end)) && tag.at(end) != u'>')
            ++end;
        return tag.sliced(i, end - i).toString();
    }
    return QString();
}

// Where a tag that begins at `from` (after its name) ends: its ">", quoted values passed over.
qsizetype tagEnd(QStringView page, qsizetype from) {
    QChar quote;
    for (qsizetype i = from; i < page.size(); ++i) {
        const QChar c = page.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            // A quote only opens a value right after "=" (a stray one in loose HTML does not).
            qsizetype before = i - 1;
            while (before >= from && isBlank(page.at(before)))
                --before;
            if (before >= from && page.at(before) == u'=')
                quote = c;
        } else if (c == u'>') {
            return i;
        }
    }
    return page.size();
}

/** The rows as they are read: the open row and cell and the blanks pending in it. */
class Reader {
public:
    void startRow() {
        endRow();
        m_rows.append(QStringList());
        m_inRow = true;
    }
    void endRow() {
        endCell();
        m_inRow = false;
    }
    void startCell(int span) {
        endCell();
        if (!m_inRow)
            startRow();
        m_inCell = true;
        m_span = std::clamp(span, 1, kWidestSpan);
    }
    void endCell() {
        if (!m_inCell)
            return;
        QStringList& row = m_rows.last();
        row.append(m_cell.trimmed());
        for (int more = 1; more < m_span; ++more)
            row.append(QString());
        m_cell.clear();
        m_blank = false;
        m_inCell = false;
    }
    void lineBreak() {
        if (!m_inCell)
            return;
        m_cell += u'\n';
        m_blank = false;
    }
    void separate() { m_blank = true; }
    // Text of the page: blanks between words shown as one space, as a browser shows them.
    void text(QChar c) {
        if (!m_inCell)
            return;
        if (isBlank(c)) {
            m_blank = true;
            return;
        }
        if (m_blank && !m_cell.isEmpty() && !m_cell.endsWith(u'\n'))
            m_cell += u' ';
        m_blank = false;
        m_cell += c;
    }
    // An entity's character: an &nbsp; is a space no browser runs together.
    void character(const QString& text) {
        if (!m_inCell)
            return;
        if (m_blank && !m_cell.isEmpty() && !m_cell.endsWith(u'\n'))
            m_cell += u' ';
        m_blank = false;
        m_cell += text;
    }
    QList<QStringList> finished() {
        endRow();
        return std::move(m_rows);
    }

private:
    QList<QStringList> m_rows;
    QString m_cell;
    bool m_inRow = false;
    bool m_inCell = false;
    bool m_blank = false;
    int m_span = 1;
};

} // namespace

bool looksLikePage(QByteArrayView head) {
    QByteArray start = head.trimmed().toByteArray().toLower();
    if (start.startsWith("\xef\xbb\xbf"))
        start = start.mid(3).trimmed();
    if (!start.startsWith('<'))
        return false;
    for (const char* tag : {"<html", "<table", "<!doctype", "<meta", "<head", "<body", "<tr"})
        if (start.contains(tag))
            return true;
    return false;
}

bool declaresGb(QByteArrayView head) {
    const QByteArray lower = head.toByteArray().toLower();
    const qsizetype at = lower.indexOf("charset=");
    if (at < 0)
        return false;
    QByteArray name = lower.mid(at + 8, 12);
    while (name.startsWith('"') || name.startsWith('\'') || name.startsWith(' '))
        name.remove(0, 1);
    return name.startsWith("gb") || name.startsWith("cp936") || name.startsWith("x-gbk");
}

QList<QStringList> rows(QStringView page) {
    Reader reader;
    int tables = 0; // how deep in tables the scan stands
    const qsizetype end = page.size();
    qsizetype i = 0;
    while (i < end) {
        const QChar c = page.at(i);
        if (c == u'&') {
            if (const auto entity = entityAt(page, i)) {
                reader.character(entity->first);
                i += entity->second;
            } else {
                reader.text(c);
                ++i;
            }
            continue;
        }
        if (c != u'<') {
            reader.text(c);
            ++i;
            continue;
        }
        if (page.sliced(i).startsWith(u"<!--")) {
            const qsizetype close = page.indexOf(u"-->", i + 4);
            i = close < 0 ? end : close + 3;
            continue;
        }
        const bool closing = i + 1 < end && page.at(i + 1) == u'/';
        const qsizetype nameStart = i + (closing ? 2 : 1);
        if (nameStart < end && (page.at(nameStart) == u'!' || page.at(nameStart) == u'?')) {
            const qsizetype close = page.indexOf(u'>', nameStart);
            i = close < 0 ? end : close + 1;
            continue;
        }
        qsizetype nameEnd = nameStart;
        if (nameStart < end && page.at(nameStart).isLetter())
            while (nameEnd < end && isNameChar(page.at(nameEnd)))
                ++nameEnd;
        if (nameEnd == nameStart) { // a "<" that starts no tag ("<5kg") is text
            reader.text(c);
            ++i;
            continue;
        }
        const QString name = page.sliced(nameStart, nameEnd - nameStart).toString().toLower();
        const qsizetype close = tagEnd(page, nameEnd);
        const QStringView tag = page.sliced(nameEnd, close - nameEnd);
        i = close + 1;
        if (!closing && (name == u"script" || name == u"style")) {
            const qsizetype stop =
                page.indexOf(QStringLiteral("</") + name, i, Qt::CaseInsensitive);
            i = stop < 0 ? end : stop;
            continue;
        }
        if (name == u"table") {
            if (closing) {
                if (tables == 1)
                    reader.endRow();
                tables = std::max(0, tables - 1);
            } else {
                ++tables;
            }
            continue;
        }
        if (name == u"br") {
            reader.lineBreak();
            continue;
        }
        if (name == u"p" || name == u"div") {
            if (closing)
                reader.lineBreak();
            continue;
        }
        if (tables > 1) { // a table inside a cell: its text joins the cell, a space between cells
            if (name == u"td" || name == u"th" || name == u"tr")
                reader.separate();
            continue;
        }
        if (name == u"tr") {
            if (closing)
                reader.endRow();
            else
                reader.startRow();
        } else if (name == u"td" || name == u"th") {
            if (closing)
                reader.endCell();
            else
                reader.startCell(attribute(tag, u"colspan").toInt());
        }
    }
    return reader.finished();
}

} // namespace mldd::HtmlTable
