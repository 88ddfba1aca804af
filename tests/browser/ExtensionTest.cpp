#include "browser/ContextMenuHost.h"
#include "capture/PageKey.h"
#include "core/DataFolder.h"

#include "CliRun.h"
#include "ServiceProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

bool copyFolder(const QString& from, const QString& to) {
    return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), from, to}) == 0;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The seller's day as it really runs: 建立右键菜单, then a Chromium started on a fresh profile,
// with no developer mode and nothing loaded by hand, installs the signed extension and shows an
// order page served by mldd-service; the extension's key (the toolbar button, like the
// context-menu entry) sends the page by native messaging to mldd-do, which hands it to the
// running window. Only the key press is synthetic (xdotool on the virtual screen).
TEST(ExtensionTest, ChromiumSendsThePageThroughMlddDoIntoTheRunningWindow) {
    for (const char* tool : {"chromium", "xvfb-run", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";

    QTemporaryDir dir;
    const QString root = dir.path();
    const QString content = root + QStringLiteral("/content");
    const QString data = root + QStringLiteral("/data");
    ASSERT_TRUE(copyFolder(QStringLiteral(MLDD_BIN "/service/content"), content));
    ASSERT_TRUE(copyFolder(QStringLiteral(MLDD_BIN "/data"), data));
    QFile::remove(data + QStringLiteral("/mlddsj.db"));

    test::ServiceProcess service({QStringLiteral("--content"), content});
    ASSERT_NE(service.port(), 0);
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(service.port());
    ASSERT_TRUE(writeFile(root + QStringLiteral("/g_url.dat"), (base + "\r\n").toUtf8()));
    // The served page has an address of its own: its decode file is the detail page's.
    const QString page = base + QStringLiteral("/mldd/samples/taobao-detail.html");
    ASSERT_TRUE(QFile::copy(content + QStringLiteral("/code/https))trade-taobao-com)trade)"
                                                     "detail-htm.dat"),
                            content + QStringLiteral("/code/") + *pageKeyOf(page) + ".dat"));

    const QStringList folder{QStringLiteral("--data"), data};
    ASSERT_EQ(test::runCli(folder + QStringList{QStringLiteral("profile"), QStringLiteral("save"),
                                                QStringLiteral("--market"), QStringLiteral("淘宝"),
                                                QStringLiteral("--id"), QStringLiteral("墨岚小店"),
                                                QStringLiteral("--name"), QStringLiteral("王小明"),
                                                QStringLiteral("--address"),
                                                QStringLiteral("贵州省贵阳市南明区花果园R1区8栋")})
                  .exitCode,
              0);
    ASSERT_EQ(
        test::runCli(folder + QStringList{QStringLiteral("plan"), QStringLiteral("圆通")}).exitCode,
        0);

    const ContextMenuHost::Places places{root + QStringLiteral("/config"),
                                         root + QStringLiteral("/home")};
    ASSERT_TRUE(ContextMenuHost::install(DataFolder(data), QStringLiteral(MLDD_BIN), places).ok);

    // The window's first capture would open the help page in a browser: the hint was seen.
    // clang-format off
    const QString script = QStringLiteral(R"sh(
        export XDG_CONFIG_HOME="$1/config" HOME="$1/home" QT_QPA_PLATFORM=xcb
        db="$1/data/mlddsj.db"
        sqlite3 "$db" "UPDATE PrintItem_data SET SoftSet = '0|3|0|0|0|0|0'"
        "$2/mldd" --data "$1/data" >"$1/mldd.log" 2>&1 & window=$!
        chromium --no-sandbox --user-data-dir="$1/config/chromium" --no-first-run \
          --no-default-browser-check --disable-gpu --window-position=0,0 \
          --window-size=1280,860 "$3" >"$1/chromium.log" 2>&1 &
        browser=$!
        stored() { [ "$(sqlite3 "$db" 'select count(*) from order_data')" -gt 0 ]; }
        # The seller presses the key on the page once it shows: its title names the window.
        for _ in $(seq 120); do xdotool search --name "^taobao-detail" >/dev/null && break; sleep 0.5; done
        for try in $(seq 20); do
          sleep 1
          xdotool mousemove 1200 820 key alt+shift+m  # beside the window: the browser has the keys
          for _ in $(seq 10); do stored && break 2; sleep 0.3; done
        done
        kill $browser $window; wait
    )sh");
    // clang-format on
    QProcess run;
    run.start(QStringLiteral("xvfb-run"),
              {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x860x24"),
               QStringLiteral("bash"), QStringLiteral("-c"), script, QStringLiteral("bash"), root,
               QStringLiteral(MLDD_BIN), page});
    ASSERT_TRUE(run.waitForFinished(120000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/config/chromium/Default/Extensions/") +
                          ContextMenuHost::kChromiumExtensionId)
                    .isDir());
    const test::CliRun listed =
        test::runCli(folder + QStringList{QStringLiteral("orders"), QStringLiteral("--json")});
    EXPECT_TRUE(listed.out.contains(QStringLiteral("淘宝:3218877301"))) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains(QStringLiteral("李小红"))) << listed.out.toStdString();
}

} // namespace
