#pragma once

#include "core/DataFolder.h"

#include <QFile>
#include <QTemporaryDir>

namespace mldd::test {

/** A throw-away program folder with its data folder, removed after the test. */
class TempDataFolder {
public:
    TempDataFolder() : m_folder(m_dir.path() + QStringLiteral("/data")) {}

    const DataFolder& folder() const { return m_folder; }
    QString path(const QString& relative) const { return m_folder.file(relative); }

    /** Writes raw bytes to a file below the data folder (or the program folder). */
    void writeBytes(const QString& path, const QByteArray& bytes) const {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    QByteArray readBytes(const QString& path) const {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private:
    QTemporaryDir m_dir;
    DataFolder m_folder;
};

} // namespace mldd::test
