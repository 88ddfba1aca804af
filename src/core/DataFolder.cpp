#include "DataFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace mldd {

DataFolder::DataFolder(const QString& dataPath)
    : m_dataPath(QDir::cleanPath(QFileInfo(dataPath).absoluteFilePath())),
      m_programPath(QFileInfo(m_dataPath).absolutePath()) {}

DataFolder DataFolder::besideProgram(const QString& programPath) {
    return DataFolder(resolve(programPath, QStringLiteral("data")));
}

DataFolder::DataFolder(const QString& dataPath, const QString& programPath)
    : m_dataPath(QDir::cleanPath(dataPath)), m_programPath(QDir::cleanPath(programPath)) {}

DataFolder DataFolder::ofProgram(const QString& programPath) {
    if (installedFiles(programPath).isEmpty())
        return besideProgram(programPath);
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                        QStringLiteral("/mldd");
    return DataFolder(own, own);
}

QString DataFolder::installedFiles(const QString& programPath) {
    const QString shared = QDir::cleanPath(programPath + QStringLiteral("/../share/mldd"));
    return QFileInfo(shared + QStringLiteral("/data")).isDir() ? shared : QString();
}

QString DataFolder::key() const {
    const QString canonical = QDir(m_dataPath).canonicalPath();
    return QString::fromLatin1(
        QCryptographicHash::hash((canonical.isEmpty() ? m_dataPath : canonical).toUtf8(),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16));
}

QString DataFolder::file(const QString& relative) const {
    return resolve(m_dataPath, relative);
}

QString DataFolder::programFile(const QString& name) const {
    return resolve(m_programPath, name);
}

bool DataFolder::ensureExists(QString* error) const {
    if (QDir().mkpath(m_dataPath))
        return true;
    if (error)
        *error = QStringLiteral("无法创建数据文件夹 %1").arg(m_dataPath);
    return false;
}

QString DataFolder::safeFileName(QString name) {
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c == QChar(0))
            c = u'_';
    }
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral(".."))
        return QStringLiteral("_");
    return name;
}

QString DataFolder::resolve(const QString& base, const QString& relative) {
    QString path = base;
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QString chosen = part;
        const QDir dir(path);
        if (!dir.exists(part)) {
            const QStringList entries =
                dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    chosen = entry;
                    break;
                }
            }
        }
        path += u'/' + chosen;
    }
    return path;
}

} // namespace mldd
