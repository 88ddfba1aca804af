#include "XmlScanner.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace mldd {

namespace {

bool isSpace(char ch) {
    return ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t';
}

QByteArrayView localPart(QByteArrayView name) {
    const auto colon = std::find(name.rbegin(), name.rend(), ':');
    return colon == name.rend() ? name : name.sliced(name.rend() - colon);
}

void appendUtf8(char32_t code, QByteArray* out) {
    if (code < 0x80) {
        out->append(char(code));
    } else if (code < 0x800) {
        out->append(char(0xC0 | (code >> 6)));
        out->append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->append(char(0xE0 | (code >> 12)));
        out->append(char(0x80 | ((code >> 6) & 0x3F)));
        out->append(char(0x80 | (code & 0x3F)));
    } else {
        out->append(char(0xF0 | (code >> 18)));
        out->append(char(0x80 | ((code >> 12) & 0x3F)));
        out->append(char(0x80 | ((code >> 6) & 0x3F)));
        out->append(char(0x80 | (code & 0x3F)));
    }
}

// The character a reference such as "amp" or "#x4E2D" stands for; 0 when it stands for none
// that XML allows.
char32_t referenced(QByteArrayView entity) {
    if (entity == "lt")
        return '<';
    if (entity == "gt")
        return '>';
    if (entity == "amp")
        return '&';
    if (entity == "quot")
        return '"';
    if (entity == "apos")
        return '\'';
    if (entity.size() < 2 || entity[0] != '#')
        return 0;
    const bool hex = entity[1] == 'x';
    const QByteArrayView digits = entity.sliced(hex ? 2 : 1);
    if (digits.isEmpty() || digits.size() > 8)
        return 0;
    char32_t code = 0;
    for (char ch : digits) {
        int digit = -1;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (hex && ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else if (hex && ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        if (digit < 0)
            return 0;
        code = code * (hex ? 16 : 10) + char32_t(digit);
    }
    const bool allowed = code == 0x9 || code == 0xA || code == 0xD ||
                         (code >= 0x20 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD) ||
                         (code >= 0x10000 && code <= 0x10FFFF);
    return allowed ? code : 0;
}

// Replaces references and makes every line end a LF (and, in an attribute, every white space
// a space), as an XML processor must; false on a reference that stands for nothing.
bool decode(QByteArrayView raw, bool attribute, QByteArray* out) {
    out->clear();
    out->reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char ch = raw[i];
        if (ch == '\r') {
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
            out->append(attribute ? ' ' : '\n');
        } else if (attribute && (ch == '\n' || ch == '\t')) {
            out->append(' ');
        } else if (ch != '&') {
            out->append(ch);
        } else {
            const auto semicolon = std::find(raw.begin() + i, raw.end(), ';');
            if (semicolon == raw.end())
                return false;
            const qsizetype length = semicolon - (raw.begin() + i);
            const char32_t code = referenced(raw.sliced(i + 1, length - 1));
            if (code == 0)
                return false;
            appendUtf8(code, out);
            i += length;
        }
    }
    return true;
}

bool needsDecoding(QByteArrayView raw, bool attribute) {
    for (char ch : raw)
        if (ch == '&' || ch == '\r' || (attribute && (ch == '\n' || ch == '\t')))
            return true;
    return false;
}

} // namespace

QByteArray XmlScanner::asUtf8(const QByteArray& xml) {
    const bool littleEndian = xml.startsWith("\xFF\xFE");
    if (!littleEndian && !xml.startsWith("\xFE\xFF"))
        return xml;
    QStringDecoder utf16(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    return QString(utf16(xml)).toUtf8();
}

XmlScanner::XmlScanner(const QByteArray& xml) : m_xml(asUtf8(xml)) {
    m_at = m_xml.constData();
    m_end = m_at + m_xml.size();
    if (m_xml.startsWith("\xEF\xBB\xBF"))
        m_at += 3;
}

XmlScanner::Token XmlScanner::fail() {
    return m_token = Token::Error;
}

XmlScanner::Token XmlScanner::next() {
    if (m_token == Token::Error || m_token == Token::End)
        return m_token;
    if (m_closeNext) {
        m_closeNext = false;
        m_open.removeLast();
        return m_token = Token::EndElement;
    }
    for (;;) {
        if (m_at == m_end)
            return !m_open.isEmpty() || !m_rootSeen ? fail() : (m_token = Token::End);
        if (*m_at != '<') {
            if (!m_open.isEmpty())
                return textRun();
            // Outside the root only white space may stand.
            skipSpace();
            if (m_at != m_end && *m_at != '<')
                return fail();
            continue;
        }
        const QByteArrayView rest(m_at, m_end);
        if (rest.startsWith("<?")) {
            if (!passOver("?>"))
                return fail();
        } else if (rest.startsWith("<!--")) {
            if (!passOver("-->"))
                return fail();
        } else if (rest.startsWith("<![CDATA[")) {
            if (m_open.isEmpty())
                return fail();
            m_at += 9;
            const char* start = m_at;
            if (!passOver("]]>"))
                return fail();
            m_rawText = QByteArrayView(start, m_at - 3);
            m_cdata = true;
            return m_token = Token::Text;
        } else if (rest.startsWith("<!")) {
            // The document type, with its internal subset in brackets.
            int brackets = 0;
            for (++m_at; m_at != m_end && (*m_at != '>' || brackets > 0); ++m_at)
                brackets += *m_at == '[' ? 1 : *m_at == ']' ? -1 : 0;
            if (m_at == m_end)
                return fail();
            ++m_at;
        } else if (rest.startsWith("</")) {
            return endTag();
        } else {
            return startTag();
        }
    }
}

bool XmlScanner::passOver(QByteArrayView until) {
    const char* found = std::search(m_at, m_end, until.begin(), until.end());
    if (found == m_end)
        return false;
    m_at = found + until.size();
    return true;
}

void XmlScanner::skipSpace() {
    while (m_at != m_end && isSpace(*m_at))
        ++m_at;
}

QByteArrayView XmlScanner::readName() {
    const char* start = m_at;
    while (m_at != m_end && !isSpace(*m_at) && *m_at != '/' && *m_at != '>' && *m_at != '=' &&
           *m_at != '<')
        ++m_at;
    return QByteArrayView(start, m_at);
}

XmlScanner::Token XmlScanner::startTag() {
    if (m_open.isEmpty() && m_rootSeen)
        return fail();
    ++m_at;
    const QByteArrayView qualified = readName();
    if (qualified.isEmpty())
        return fail();
    m_attributes.clear();
    m_decoded.clear();
    for (;;) {
        skipSpace();
        if (m_at == m_end)
            return fail();
        if (*m_at == '>') {
            ++m_at;
            break;
        }
        if (*m_at == '/') {
            if (m_at + 1 == m_end || m_at[1] != '>')
                return fail();
            m_at += 2;
            m_closeNext = true;
            break;
        }
        const QByteArrayView name = readName();
        skipSpace();
        if (name.isEmpty() || m_at == m_end || *m_at != '=')
            return fail();
        ++m_at;
        skipSpace();
        if (m_at == m_end || (*m_at != '"' && *m_at != '\''))
            return fail();
        const char quote = *m_at++;
        const char* close = static_cast<const char*>(std::memchr(m_at, quote, m_end - m_at));
        if (!close)
            return fail();
        QByteArrayView value(m_at, close);
        m_at = close + 1;
        if (value.contains('<'))
            return fail();
        if (needsDecoding(value, true)) {
            QByteArray decoded;
            if (!decode(value, true, &decoded))
                return fail();
            m_decoded.append(decoded);
            value = m_decoded.last();
        }
        m_attributes.append({name, value});
    }
    m_rootSeen = true;
    m_open.append(qualified);
    m_name = localPart(qualified);
    return m_token = Token::StartElement;
}

XmlScanner::Token XmlScanner::endTag() {
    m_at += 2;
    const QByteArrayView qualified = readName();
    skipSpace();
    if (m_at == m_end || *m_at != '>' || m_open.isEmpty() || m_open.last() != qualified)
        return fail();
    ++m_at;
    m_open.removeLast();
    m_name = localPart(qualified);
    return m_token = Token::EndElement;
}

XmlScanner::Token XmlScanner::textRun() {
    const char* start = m_at;
    const void* tag = std::memchr(m_at, '<', m_end - m_at);
    m_at = tag ? static_cast<const char*>(tag) : m_end;
    m_rawText = QByteArrayView(start, m_at);
    m_cdata = false;
    if (m_rawText.contains('&')) {
        QByteArray checked;
        if (!decode(m_rawText, false, &checked))
            return fail();
    }
    return m_token = Token::Text;
}

QByteArrayView XmlScanner::attribute(QByteArrayView qualifiedName) const {
    for (const Attribute& a : m_attributes)
        if (a.name == qualifiedName)
            return a.value;
    return {};
}

QString XmlScanner::text() const {
    if (m_cdata ? !m_rawText.contains('\r') : !needsDecoding(m_rawText, false))
        return QString::fromUtf8(m_rawText);
    QByteArray decoded;
    if (m_cdata) {
        // Only line ends change in a CDATA part; its '&' are plain characters.
        decoded = m_rawText.toByteArray().replace("\r\n", "\n").replace('\r', '\n');
    } else {
        decode(m_rawText, false, &decoded);
    }
    return QString::fromUtf8(decoded);
}

QString XmlScanner::elementText(bool nested) {
    QString text;
    for (int depth = 1; depth > 0;) {
        switch (next()) {
        case Token::Text:
            text += this->text();
            break;
        case Token::StartElement:
            if (!nested) {
                fail();
                return text;
            }
            ++depth;
            break;
        case Token::EndElement:
            --depth;
            break;
        case Token::End:
        case Token::Error:
            return text;
        }
    }
    return text;
}

bool XmlScanner::nextChild() {
    for (;;) {
        const Token token = next();
        if (token == Token::StartElement)
            return true;
        if (token != Token::Text)
            return false;
    }
}

void XmlScanner::skipElement() {
    for (int depth = 1; depth > 0;) {
        const Token token = next();
        if (token == Token::StartElement)
            ++depth;
        else if (token == Token::EndElement)
            --depth;
        else if (token == Token::End || token == Token::Error)
            return;
    }
}

} // namespace mldd
