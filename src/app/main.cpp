#include "ChineseTranslation.h"
#include "Form_Main.h"
#include "NoticeBox.h"

#include "address/PlaceTable.h"
#include "browser/HandOver.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "shiplist/FaHuoSet.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

using namespace mldd;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    installChineseTranslation(app);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("data"), QStringLiteral("数据文件夹"), QStringLiteral("DIR")});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("打印文件或网页地址"));
    parser.process(app);

    const DataFolder folder =
        parser.isSet(QStringLiteral("data"))
            ? DataFolder(parser.value(QStringLiteral("data")))
            : DataFolder::besideProgram(QCoreApplication::applicationDirPath());
    const QString command = parser.positionalArguments().join(u' ');
    // One window per data folder: a second start hands its command to the first and ends.
    const QString socket = HandOver::socketPath(folder);
    HandOverServer server;
    if (!server.listen(socket)) {
        const HandOver::Reply reply = HandOver::send(socket, command);
        if (reply.delivered && !reply.ok)
            showNotice(nullptr, Notice{reply.message});
        if (reply.delivered)
            return reply.ok ? 0 : 1;
    }

    if (const auto narrow = screenTooNarrow(app.primaryScreen()->size().width())) {
        showNotice(nullptr, *narrow);
        return 1;
    }
    MainState state(folder);
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    hooks.defaultShippingDesign = DefaultFaHuoSet;
    const StartupResult started = startUp(state, command, hooks);
    if (!started.ok) {
        showNotice(nullptr, *started.failure);
        return 1;
    }
    Form_Main window(state);
    QObject::connect(&server, &HandOverServer::commandReceived, &window, &Form_Main::acceptRequest);
    window.show();
    if (started.command)
        window.handleCommand(*started.command);
    return app.exec();
}
