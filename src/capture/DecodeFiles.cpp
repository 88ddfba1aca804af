#include "DecodeFiles.h"

#include "DecodeRules.h"

#include "core/LocationCode.h"
#include "core/SettingsFile.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>

namespace mldd {

std::optional<QString> DecodeFiles::read(const QString& pageKey, QString* error) const {
    const QString file = path(pageKey, QStringLiteral(".dat"));
    const TextFileContent content = TextFile::read(file);
    if (content.status == TextFileContent::Status::Failed) {
        m_log.append(LocationCode::DecodeFile, ErrorLog::FileAccess, content.error);
        if (error)
            *error = content.error;
    }
    if (!content.ok())
        return std::nullopt;
    return joinDecodeFileLines(content.lines.join(QStringLiteral("\r\n")));
}

QString DecodeFiles::version(const QString& pageKey) const {
    return readSettingsLine(path(pageKey, QStringLiteral(".ver")), QString(), m_log,
                            LocationCode::DecodeFile);
}

bool DecodeFiles::write(const QString& pageKey, const QString& version,
                        const QString& decodeText) const {
    return writeSettingsFile(path(pageKey, QStringLiteral(".dat")), {decodeText}, m_log,
                             LocationCode::DecodeFile) &&
           writeSettingsFile(path(pageKey, QStringLiteral(".ver")), {version}, m_log,
                             LocationCode::DecodeFile);
}

bool DecodeFiles::expireAfterGoodsFallback(const QDate& today) const {
    const QString stamp = today.toString(Qt::ISODate);
    const QString datePath = m_folder.file(QStringLiteral("code/date.txt"));
    const QStringList lines = readSettingsFile(datePath, m_log, LocationCode::DecodeFile);
    if (!lines.isEmpty() && lines.last() == stamp)
        return false;
    writeSettingsFile(datePath, {stamp}, m_log, LocationCode::DecodeFile);
    removeAll();
    return true;
}

void DecodeFiles::removeAll() const {
    QDir code(m_folder.file(QStringLiteral("code")));
    for (const QString& name : code.entryList({QStringLiteral("http*.*")}, QDir::Files))
        code.remove(name);
}

bool DecodeFiles::applyIdList(const QString& idList) const {
    const QString listPath = m_folder.file(QStringLiteral("code/CODE_id.txt"));
    const QStringList lines = TextFile::splitLines(idList);
    if (readSettingsFile(listPath, m_log, LocationCode::DecodeFile) == lines)
        return false;
    removeAll();
    writeSettingsFile(listPath, lines, m_log, LocationCode::DecodeFile);
    return true;
}

QString DecodeFiles::path(const QString& pageKey, const QString& extension) const {
    return m_folder.file(QStringLiteral("code/") + DataFolder::safeFileName(pageKey) + extension);
}

} // namespace mldd
