#include "ChineseLocale.h"
#include "DatabaseSettingsDialog.h"
#include "HelpKeys.h"
#include "MainWindow.h"
#include "NoticeBox.h"
#include "SearchIndexProgress.h"

#include "address/PlaceTable.h"
#include "browser/LocalService.h"
#include "browser/SingleWindow.h"
#include "capture/DecodeMaintenance.h"
#include "capture/ServiceClient.h"
#include "core/DataDefaults.h"
#include "core/MainState.h"
#include "core/ProcessHeap.h"
#include "core/ProgramVersion.h"
#include "core/Startup.h"
#include "core/StoreAddress.h"
#include "core/StoreBackup.h"
#include "shiplist/FaHuoSet.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QStatusBar>

#include <cstdio>
#include <cstring>

using namespace mldd;

namespace {

const char kUsage[] =
    "用法: mldd [--data DIR] [--database 地址] [网页地址 | 打印文件.mlk | 打印文件.mlf]\n"
    "  --data DIR  数据文件夹（默认：~/.local/share/mldd；在编译目录里是程序旁边的 data）\n"
    "  --version   显示版本\n"
    "  --database postgresql://用户@服务器/数据库  几个打包台共用的订单数据库\n"
    "  网页地址     用剪贴板里的网页文字提取这个页面的订单\n"
    "  打印文件     打印这个打印文件\n";

// A service that does not answer at start holds the window back no longer than this.
constexpr int kStartCheckTimeoutMs = 3000;

// The store is damaged: says so and offers the latest backup; true when it was put back.
bool restoredFromBackup(const MainState& state, const StartupResult& started) {
    if (!showNotice(nullptr,
                    StoreBackup::restoreQuestion(started.failure->text, *started.restoreOffer)))
        return false;
    QString message;
    const bool restored =
        StoreBackup(state.folder)
            .restore(*started.restoreOffer, QDateTime::currentDateTime(), &message);
    showNotice(nullptr, Notice{message, QStringLiteral("墨岚打单"),
                               restored ? Notice::Icon::Information : Notice::Icon::Critical});
    return restored;
}

} // namespace

int main(int argc, char* argv[]) {
    ProcessHeap::keepFreedMemoryForReuse();
    // Answered before any window system is needed, so it works on any terminal.
    if (printedVersion(argc, argv))
        return 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    mldd::installChineseLocale(app);
    HelpKeys help(HelpKeys::folderFor(QCoreApplication::applicationDirPath()));
    app.installEventFilter(&help);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("data"), QStringLiteral("数据文件夹"), QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("database"), QStringLiteral("共用的订单数据库"),
                      QStringLiteral("postgresql://…")});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("打印文件或网页地址"));
    parser.process(app);

    const DataFolder folder = DataDefaults::open(parser.value(QStringLiteral("data")),
                                                 QCoreApplication::applicationDirPath());
    const QString command = parser.positionalArguments().join(u' ');
    // One window per data folder: a second start hands its command to the first and ends.
    SingleWindow single(folder);
    if (!single.claim(command)) {
        if (single.notice())
            showNotice(nullptr, *single.notice());
        return single.exitCode();
    }
    // Handed-over commands wait for the window, and then for each question it asks.
    MainWindow* shown = nullptr;
    single.server().setReady([&shown] { return shown && !QApplication::activeModalWidget(); });

    if (const auto narrow = screenTooNarrow(app.primaryScreen()->size().width())) {
        showNotice(nullptr, *narrow);
        return 1;
    }
    MainState state(folder, parser.value(QStringLiteral("database")));
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    hooks.defaultShippingDesign = DefaultFaHuoSet;
    hooks.searchIndexProgress = SearchIndexProgress();
    StartupResult started = startUp(state, command, hooks);
    if (!started.ok && started.restoreOffer) {
        if (!restoredFromBackup(state, started))
            return 1;
        started = startUp(state, command, hooks);
    }
    // A shared store that cannot be used: the seller may correct its address and try again.
    while (!started.ok && started.storeAddressOffer) {
        const std::optional<QString> address = DatabaseSettingsDialog::ask(
            started.failure->text,
            StoreAddress::choiceText(folder, state.databaseOption, state.log));
        if (!address)
            return 1;
        StoreAddress::saveChoice(folder, *address, state.log);
        state.databaseOption = *address;
        started = startUp(state, command, hooks);
    }
    if (!started.ok) {
        showNotice(nullptr, *started.failure);
        return 1;
    }
    // Templates, decode files and help come from the service: a local one is started when
    // none answers, so that a fresh installation works with no step by hand.
    if (LocalService::ensure(state.serviceBase, QCoreApplication::applicationDirPath()).outcome ==
        LocalService::Outcome::NotStarted)
        state.log.append(QStringLiteral("main"), ErrorLog::FileAccess,
                         QStringLiteral("mldd-service did not start for ") + state.serviceBase);
    // Decode files the service replaced are dropped before the first capture needs one;
    // unreachable, the files on disk serve until the browser or 检查解码文件 asks again.
    DecodeMaintenance::checkDecodeFiles(state, ServiceClient(kStartCheckTimeoutMs));
    MainWindow window(state);
    QObject::connect(&single.server(), &HandOverServer::commandReceived, &window,
                     &MainWindow::acceptRequest);
    shown = &window;
    window.show();
    if (const auto refusal = single.socketRefusal())
        window.statusBar()->showMessage(
            QStringLiteral("交接通道没有打开（%1）：右键提取和双击打印文件不能转给这个窗口。")
                .arg(*refusal));
    if (started.command)
        window.handleCommand(*started.command);
    return app.exec();
}
