#include "core/ProcessIdentity.h"

#include <QCoreApplication>
#include <QSysInfo>

#include <gtest/gtest.h>

namespace mldd {
namespace {

TEST(ProcessIdentity, TellsARunningProcessFromAnEndedOneAndLeavesAnotherHostsAlone) {
    const QString host = QSysInfo::machineHostName();
    EXPECT_FALSE(ProcessIdentity::ended(ProcessIdentity::current()));
    EXPECT_TRUE(ProcessIdentity::isCurrent(ProcessIdentity::current()));

    // The same process id with another start is another process: the one named has ended.
    const QString restarted =
        QStringLiteral("%1/%2:1").arg(host).arg(QCoreApplication::applicationPid());
    EXPECT_TRUE(ProcessIdentity::ended(restarted));

    EXPECT_FALSE(ProcessIdentity::ended(QStringLiteral("another-host.invalid/1:1")));

    // Journal lines of earlier versions name this host's process by its id alone.
    EXPECT_FALSE(ProcessIdentity::ended(QString::number(QCoreApplication::applicationPid())));
    EXPECT_TRUE(ProcessIdentity::ended(QStringLiteral("4194303999")));
}

} // namespace
} // namespace mldd
