#include "MessageFrame.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cstring>

namespace mldd::MessageFrame {

QByteArray encode(const QJsonObject& object) {
    const QByteArray body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    const quint32 length = quint32(body.size());
    QByteArray frame(sizeof length, Qt::Uninitialized);
    std::memcpy(frame.data(), &length, sizeof length);
    return frame + body;
}

Read decode(const QByteArray& bytes) {
    Read read;
    quint32 length = 0;
    if (bytes.size() < qsizetype(sizeof length))
        return read;
    std::memcpy(&length, bytes.constData(), sizeof length);
    if (length > kMaxBytes) {
        read.status = Read::Status::TooLarge;
        return read;
    }
    if (bytes.size() < qsizetype(sizeof length + length))
        return read;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(bytes.mid(sizeof length, length), &error);
    read.used = qsizetype(sizeof length + length);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        read.status = Read::Status::NotJson;
        return read;
    }
    read.status = Read::Status::Complete;
    read.object = document.object();
    return read;
}

QJsonObject answer(bool ok, const QString& message) {
    QJsonObject object{{QStringLiteral("ok"), ok}};
    if (!ok)
        object.insert(QStringLiteral("message"), message);
    return object;
}

} // namespace mldd::MessageFrame
