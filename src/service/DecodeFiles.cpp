#include "DecodeFiles.h"

#include "VersionNumber.h"

#include "core/TextFile.h"

#include <QDir>

namespace mldd::service {

namespace {

const QString kMissingVersion = QStringLiteral("1");

QString decodePath(const QString& key) {
    return QStringLiteral("code/") + key + QStringLiteral(".dat");
}

} // namespace

std::optional<HttpReply> DecodeFiles::checkKey(const QString& key) {
    if (!ContentFolder::isPlainName(key))
        return HttpReply::error(400, QStringLiteral("参数 f 必须是页面的解码文件名"));
    return std::nullopt;
}

QString DecodeFiles::version(const QString& key) const {
    QString text;
    if (m_content.readText(QStringLiteral("code/") + key + QStringLiteral(".ver"), &text) !=
        ContentFolder::Lookup::Found)
        return kMissingVersion;
    const QString first = TextFile::splitLines(text).value(0).trimmed();
    // A version holding "|" would cut the reply in the wrong place; such a file counts as
    // unversioned.
    return VersionNumber::isValid(first) ? first : kMissingVersion;
}

bool DecodeFiles::isBlocked(const QString& key) const {
    QString text;
    if (m_content.readText(QStringLiteral("code/blocked.txt"), &text) !=
        ContentFolder::Lookup::Found)
        return false;
    for (const QString& line : TextFile::splitLines(text)) {
        if (line.trimmed() == key)
            return true;
    }
    return false;
}

HttpReply DecodeFiles::download(const QMap<QString, QString>& query) const {
    const QString key = query.value(QStringLiteral("f"));
    if (auto refused = checkKey(key))
        return *refused;
    if (isBlocked(key))
        return HttpReply::text(QStringLiteral("[BL]"));
    QString text;
    if (m_content.readText(decodePath(key), &text) != ContentFolder::Lookup::Found)
        return HttpReply::text(QStringLiteral("[NO]"));
    return HttpReply::text(QStringLiteral("[YE]") + version(key) + u'|' + text);
}

HttpReply DecodeFiles::refresh(const QMap<QString, QString>& query) const {
    const QString key = query.value(QStringLiteral("f"));
    if (auto refused = checkKey(key))
        return *refused;
    const QString held = query.value(QStringLiteral("v"));
    if (!VersionNumber::isValid(held))
        return HttpReply::error(400, QStringLiteral("参数 v 必须是版本号，例如 0 或 3"));
    QString text;
    if (m_content.readText(decodePath(key), &text) != ContentFolder::Lookup::Found)
        return HttpReply::text(QStringLiteral("[NN]"));
    const QString current = version(key);
    if (VersionNumber::compare(current, held) <= 0)
        return HttpReply::text(QStringLiteral("[NN]"));
    return HttpReply::text(QStringLiteral("[YN]") + current + u'|' + text);
}

HttpReply DecodeFiles::idList() const {
    const QStringList files =
        QDir(m_content.root() + QStringLiteral("/code"))
            .entryList({QStringLiteral("*.dat")}, QDir::Files | QDir::Readable, QDir::Name);
    QStringList lines;
    for (const QString& file : files) {
        const QString key = file.chopped(4);
        QString path;
        if (m_content.find(decodePath(key), &path) != ContentFolder::Lookup::Found)
            continue; // a link that leads out of the folder is not ours to announce
        lines.append(key + u'|' + version(key));
    }
    return HttpReply::text(
        lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace mldd::service
