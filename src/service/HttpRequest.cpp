#include "HttpRequest.h"

#include <QStringDecoder>

namespace mldd::service {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool parseQuery(const QByteArray& encoded, QMap<QString, QString>& query) {
    for (const QByteArray& pair : encoded.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        QString name;
        QString value;
        if (!HttpRequest::decode(pair.left(equals < 0 ? pair.size() : equals), name) ||
            (equals >= 0 && !HttpRequest::decode(pair.mid(equals + 1), value)))
            return false;
        if (!query.contains(name))
            query.insert(name, value);
    }
    return true;
}

// Where the head ends: the first empty line. Lines end with CR LF, or with a
// bare LF as some clients send them.
qsizetype endOfHead(const QByteArray& buffer) {
    const qsizetype crlf = buffer.indexOf("\n\r\n");
    const qsizetype lf = buffer.indexOf("\n\n");
    if (crlf < 0)
        return lf;
    return lf < 0 ? crlf : qMin(crlf, lf);
}

} // namespace

bool HttpRequest::decode(const QByteArray& encoded, QString& text) {
    QByteArray bytes;
    bytes.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        char c = encoded.at(i);
        if (c == '%') {
            if (i + 2 >= encoded.size())
                return false;
            const int high = hexValue(encoded.at(i + 1));
            const int low = hexValue(encoded.at(i + 2));
            if (high < 0 || low < 0)
                return false;
            c = char(high * 16 + low);
            i += 2;
        }
        if (c == '\0')
            return false;
        bytes.append(c);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = utf8.decode(bytes);
    return !utf8.hasError();
}

HttpRequest::Parse HttpRequest::parse(const QByteArray& buffer, HttpRequest& request) {
    const qsizetype headEnd = endOfHead(buffer);
    if (headEnd < 0)
        return buffer.size() > kMaxHeadBytes ? Parse::Malformed : Parse::Incomplete;
    if (headEnd > kMaxHeadBytes)
        return Parse::Malformed;

    QByteArray requestLine = buffer.left(buffer.indexOf('\n'));
    if (requestLine.endsWith('\r'))
        requestLine.chop(1);
    const QList<QByteArray> parts = requestLine.split(' ');
    if (parts.size() != 3 || !parts[2].startsWith("HTTP/1.") || parts[0].isEmpty())
        return Parse::Malformed;
    const QByteArray& target = parts[1];
    // Only the origin form ("/path?query") is served; proxies' absolute forms are not.
    if (!target.startsWith('/'))
        return Parse::Malformed;

    const qsizetype question = target.indexOf('?');
    const QByteArray encodedPath = question < 0 ? target : target.left(question);
    request.method = QString::fromLatin1(parts[0]);
    request.query.clear();
    if (!decode(encodedPath, request.path))
        return Parse::Malformed;
    if (question >= 0 && !parseQuery(target.mid(question + 1), request.query))
        return Parse::Malformed;
    return Parse::Complete;
}

} // namespace mldd::service
