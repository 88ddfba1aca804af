#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The hand-over socket and the service's requests run in the application's event loop.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Sockets go to a runtime folder of the tests' own, which mldd-do inherits.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
