#include "ContextMenuHost.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mldd::ContextMenuHost {

namespace {

const QString kTitle = QStringLiteral("建立右键菜单");

QString shellQuoted(QString text) {
    return u'\'' + text.replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

QByteArray manifest(const QString& script, bool firefox) {
    QJsonObject object{{QStringLiteral("name"), kHostName},
                       {QStringLiteral("description"), QStringLiteral("墨岚打单")},
                       {QStringLiteral("path"), script},
                       {QStringLiteral("type"), QStringLiteral("stdio")}};
    if (firefox)
        object.insert(QStringLiteral("allowed_extensions"), QJsonArray{kFirefoxExtension});
    else
        object.insert(QStringLiteral("allowed_origins"), QJsonArray{kChromiumExtension});
    return QJsonDocument(object).toJson();
}

} // namespace

Places Places::ofUser() {
    Places places;
    places.home = QDir::homePath();
    places.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (places.configHome.isEmpty())
        places.configHome = places.home + QStringLiteral("/.config");
    return places;
}

QStringList Places::manifestPaths() const {
    const QString file = QStringLiteral("/NativeMessagingHosts/") + kHostName + ".json";
    return {configHome + QStringLiteral("/chromium") + file,
            configHome + QStringLiteral("/google-chrome") + file,
            home + QStringLiteral("/.mozilla/native-messaging-hosts/") + kHostName + ".json"};
}

Installed install(const DataFolder& folder, const QString& mlddDo, const QString& extensionFolder,
                  const Places& places) {
    Installed installed;
    installed.script = folder.file(QStringLiteral("mldd-host.sh"));
    // Browsers start a host without arguments of ours: the script names the data folder.
    const QString script = QStringLiteral("#!/bin/sh\n# 浏览器的右键菜单“墨岚打单”启动它。\n"
                                          "exec %1 --data %2 \"$@\"\n")
                               .arg(shellQuoted(mlddDo), shellQuoted(folder.dataPath()));
    QString error;
    bool ok = TextFile::writeBytes(installed.script, script.toUtf8(), &error,
                                   QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
    const QStringList paths = places.manifestPaths();
    for (qsizetype i = 0; ok && i < paths.size(); ++i) {
        ok = TextFile::writeBytes(paths.at(i), manifest(installed.script, i == paths.size() - 1),
                                  &error, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (ok)
            installed.manifests.append(paths.at(i));
    }
    installed.ok = ok;
    installed.notice.title = kTitle;
    if (!ok) {
        installed.notice.icon = Notice::Icon::Exclamation;
        installed.notice.text = QStringLiteral("右键菜单没有建立：") + error;
        return installed;
    }
    installed.notice.text =
        QStringLiteral("右键菜单已经建立。\r\n"
                       "第一次使用时，请在浏览器的扩展程序页面打开“开发者模式”，"
                       "点“加载已解压的扩展程序”，选择文件夹：\r\n%1\r\n"
                       "（火狐浏览器：在 about:debugging 中载入其中的 manifest.json。）\r\n"
                       "■注意■ 请重新启动浏览器，右键菜单才能生效！\r\n"
                       "提取订单时，在订单页面上点右键，选“墨岚打单”。")
            .arg(QDir::toNativeSeparators(extensionFolder));
    return installed;
}

bool isBrowserStart(const QStringList& arguments) {
    // Chromium passes the extension's origin; Firefox the manifest's path and the extension's id.
    return (!arguments.isEmpty() &&
            arguments.first().startsWith(QStringLiteral("chrome-extension://"))) ||
           (arguments.size() >= 2 && arguments.at(1) == kFirefoxExtension);
}

} // namespace mldd::ContextMenuHost
