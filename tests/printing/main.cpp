#include "CupsDaemon.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

// Fonts and PDF writing need a GUI application, run offscreen; every test of
// this program talks to the one private cupsd started here.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    mldd::test::CupsDaemon cups;
    mldd::test::CupsDaemon::setRunning(&cups);
    return RUN_ALL_TESTS();
}
