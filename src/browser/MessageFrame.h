#pragma once

#include <QByteArray>
#include <QJsonObject>

namespace mldd {

/**
 * Messages between mldd-do, the running window and the browser's native
 * messaging: a 4-byte length in the machine's byte order, then that many
 * bytes of UTF-8 JSON holding one object.
 */
namespace MessageFrame {

/** Pages are at most 16 MB of text; JSON escapes may make them larger on the wire. */
constexpr quint32 kMaxBytes = 64 * 1024 * 1024;

QByteArray encode(const QJsonObject& object);

/** What the bytes received so far hold. */
struct Read {
    enum class Status {
        Incomplete, // wait for more bytes
        Complete,   // `object` holds the message; `used` bytes were taken
        TooLarge,   // the length claims more than kMaxBytes: stop reading
        NotJson,    // the body is not one JSON object
    };
    Status status = Status::Incomplete;
    QJsonObject object;
    qsizetype used = 0;
};

Read decode(const QByteArray& bytes);

/** The answer {"ok": true} or {"ok": false, "message": …}. */
QJsonObject answer(bool ok, const QString& message = {});

} // namespace MessageFrame
} // namespace mldd
