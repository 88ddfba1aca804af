#include "RunFixture.h"

#include "CliRun.h"

#include <QMap>
#include <QRegularExpression>

#include <iostream>
#include <random>

namespace mldd {
namespace {

using CliPrint = test::RunFixture;

// kill -9 lands anywhere: before the journal line, between it and the spooler, half-way
// through sending the document, while the job prints, between its end and the mark, after the
// mark, while the next run settles what the last one left. The printer takes a tenth of a second
// a job, so that the short runs cannot print all the orders on any machine; it has a history
// longer than CUPS answers at once, as a printer in use for months has.
TEST_F(CliPrint, RunsKilledAtRandomMomentsThenANewOneLeaveEveryOrderPrintedOnceAndMarked) {
    constexpr int kOrders = 800;
    constexpr int kKills = 100;
    constexpr int kOlderJobs = 500;
    const QList<qint64> ids = addOrders(QStringList(kOrders, QStringLiteral("圆通")));
    setUpPrinter();
    test::CupsDaemon::fillHistory(queue, kOlderJobs);
    test::CupsDaemon::paceJobs(jobFolder, "0.1");
    // Fixed seed: a failing moment can be replayed.
    std::mt19937 random(25);
    std::uniform_int_distribution<int> moment(0, 450);
    int killedAtWork = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        if (test::runCliKilledAfter(printArgs(unmarked(ids)), moment(random)))
            ++killedAtWork;
        // The seller starts again once the printer has finished what it had; a half-sent job
        // stays held and is the next run's to settle.
        ASSERT_TRUE(waitUntilNothingPrints());
    }
    // Every run was still printing when it was killed: none was refused by what another left.
    EXPECT_EQ(killedAtWork, kKills);
    QFile::remove(jobFolder + QStringLiteral("/pace")); // the last run prints the rest at speed
    const QList<qint64> left = unmarked(ids);
    ASSERT_FALSE(left.isEmpty());
    // Hundreds of orders: on a busy machine that takes minutes.
    const test::CliRun again = test::runCli(printArgs(left), 600000);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();

    QMap<QString, int> printedTimes;
    for (const test::KeptJob& job : keptJobs())
        ++printedTimes[job.title];
    const QList<QPair<int, int>> after = marks();
    int twice = 0;
    int markedWithoutJob = 0;
    int unprinted = 0;
    for (int i = 0; i < ids.size(); ++i) {
        const int times = printedTimes.value(QStringLiteral("快递单-淘宝:%1").arg(1001 + i));
        twice += times > 1;
        unprinted += times == 0;
        markedWithoutJob += after[i].first == 1 && times == 0;
    }
    EXPECT_EQ(twice, 0);
    EXPECT_EQ(markedWithoutJob, 0);
    EXPECT_EQ(unprinted, 0);
    EXPECT_EQ(after, (QList<QPair<int, int>>(kOrders, {1, 1})));
    QString queued;
    test::CupsDaemon::tool("lpstat", {"-o", queue}, &queued);
    EXPECT_TRUE(queued.trimmed().isEmpty()) << queued.toStdString();
    const QList<SpoolerJob> jobs = spooler.keptJobs(queue).value();
    const auto cancelled =
        std::count_if(jobs.begin(), jobs.end(),
                      [](const SpoolerJob& job) { return job.state == SpoolerJob::kCancelled; }) -
        kOlderJobs;
    const auto stuck =
        std::count_if(jobs.begin(), jobs.end(), [](const SpoolerJob& job) { return !job.ended(); });
    EXPECT_EQ(stuck, 0);
    std::cout << "kills " << kKills << " (at work " << killedAtWork
              << "), unprinted jobs cancelled " << cancelled << ", printed twice " << twice
              << ", marked without a job " << markedWithoutJob << ", jobs left in the queue "
              << stuck << '\n';
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

// 打印设置 › 打印发货单 on: a scripted waybill print brings each order's shipping list after it,
// as the window's run does, and never a list that was printed before.
TEST_F(CliPrint, WithShippingListsOnWaybillsAreFollowedByTheirLists) {
    const QList<qint64> ids = addOrders({"圆通", "中通", "圆通"});
    setUpPrinter();
    const QString listQueue = queue.left(30) + QStringLiteral("Lists");
    const QString listJobs = test::CupsDaemon::running().addQueue(listQueue);
    ASSERT_FALSE(listJobs.isEmpty());
    MainState& started = start();
    ASSERT_TRUE(PrinterSetup(folder, started.log)
                    .saveListPrinter(listQueue, QStringLiteral("A5|148|210|8390|11905|1")));
    started.settings.switchFlags[4] = 1;
    QSqlDatabase connection = started.database->connection();
    ASSERT_TRUE(started.settings.save(connection, started.log));

    QStringList args = printArgs(ids.mid(0, 1));
    args.replace(args.indexOf("--printer"), "--pdf");
    args.last() = dir.filePath(QStringLiteral("早班.pdf"));
    const test::CliRun toFile = test::runCli(args);
    EXPECT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
    QString info;
    test::CupsDaemon::tool("pdfinfo", {args.last()}, &info);
    EXPECT_TRUE(info.contains(QRegularExpression("Pages: +2\\n"))) << info.toStdString();
    QString text;
    test::CupsDaemon::tool("pdftotext", {args.last(), "-"}, &text);
    EXPECT_TRUE(text.contains(QStringLiteral("某某某店铺发货单"))) << text.toStdString();

    // The first order's list came out with its waybill: printing all three brings two lists.
    const test::CliRun toPrinter = test::runCli(printArgs(ids));
    EXPECT_EQ(toPrinter.exitCode, 0) << toPrinter.err.toStdString();
    EXPECT_TRUE(toPrinter.out.contains(QStringLiteral("已打印2张发货单")))
        << toPrinter.out.toStdString();
    EXPECT_EQ(keptJobs().size(), 3);
    const QList<test::KeptJob> lists = keptJobsOf(listQueue, listJobs);
    ASSERT_EQ(lists.size(), 2);
    // In the order the waybills came out: 圆通's two first, then 中通's.
    EXPECT_EQ(lists[0].title, QStringLiteral("发货单-%1-淘宝:1003").arg(ids[2]));
    EXPECT_EQ(lists[1].title, QStringLiteral("发货单-%1-淘宝:1002").arg(ids[1]));
    EXPECT_EQ(marks("fh_sign, fh_print"), (QList<QPair<int, int>>(3, {1, 1})));
    EXPECT_EQ(marks(), (QList<QPair<int, int>>(3, {1, 1})));
}

} // namespace
} // namespace mldd
