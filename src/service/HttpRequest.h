#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace mldd::service {

/** One HTTP/1.x request head, parsed strictly: a path and query that fail to decode are refused. */
struct HttpRequest {
    enum class Parse { Complete, Incomplete, Malformed };

    QString method;
    /** The percent-decoded path, e.g. "/mldd/code/code_down.asp". */
    QString path;
    /** Query parameters, percent-decoded; a repeated name keeps its first value. */
    QMap<QString, QString> query;

    /** Requests whose head grows beyond this are refused rather than buffered. */
    static constexpr qsizetype kMaxHeadBytes = 16 * 1024;

    /** Parses the head at the start of `buffer` (up to the blank line). */
    static Parse parse(const QByteArray& buffer, HttpRequest& request);

    /** Strict percent-decoding into UTF-8 text; false for "%zz", a cut "%4", NUL or bad UTF-8. */
    static bool decode(const QByteArray& encoded, QString& text);
};

} // namespace mldd::service
