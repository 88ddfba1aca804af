#include "PageKey.h"

#include "core/DataFolder.h"

namespace mldd {

std::optional<QString> pageKeyOf(const QString& address) {
    if (address.size() <= 5)
        return std::nullopt;
    QString key = address;
    key.replace(QStringLiteral("://"), QStringLiteral("))"))
        .replace(u':', u';')
        .replace(u'/', u')')
        .replace(u'.', u'-')
        .replace(u'?', u'!');
    const qsizetype equals = key.indexOf(u'=');
    if (equals >= 0)
        key.truncate(equals);
    return DataFolder::safeFileName(key);
}

} // namespace mldd
