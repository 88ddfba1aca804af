#include <QGuiApplication>

#include <gtest/gtest.h>

// Fonts and PDF writing need a GUI application; tests run it offscreen.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
