#include "RunFixture.h"

#include "CliRun.h"

#include <QSet>

namespace mldd {
namespace {

class CliPrint : public test::RunFixture {
protected:
    QStringList printArgs(const QList<qint64>& ids) const {
        QStringList numbers;
        for (qint64 id : ids)
            numbers.append(QString::number(id));
        return {"--data", folder.dataPath(),  "print",     "waybill",
                "--ids",  numbers.join(u','), "--printer", queue};
    }

    qsizetype keptTitles() const {
        return QDir(jobFolder).entryList({"*.title"}, QDir::Files).size();
    }
};

TEST_F(CliPrint, KilledRunThenANewOneLeavesEveryOrderPrintedOnceAndMarked) {
    // Enough orders that the kill lands in the middle of the run.
    constexpr int kOrders = 200;
    const QList<qint64> ids = addOrders(QStringList(kOrders, QStringLiteral("圆通")));
    setUpPrinter();
    // kill -9 once some jobs came out: the run is between orders, or in the middle of one.
    QProcess cli;
    cli.start(QStringLiteral(MLDD_CLI), printArgs(ids));
    ASSERT_TRUE(cli.waitForStarted());
    for (int waited = 0; waited < 60000 && keptTitles() < 5; waited += 5)
        QThread::msleep(5);
    EXPECT_FALSE(cli.waitForFinished(1)); // still at work
    cli.kill();
    cli.waitForFinished();
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(queue));
    const int printedBeforeKill = int(keptJobs().size());
    EXPECT_GT(printedBeforeKill, 0);
    EXPECT_LT(printedBeforeKill, kOrders);

    // The new run prints what the list now shows: the orders still unmarked.
    QList<qint64> unmarked;
    const QList<QPair<int, int>> before = marks();
    for (int i = 0; i < ids.size(); ++i) {
        if (before[i].first == 0)
            unmarked.append(ids[i]);
    }
    const test::CliRun again = test::runCli(printArgs(unmarked));
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    QStringList titles;
    for (const test::KeptJob& job : keptJobs())
        titles.append(job.title);
    EXPECT_EQ(titles.size(), kOrders);
    EXPECT_EQ(QSet<QString>(titles.begin(), titles.end()).size(), kOrders);
    for (const auto& mark : marks())
        EXPECT_EQ(mark, (QPair<int, int>{1, 1}));
}

TEST_F(CliPrint, APdfThatCannotBeWrittenWhollyFailsAndMarksNothing) {
    const QList<qint64> ids = addOrders({"圆通", "中通"});
    QStringList args = printArgs(ids);
    args.replace(args.indexOf("--printer"), "--pdf");
    args.last() = "/dev/full";
    const test::CliRun full = test::runCli(args);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains(QStringLiteral("无法写入文件 /dev/full")))
        << full.err.toStdString();
    EXPECT_TRUE(QFileInfo("/dev/full").isSymLink() || !QFileInfo("/dev/full").isFile());

    // A disk that fills up half-way: a small tmpfs, where the system lets us mount one.
    QTemporaryDir small;
    if (test::CupsDaemon::tool("mount", {"-t", "tmpfs", "-o", "size=4k", "tmpfs", small.path()}) ==
        0) {
        args.last() = small.filePath("out.pdf");
        const test::CliRun cut = test::runCli(args);
        test::CupsDaemon::tool("umount", {small.path()});
        EXPECT_EQ(cut.exitCode, 1);
        EXPECT_TRUE(cut.err.contains(QStringLiteral("磁盘空间已满"))) << cut.err.toStdString();
    }
    for (const auto& mark : marks())
        EXPECT_EQ(mark, (QPair<int, int>{0, 0}));
}

} // namespace
} // namespace mldd
