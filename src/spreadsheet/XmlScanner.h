#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace mldd {

/**
 * A pull scanner over the UTF-8 XML of a workbook part: elements, attributes and text,
 * with the five entities, character references and CDATA; comments, processing
 * instructions and the document type are passed over. Names are compared without their
 * namespace prefix. Far cheaper than QXmlStreamReader on a sheet of a hundred thousand rows,
 * and as strict about what is not well-formed.
 */
class XmlScanner {
public:
    enum class Token { StartElement, EndElement, Text, End, Error };

    /** `xml` must outlive the scanner: names, attributes and text point into it. */
    explicit XmlScanner(const QByteArray& xml);

    /** The XML as UTF-8: text saved as UTF-16 (told by its byte order mark) is converted. */
    static QByteArray asUtf8(const QByteArray& xml);

    /** The next token; End once the root element is closed and nothing else follows. */
    Token next();
    Token token() const { return m_token; }
    bool failed() const { return m_token == Token::Error; }

    /** The current element's name without its prefix, at a start or an end. */
    QByteArrayView name() const { return m_name; }
    /** The value of the attribute with this exact (qualified) name, as UTF-8; empty when absent. */
    QByteArrayView attribute(QByteArrayView qualifiedName) const;
    /** The current text token. */
    QString text() const;

    /** At a start element: the text inside it up to its end, with the text of nested
     *  elements when `nested` (else a nested element is an error). */
    QString elementText(bool nested);
    /** Inside an element: moves to its next child element, passing over text; false at the
     *  element's end or on an error. */
    bool nextChild();
    /** At a start element: passes over it and all it holds. */
    void skipElement();

private:
    struct Attribute {
        QByteArrayView name;
        QByteArrayView value;
    };

    Token fail();
    Token startTag();
    Token endTag();
    Token textRun();
    bool passOver(QByteArrayView until);
    QByteArrayView readName();
    void skipSpace();

    QByteArray m_xml; // kept converted when the part is UTF-16
    const char* m_at;
    const char* m_end;
    Token m_token = Token::Text;
    QByteArrayView m_name;
    QList<Attribute> m_attributes;
    QList<QByteArray> m_decoded;  // attribute values that held a reference, decoded
    QList<QByteArrayView> m_open; // qualified names of the open elements
    QByteArrayView m_rawText;
    bool m_cdata = false;
    bool m_closeNext = false; // the last start tag closed itself: its end comes next
    bool m_rootSeen = false;
};

} // namespace mldd
