#include "ContentFolder.h"

#include "core/TextCodec.h"

#include <QFile>
#include <QFileInfo>

namespace mldd::service {

ContentFolder::ContentFolder(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        m_root = info.canonicalFilePath();
}

bool ContentFolder::isPlainName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

ContentFolder::Lookup ContentFolder::find(const QString& relative, QString* path) const {
    for (const QString& segment : relative.split(u'/')) {
        if (!isPlainName(segment))
            return Lookup::Refused;
    }
    const QFileInfo info(m_root + u'/' + relative);
    // The canonical path follows links: one that points out of the folder finds nothing.
    const QString canonical = info.canonicalFilePath();
    if (!info.isFile() || canonical.isEmpty() || !canonical.startsWith(m_root + u'/'))
        return Lookup::Missing;
    *path = canonical;
    return Lookup::Found;
}

ContentFolder::Lookup ContentFolder::readBytes(const QString& relative, QByteArray* bytes) const {
    QString path;
    const Lookup found = find(relative, &path);
    if (found != Lookup::Found)
        return found;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Lookup::Missing;
    *bytes = file.readAll();
    return Lookup::Found;
}

ContentFolder::Lookup ContentFolder::readText(const QString& relative, QString* text) const {
    QByteArray bytes;
    const Lookup found = readBytes(relative, &bytes);
    if (found == Lookup::Found)
        *text = TextCodec::decodeFileBytes(bytes);
    return found;
}

} // namespace mldd::service
