#pragma once

#include <QByteArray>
#include <QString>

namespace mldd::service {

/** One HTTP/1.1 reply; the service closes the connection after every reply. */
struct HttpReply {
    int status = 200;
    QByteArray contentType = "text/plain; charset=utf-8";
    QByteArray body;

    static HttpReply text(const QString& text);
    static HttpReply html(const QString& html);
    static HttpReply bytes(QByteArray body, QByteArray contentType);
    static HttpReply error(int status, const QString& reason);

    /** Status line, headers and, unless `headOnly`, the body. */
    QByteArray serialize(bool headOnly) const;
};

} // namespace mldd::service
