#include <QCoreApplication>

#include <gtest/gtest.h>

// Requests to the maker's service run in the application's event loop.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
