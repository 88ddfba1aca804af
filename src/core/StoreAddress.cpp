#include "StoreAddress.h"

#include "LocationCode.h"
#include "SettingsFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace mldd {

namespace {

QString decoded(const QString& part) {
    return QUrl::fromPercentEncoding(part.toUtf8());
}

} // namespace

std::optional<StoreAddress> StoreAddress::parseServer(const QString& text) {
    // QUrl refuses a host that is a folder, so the parts are cut out here.
    static const QRegularExpression pattern(
        QStringLiteral("^postgres(?:ql)?://(?:([^:@/]*)(?::([^@/]*))?@)?([^/:?]*)(?::(\\d+))?"
                       "/([^/?]+)(?:\\?(.*))?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    StoreAddress address;
    address.user = decoded(match.captured(1));
    address.password = decoded(match.captured(2));
    address.host = decoded(match.captured(3));
    address.port = match.captured(4).toInt();
    address.database = decoded(match.captured(5));
    const QUrlQuery query(match.captured(6));
    if (query.hasQueryItem(QStringLiteral("host")))
        address.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    return address;
}

QString StoreAddress::choiceText(const DataFolder& folder, const QString& given,
                                 const ErrorLog& log) {
    if (!given.isEmpty())
        return given;
    return readSettingsLine(folder.settingsFile(QStringLiteral("database.dat")), QString(), log,
                            LocationCode::OpenDatabase)
        .trimmed();
}

std::optional<Notice> StoreAddress::checkChoice(const QString& text) {
    if (text.trimmed().isEmpty() || parseServer(text))
        return std::nullopt;
    return Notice{QStringLiteral("数据库地址要写成 postgresql://用户:密码@服务器/数据库，"
                                 "或者留空，用这台电脑自己的订单数据库。"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
}

bool StoreAddress::saveChoice(const DataFolder& folder, const QString& text, const ErrorLog& log) {
    QDir().mkpath(folder.file(QStringLiteral("set")));
    return writeSettingsFile(folder.settingsFile(QStringLiteral("database.dat")), {text.trimmed()},
                             log, LocationCode::OpenDatabase);
}

StoreAddress StoreAddress::chosen(const DataFolder& folder, const QString& given,
                                  const ErrorLog& log) {
    const QString text = choiceText(folder, given, log);
    if (text.isEmpty())
        return sqliteFile(folder.databasePath());
    if (const std::optional<StoreAddress> server = parseServer(text))
        return *server;
    return sqliteFile(text);
}

QString StoreAddress::shown() const {
    if (!isServer())
        return QDir::toNativeSeparators(file);
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + u'@';
    text += host.contains(u'/') ? QString::fromUtf8(QUrl::toPercentEncoding(host)) : host;
    if (port > 0)
        text += u':' + QString::number(port);
    return text + u'/' + database;
}

} // namespace mldd
