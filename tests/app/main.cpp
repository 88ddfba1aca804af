#include "ChineseLocale.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Window tests need an application object; they run on the offscreen platform, in Chinese.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) // xcb under Xvfb for screenshots
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The built-in browser: no sandbox as root, and its own folders, gone after the run.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QTemporaryDir home;
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, (home.path() + u'/' + QString::fromLatin1(name)).toUtf8());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    mldd::installChineseLocale(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
