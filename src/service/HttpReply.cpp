#include "HttpReply.h"

namespace mldd::service {

namespace {

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    default:
        return "Internal Server Error";
    }
}

} // namespace

HttpReply HttpReply::text(const QString& text) {
    return {200, "text/plain; charset=utf-8", text.toUtf8()};
}

HttpReply HttpReply::html(const QString& html) {
    return {200, "text/html; charset=utf-8", html.toUtf8()};
}

HttpReply HttpReply::bytes(QByteArray body, QByteArray contentType) {
    return {200, std::move(contentType), std::move(body)};
}

HttpReply HttpReply::error(int status, const QString& reason) {
    return {status, "text/plain; charset=utf-8", reason.toUtf8() + "\r\n"};
}

QByteArray HttpReply::serialize(bool headOnly) const {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) +
                     "\r\nContent-Type: " + contentType +
                     "\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\nCache-Control: no-cache\r\nConnection: close\r\n";
    if (status == 405)
        out += "Allow: GET, HEAD\r\n";
    out += "\r\n";
    if (!headOnly)
        out += body;
    return out;
}

} // namespace mldd::service
