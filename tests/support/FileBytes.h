#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace mldd::test {

/** A file's whole content; empty when it cannot be read. */
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace mldd::test
