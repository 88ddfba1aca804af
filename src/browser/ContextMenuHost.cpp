#include "ContextMenuHost.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFile>
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

// Chromium's note of an extension a program installed: the signed file and the version in it.
bool writeExternalExtension(const QString& path, const Extension& extension, QString* error) {
    const QString version = extension.version();
    if (version.isEmpty() || !QFileInfo(extension.packed).isFile()) {
        *error = QStringLiteral("找不到扩展程序文件 %1，请重新安装墨岚打单。")
                     .arg(QDir::toNativeSeparators(extension.packed));
        return false;
    }
    const QJsonObject note{{QStringLiteral("external_crx"), extension.packed},
                           {QStringLiteral("external_version"), version}};
    return TextFile::writeBytes(path, QJsonDocument(note).toJson(), error,
                                QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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

QString Places::chromiumExternalExtension() const {
    return configHome + QStringLiteral("/chromium/External Extensions/") + kChromiumExtensionId +
           ".json";
}

Extension Extension::ofProgram(const QString& programPath) {
    const QString shared = DataFolder::installedFiles(programPath);
    Extension extension;
    extension.systemWide = !shared.isEmpty();
    extension.folder = (extension.systemWide ? shared : programPath) + QStringLiteral("/extension");
    extension.packed = extension.folder + QStringLiteral(".crx");
    return extension;
}

QString Extension::version() const {
    QFile file(folder + QStringLiteral("/manifest.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll())
        .object()
        .value(QStringLiteral("version"))
        .toString();
}

Installed install(const DataFolder& folder, const QString& programPath, const Places& places) {
    const Extension extension = Extension::ofProgram(programPath);
    const QString mlddDo = programPath + QStringLiteral("/mldd-do");
    Installed installed;
    installed.script = folder.file(QStringLiteral("mldd-host.sh"));
    installed.notice.title = kTitle;
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
    // The package lays the note down for every user, with the version it installs.
    if (ok && !extension.systemWide) {
        installed.externalExtension = places.chromiumExternalExtension();
        ok = writeExternalExtension(installed.externalExtension, extension, &error);
    }
    installed.ok = ok;
    if (!ok) {
        installed.notice.icon = Notice::Icon::Exclamation;
        installed.notice.text = QStringLiteral("右键菜单没有建立：") + error;
        return installed;
    }
    const QString firefox =
        QStringLiteral("火狐浏览器只长期装入经过 Mozilla 签名的扩展：请在 "
                       "about:debugging 中点“临时载入附加组件”，选择 %1"
                       "（每次启动火狐都要重新载入）。\r\n")
            .arg(QDir::toNativeSeparators(extension.folder + QStringLiteral("/manifest.json")));
    const QString browsers =
        extension.systemWide
            ? QStringLiteral("Chromium 和谷歌浏览器（Chrome）重新启动后会装上“墨岚打单”扩展"
                             "（如果浏览器提示新添加了扩展程序，请点“启用扩展程序”）。\r\n")
            : QStringLiteral(
                  "Chromium 浏览器重新启动后会装上“墨岚打单”扩展。\r\n"
                  "谷歌浏览器（Chrome）只装入为所有用户安装的扩展："
                  "请安装墨岚打单的安装包（.deb），它为这台电脑的所有用户装好扩展。\r\n");
    installed.notice.text = QStringLiteral("右键菜单已经建立。\r\n") + browsers + firefox +
                            QStringLiteral("■注意■ 请关闭所有浏览器窗口，重新启动浏览器，"
                                           "右键菜单才能生效！\r\n"
                                           "提取订单时，在订单页面上点右键，选“墨岚打单”。");
    return installed;
}

bool isBrowserStart(const QStringList& arguments) {
    // Chromium passes the extension's origin; Firefox the manifest's path and the extension's id.
    return (!arguments.isEmpty() &&
            arguments.first().startsWith(QStringLiteral("chrome-extension://"))) ||
           (arguments.size() >= 2 && arguments.at(1) == kFirefoxExtension);
}

} // namespace mldd::ContextMenuHost
