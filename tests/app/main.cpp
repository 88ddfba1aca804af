#include "ChineseTranslation.h"

#include <QApplication>

#include <gtest/gtest.h>

// Window tests need an application object; they run on the offscreen platform, in Chinese.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mldd::installChineseTranslation(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
