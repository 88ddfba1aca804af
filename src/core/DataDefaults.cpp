#include "DataDefaults.h"

#include "ErrorLog.h"
#include "TextFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace mldd {

namespace {

std::optional<QByteArray> checksum(const QString& path, QString* error) {
    const std::optional<QByteArray> bytes = TextFile::readBytes(path, error);
    if (!bytes)
        return std::nullopt;
    return QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex();
}

bool copyFile(const QString& from, const QString& to, QString* error) {
    const std::optional<QByteArray> bytes = TextFile::readBytes(from, error);
    if (!bytes)
        return false;
    QDir().mkpath(QFileInfo(to).absolutePath());
    QSaveFile file(to);
    if (file.open(QIODevice::WriteOnly) && file.write(*bytes) == bytes->size() && file.commit())
        return true;
    *error = QStringLiteral("无法写入 %1：%2").arg(to, file.errorString());
    return false;
}

} // namespace

QHash<QString, QByteArray> DataDefaults::readRecord(const QString& path) const {
    QHash<QString, QByteArray> record;
    for (const QString& line : TextFile::read(path).lines) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab > 0)
            record.insert(line.mid(tab + 1), line.left(tab).toLatin1());
    }
    return record;
}

std::optional<QStringList> DataDefaults::listedFiles(QString* error) const {
    const TextFileContent manifest = TextFile::read(m_manifestPath);
    if (!manifest.ok()) {
        *error = QStringLiteral("找不到默认文件清单 %1，没有放入默认文件。%2")
                     .arg(m_manifestPath, manifest.error);
        return std::nullopt;
    }
    QStringList files;
    for (const QString& line : manifest.lines) {
        const QString relative = QDir::cleanPath(line.trimmed());
        if (relative.isEmpty() || relative == u'.' || QDir::isAbsolutePath(relative) ||
            relative == QStringLiteral("..") || relative.startsWith(QStringLiteral("../")))
            continue;
        files.append(relative);
    }
    return files;
}

DataDefaults::Result DataDefaults::bringInto(const DataFolder& folder) const {
    Result result;
    const std::optional<QStringList> listed = listedFiles(&result.error);
    if (!listed) {
        result.ok = false;
        return result;
    }
    const QString recordPath = folder.file(kRecordName);
    const QHash<QString, QByteArray> before = readRecord(recordPath);
    QHash<QString, QByteArray> after;
    for (const QString& relative : *listed) {
        if (!result.ok)
            break;
        const QString source = m_defaultsPath + u'/' + relative;
        const QString target = folder.file(relative);
        const std::optional<QByteArray> shipped = checksum(source, &result.error);
        if (!shipped) {
            result.ok = false;
            break;
        }
        const bool recorded = before.contains(relative);
        const QByteArray was = before.value(relative);
        if (recorded && was == *shipped) { // the same default as last time: nothing to do
            after.insert(relative, was);
            continue;
        }
        if (!QFileInfo::exists(target)) {
            // A default the seller removed stays removed; a new one is laid down.
            if (recorded) {
                after.insert(relative, was);
                continue;
            }
            result.ok = copyFile(source, target, &result.error);
            if (result.ok) {
                after.insert(relative, *shipped);
                result.added.append(relative);
            }
            continue;
        }
        QString unreadable;
        const QByteArray present = checksum(target, &unreadable).value_or(QByteArray());
        if (present == *shipped) {
            after.insert(relative, *shipped);
        } else if (recorded && present == was) {
            result.ok = copyFile(source, target, &result.error);
            after.insert(relative, result.ok ? *shipped : was);
            if (result.ok)
                result.renewed.append(relative);
        } else {
            // The seller's own file: it stays, and so does what it was compared with.
            if (recorded)
                after.insert(relative, was);
            result.kept.append(relative);
        }
    }
    QStringList lines;
    for (auto entry = after.cbegin(); entry != after.cend(); ++entry)
        lines.append(QString::fromLatin1(entry.value()) + u'\t' + entry.key());
    lines.sort();
    if (after != before && !TextFile::write(recordPath, lines, &result.error))
        result.ok = false;
    return result;
}

DataFolder DataDefaults::open(const QString& dataOption, const QString& programPath) {
    const DataFolder folder =
        dataOption.isEmpty() ? DataFolder::ofProgram(programPath) : DataFolder(dataOption);
    const QString installed = DataFolder::installedFiles(programPath);
    if (installed.isEmpty())
        return folder;
    QString error;
    Result result;
    if (folder.ensureExists(&error))
        result = DataDefaults(installed + QStringLiteral("/data"), installed + u'/' + kManifestName)
                     .bringInto(folder);
    else
        result = Result{false, {}, {}, {}, error};
    if (!result.ok)
        ErrorLog(folder.errorLogPath())
            .append(QStringLiteral("DF"), ErrorLog::FileAccess, result.error);
    return folder;
}

} // namespace mldd
