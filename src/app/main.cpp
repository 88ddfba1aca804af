#include "Form_Main.h"
#include "NoticeBox.h"

#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "shiplist/FaHuoSet.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

using namespace mldd;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Qt's own buttons and dialogs (OK, Cancel, file choosers) in Chinese.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("data"), QStringLiteral("数据文件夹"), QStringLiteral("DIR")});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("打印文件或网页地址"));
    parser.process(app);

    if (const auto narrow = screenTooNarrow(app.primaryScreen()->size().width())) {
        showNotice(nullptr, *narrow);
        return 1;
    }
    MainState state(parser.isSet(QStringLiteral("data"))
                        ? DataFolder(parser.value(QStringLiteral("data")))
                        : DataFolder::besideProgram(QCoreApplication::applicationDirPath()));
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    hooks.defaultShippingDesign = DefaultFaHuoSet;
    const StartupResult started = startUp(state, parser.positionalArguments().join(u' '), hooks);
    if (!started.ok) {
        showNotice(nullptr, *started.failure);
        return 1;
    }
    Form_Main window(state);
    window.show();
    if (started.command)
        window.handleCommand(*started.command);
    return app.exec();
}
