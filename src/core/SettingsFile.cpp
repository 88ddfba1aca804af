#include "SettingsFile.h"

#include "TextFile.h"

namespace mldd {

QStringList readSettingsFile(const QString& path, const ErrorLog& log, const QString& location) {
    const TextFileContent content = TextFile::read(path);
    if (content.status == TextFileContent::Status::Failed)
        log.append(location, ErrorLog::FileAccess, path + QStringLiteral(": ") + content.error);
    return content.lines;
}

QString readSettingsLine(const QString& path, const QString& fallback, const ErrorLog& log,
                         const QString& location) {
    const QStringList lines = readSettingsFile(path, log, location);
    const QString line = lines.value(0).trimmed();
    return line.isEmpty() ? fallback : line;
}

bool writeSettingsFile(const QString& path, const QStringList& lines, const ErrorLog& log,
                       const QString& location) {
    QString error;
    if (TextFile::write(path, lines, &error))
        return true;
    log.append(location, ErrorLog::FileAccess, path + QStringLiteral(": ") + error);
    return false;
}

} // namespace mldd
