#include "VersionGate.h"

#include "VersionNumber.h"

#include "core/TextFile.h"

namespace mldd::service {

HttpReply VersionGate::answer(const QMap<QString, QString>& query) const {
    const QString version = query.value(QStringLiteral("ver"));
    if (!VersionNumber::isValid(version))
        return HttpReply::error(400, QStringLiteral("参数 ver 必须是程序的版本号，例如 4.18"));
    QString text;
    // Without a gate file every version may download.
    if (m_content.readText(QStringLiteral("gate.txt"), &text) == ContentFolder::Lookup::Found) {
        const QString lowest = TextFile::splitLines(text).value(0).trimmed();
        if (VersionNumber::isValid(lowest) && VersionNumber::compare(version, lowest) < 0)
            return HttpReply::text(QStringLiteral("ERRVER"));
    }
    return HttpReply::text(QStringLiteral("OK"));
}

} // namespace mldd::service
