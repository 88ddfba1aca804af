#include "browser/ContextMenuHost.h"
#include "FileBytes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

QJsonObject jsonOf(const QString& path) {
    return QJsonDocument::fromJson(test::fileBytes(path)).object();
}

// A folder of programs as the package lays it out (bin beside share/mldd), or as a build tree
// without the signed extension: the extension folder only.
QString programsIn(const QString& root, bool packaged) {
    const QString programs =
        root + (packaged ? QStringLiteral("/usr/bin") : QStringLiteral("/bin"));
    const QString extension =
        packaged ? root + QStringLiteral("/usr/share/mldd/extension") : programs + "/extension";
    QDir().mkpath(programs);
    QDir().mkpath(extension);
    if (packaged)
        QDir().mkpath(root + QStringLiteral("/usr/share/mldd/data"));
    QFile::copy(QStringLiteral(MLDD_BIN "/extension/manifest.json"),
                extension + QStringLiteral("/manifest.json"));
    return programs;
}

class ContextMenuHostTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    ContextMenuHost::Places m_places{m_dir.path() + QStringLiteral("/config"),
                                     m_dir.path() + QStringLiteral("/home")};
};

} // namespace

// A build-tree program: the hosts, the script on this data folder, and the note that makes
// Chromium install the signed extension beside the programs at its next start.
TEST_F(ContextMenuHostTest, ABuildTreeProgramWritesTheHostsAndChromiumsNoteOfTheSignedExtension) {
    const DataFolder folder(m_dir.path() + QStringLiteral("/it's data"));
    const ContextMenuHost::Installed installed =
        ContextMenuHost::install(folder, QStringLiteral(MLDD_BIN), m_places);
    ASSERT_TRUE(installed.ok) << installed.notice.text.toStdString();
    EXPECT_TRUE(installed.notice.text.contains(QStringLiteral("Chromium 浏览器重新启动后会装上")));
    EXPECT_TRUE(installed.notice.text.contains(QStringLiteral("请安装墨岚打单的安装包")));
    EXPECT_FALSE(installed.notice.text.contains(QStringLiteral("开发者模式")));

    ASSERT_EQ(installed.manifests, m_places.manifestPaths());
    for (const QString& path : installed.manifests) {
        const QJsonObject manifest = jsonOf(path);
        EXPECT_EQ(manifest.value(QStringLiteral("name")).toString(), ContextMenuHost::kHostName);
        EXPECT_EQ(manifest.value(QStringLiteral("path")).toString(), installed.script);
        EXPECT_TRUE(manifest.contains(QStringLiteral("allowed_origins")) ||
                    manifest.contains(QStringLiteral("allowed_extensions")));
    }
    QFile script(installed.script);
    EXPECT_TRUE(script.permissions() & QFileDevice::ExeOwner);
    // The quote in the folder's name is escaped for the shell.
    EXPECT_TRUE(test::fileBytes(installed.script)
                    .contains("--data '" + m_dir.path().toUtf8() + "/it'\\''s data'"));

    // Chromium takes the extension only when the note's version is the signed file's.
    EXPECT_EQ(installed.externalExtension, m_places.chromiumExternalExtension());
    EXPECT_TRUE(
        installed.externalExtension.endsWith(QStringLiteral("/chromium/External Extensions/") +
                                             ContextMenuHost::kChromiumExtensionId + ".json"));
    const QJsonObject note = jsonOf(installed.externalExtension);
    EXPECT_EQ(note.value(QStringLiteral("external_crx")).toString(),
              QStringLiteral(MLDD_BIN "/extension.crx"));
    const QJsonObject manifest = jsonOf(QStringLiteral(MLDD_BIN "/extension/manifest.json"));
    EXPECT_EQ(note.value(QStringLiteral("external_version")).toString(),
              manifest.value(QStringLiteral("version")).toString());

    // The id the host manifests allow is the one the key of the unpacked folder and the key
    // the file is signed with give (the first 16 bytes of its hash, written in a to p).
    const QByteArray key =
        QByteArray::fromBase64(manifest.value(QStringLiteral("key")).toString().toLatin1());
    QString id;
    for (const char byte : QCryptographicHash::hash(key, QCryptographicHash::Sha256).left(16))
        for (const int digit : {(byte >> 4) & 0xF, byte & 0xF})
            id += QChar(u'a' + digit);
    EXPECT_EQ(id, ContextMenuHost::kChromiumExtensionId);
    const QByteArray packed = test::fileBytes(QStringLiteral(MLDD_BIN "/extension.crx"));
    EXPECT_TRUE(packed.startsWith(QByteArray("Cr24\x03\0\0\0", 8)));
    EXPECT_TRUE(packed.contains(key));
}

TEST_F(ContextMenuHostTest, WithoutTheSignedExtensionTheSellerIsToldWhatIsMissing) {
    const QString programs = programsIn(m_dir.path(), false);
    const ContextMenuHost::Installed installed = ContextMenuHost::install(
        DataFolder(m_dir.path() + QStringLiteral("/data")), programs, m_places);
    EXPECT_FALSE(installed.ok);
    EXPECT_EQ(installed.notice.icon, Notice::Icon::Exclamation);
    EXPECT_TRUE(
        installed.notice.text.startsWith(QStringLiteral("右键菜单没有建立：找不到扩展程序文件 ") +
                                         programs + QStringLiteral("/extension.crx")))
        << installed.notice.text.toStdString();
    EXPECT_FALSE(QFile::exists(m_places.chromiumExternalExtension()));
}

// The package installed the extension for every user, with the version it carries: a note of
// the user's own would outlive the next upgrade's version, so none is written.
TEST_F(ContextMenuHostTest, AnInstalledProgramLeavesTheExtensionToThePackage) {
    const QString programs = programsIn(m_dir.path(), true);
    const ContextMenuHost::Installed installed = ContextMenuHost::install(
        DataFolder(m_dir.path() + QStringLiteral("/data")), programs, m_places);
    ASSERT_TRUE(installed.ok) << installed.notice.text.toStdString();
    EXPECT_TRUE(installed.externalExtension.isEmpty());
    EXPECT_FALSE(QFile::exists(m_places.chromiumExternalExtension()));
    EXPECT_TRUE(installed.notice.text.contains(
        QStringLiteral("Chromium 和谷歌浏览器（Chrome）重新启动后会装上")));
    EXPECT_TRUE(
        installed.notice.text.contains(m_dir.path() + "/usr/share/mldd/extension/manifest.json"));
    EXPECT_EQ(jsonOf(installed.manifests.first()).value(QStringLiteral("path")).toString(),
              installed.script);
}

TEST(ContextMenuHostStart, ABrowserStartIsToldFromAPageAddress) {
    EXPECT_TRUE(ContextMenuHost::isBrowserStart({ContextMenuHost::kChromiumExtension}));
    EXPECT_TRUE(ContextMenuHost::isBrowserStart(
        {QStringLiteral("/home/u/.mozilla/native-messaging-hosts/com.molan.mldd.json"),
         ContextMenuHost::kFirefoxExtension}));
    EXPECT_FALSE(ContextMenuHost::isBrowserStart({QStringLiteral("https://trade.taobao.com/")}));
}
