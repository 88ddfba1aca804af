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

TextFileContent read(const QString& path) {
    TextFileContent content;
    QFile file(path);
    if (!file.exists())
        return content;
    if (!file.open(QIODevice::ReadOnly)) {
        content.status = TextFileContent::Status::Failed;
        content.error = file.errorString();
        return content;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        content.status = TextFileContent::Status::Failed;
        content.error = file.errorString();
        return content;
    }
    content.status = TextFileContent::Status::Ok;
    content.lines = splitLines(TextCodec::decodeFileBytes(bytes));
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
