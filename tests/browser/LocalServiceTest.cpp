#include "browser/LocalService.h"
#include "capture/ServiceClient.h"

#include <QTcpServer>

#include <csignal>
#include <gtest/gtest.h>

using namespace mldd;

namespace {

// A loopback port nobody listens on.
quint16 freePort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

} // namespace

TEST(LocalServiceTest, OnlyAnAddressOfThisMachineCountsAsLoopback) {
    for (const char* address : {"http://127.0.0.1:8717", "http://localhost:8717",
                                "http://LocalHost/", "http://[::1]:8717", "http://127.1.2.3"})
        EXPECT_TRUE(LocalService::isLoopback(QUrl(QLatin1String(address)))) << address;
    for (const char* address :
         {"http://192.168.1.5:8717", "http://example.com", "http://127.0.0.1.example.com",
          "https://127.0.0.1:8717", "file:///tmp", "127.0.0.1:8717", ""})
        EXPECT_FALSE(LocalService::isLoopback(QUrl(QLatin1String(address)))) << address;
}

// The service beside the programs is started once, on the configured port, and answers
// with its content; a later start finds it; another machine's address is never started.
TEST(LocalServiceTest, TheServiceIsStartedWhenTheLoopbackAddressDoesNotAnswer) {
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(freePort());
    const LocalService::Ensured started = LocalService::ensure(base, QStringLiteral(MLDD_BIN));
    ASSERT_EQ(started.outcome, LocalService::Outcome::Started);
    ASSERT_GT(started.pid, 0);
    const ServiceReply help = ServiceClient(5000).get(QUrl(base + QStringLiteral("/mldd/help/")));
    EXPECT_TRUE(help.ok) << help.error.toStdString();
    EXPECT_TRUE(help.body.contains(QStringLiteral("墨岚打单")));

    const LocalService::Ensured again = LocalService::ensure(base, QStringLiteral(MLDD_BIN));
    EXPECT_EQ(again.outcome, LocalService::Outcome::Answering);
    EXPECT_EQ(again.pid, 0);
    ::kill(pid_t(started.pid), SIGTERM);

    const QString remote = QStringLiteral("http://192.0.2.7:%1").arg(freePort());
    EXPECT_EQ(LocalService::ensure(remote, QStringLiteral(MLDD_BIN)).outcome,
              LocalService::Outcome::NotLoopback);
    // Without the program beside it nothing is started, and the caller is told.
    const QString silent = QStringLiteral("http://127.0.0.1:%1").arg(freePort());
    EXPECT_EQ(LocalService::ensure(silent, QStringLiteral("/nonexistent")).outcome,
              LocalService::Outcome::NotStarted);
    EXPECT_FALSE(LocalService::answers(QUrl(silent), 200));
}
