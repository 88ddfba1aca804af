#include "TextFile.h"

#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>

namespace mldd::TextFile {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool ensureParentFolder(const QString& path, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir().mkpath(folder))
        return true;
    if (error)
        *error = QStringLiteral("无法创建文件夹 %1").arg(folder);
    return false;
}

QString tooBig(const QString& path, qint64 limit) {
    return QStringLiteral("文件 %1 超过 %2 MB，不能读取。")
        .arg(QDir::toNativeSeparators(path))
        .arg(limit / (1024 * 1024));
}

// Below this a file system cannot be counted on to take even a small file.
constexpr qint64 kNearlyFull = 64 * 1024;

// Writes all of `bytes`: a short write is followed by another, so that a full
// disk always ends in an error the device reports.
bool writeAll(QFileDevice& file, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool diskFull(const QString& path, const QString& why) {
    if (why == QString::fromLocal8Bit(std::strerror(ENOSPC)) ||
        why == QLatin1String("No space left on device"))
        return true;
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() && storage.bytesAvailable() < kNearlyFull;
}

} // namespace

QString writeFailure(const QString& path, const QString& why) {
    const QString shown = QDir::toNativeSeparators(path);
    if (diskFull(path, why))
        return QStringLiteral("磁盘空间已满，文件 %1 没有写入，原来的文件没有改动。\r\n"
                              "请清理磁盘后再试。")
            .arg(shown);
    return QStringLiteral("无法写入文件 %1（%2）").arg(shown, why);
}

std::optional<QString> readRefusal(const QString& path, qint64 limit) {
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("找不到文件 %1").arg(shown);
    if (!info.isFile())
        return QStringLiteral("%1 不是普通文件，不能读取。").arg(shown);
    if (info.size() > limit)
        return tooBig(path, limit);
    return std::nullopt;
}

std::optional<QByteArray> readBytes(const QString& path, QString* error, qint64 limit) {
    const auto failed = [&](const QString& why) -> std::optional<QByteArray> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (std::optional<QString> refused = readRefusal(path, limit))
        return failed(*refused);
    QFile file(path);
    const QString unreadable = QStringLiteral("无法读取文件 %1（%2）");
    if (!file.open(QIODevice::ReadOnly))
        return failed(unreadable.arg(QDir::toNativeSeparators(path), file.errorString()));
    // The size may change after it was looked at; never read more than the limit.
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(unreadable.arg(QDir::toNativeSeparators(path), file.errorString()));
    if (bytes.size() > limit)
        return failed(tooBig(path, limit));
    return bytes;
}

TextFileContent read(const QString& path) {
    TextFileContent content;
    if (!QFileInfo::exists(path))
        return content;
    const std::optional<QByteArray> bytes = readBytes(path, &content.error);
    if (!bytes) {
        content.status = TextFileContent::Status::Failed;
        return content;
    }
    content.status = TextFileContent::Status::Ok;
    content.lines = splitLines(TextCodec::decodeFileBytes(*bytes));
    return content;
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype lf = text.indexOf(u'\n', start);
        if (lf < 0) {
            lines.append(text.mid(start));
            break;
        }
        const qsizetype end = (lf > start && text.at(lf - 1) == u'\r') ? lf - 1 : lf;
        lines.append(text.mid(start, end - start));
        start = lf + 1;
    }
    return lines;
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error,
                std::optional<QFileDevice::Permissions> permissions) {
    const auto failed = [&](const QString& why) {
        if (error)
            *error = writeFailure(path, why);
        return false;
    };
    const QFileInfo target(path);
    // Renaming over a device, a pipe or a folder would replace it, not write into it.
    if (target.exists() && !target.isFile()) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1：它不是普通文件。")
                         .arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!ensureParentFolder(path, error))
        return false;
    QSaveFile file(path);
    // Unbuffered: a buffered write that the disk cuts short at commit() goes unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString());
    // Until commit() the old file is untouched; an early return drops the temporary one.
    if (!writeAll(file, bytes) || (permissions && !file.setPermissions(*permissions)))
        return failed(file.errorString());
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

bool write(const QString& path, const QStringList& lines, QString* error) {
    QString text;
    for (const QString& line : lines)
        text += line + kLineEnd;
    return writeBytes(path, text.toUtf8(), error);
}

bool appendLine(const QString& path, const QString& line, QString* error) {
    if (!ensureParentFolder(path, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = writeFailure(path, file.errorString());
        return false;
    }
    const qint64 before = file.size();
    // One write call, so that a line is never split by another writer.
    const QByteArray bytes = (line + kLineEnd).toUtf8();
    if (!writeAll(file, bytes)) {
        const QString why = file.errorString();
        if (error)
            *error = writeFailure(path, why);
        // Half a line would be read as a line of its own.
        file.resize(before);
        return false;
    }
    return true;
}

} // namespace mldd::TextFile
