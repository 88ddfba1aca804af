#include "TextFile.h"

#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

std::optional<QByteArray> readBytes(const QString& path, QString* error) {
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        if (error)
            *error = QStringLiteral("找不到文件 %1").arg(shown);
        return std::nullopt;
    }
    if (!info.isFile()) {
        if (error)
            *error = QStringLiteral("%1 不是普通文件，不能读取。").arg(shown);
        return std::nullopt;
    }
    const QString tooBig =
        QStringLiteral("文件 %1 超过 %2 MB，不能读取。").arg(shown).arg(kMaxBytes / (1024 * 1024));
    if (info.size() > kMaxBytes) {
        if (error)
            *error = tooBig;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("无法读取文件 %1（%2）").arg(shown, file.errorString());
        return std::nullopt;
    }
    // The size may change after it was looked at; never read more than the limit.
    QByteArray bytes = file.read(kMaxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("无法读取文件 %1（%2）").arg(shown, file.errorString());
        return std::nullopt;
    }
    if (bytes.size() > kMaxBytes) {
        if (error)
            *error = tooBig;
        return std::nullopt;
    }
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

bool write(const QString& path, const QStringList& lines, QString* error) {
    if (!ensureParentFolder(path, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QString text;
    for (const QString& line : lines)
        text += line + kLineEnd;
    file.write(text.toUtf8());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool appendLine(const QString& path, const QString& line, QString* error) {
    if (!ensureParentFolder(path, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // One write call, so that a line is never split by another writer.
    const QByteArray bytes = (line + kLineEnd).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace mldd::TextFile
