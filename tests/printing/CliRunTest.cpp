#include "RunFixture.h"

#include "CliRun.h"

#include <QMap>

#include <iostream>
#include <random>

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
};

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

} // namespace
} // namespace mldd
