#include "RunFixture.h"

#include "CliRun.h"
#include "TestPostgres.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <functional>
#include <iostream>
#include <utility>

namespace mldd {
namespace {

/** Stations printing from one store on a PostgreSQL server of the test's own. */
class SharedStoreRun : public test::RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        ASSERT_TRUE(server.isRunning());
        ASSERT_TRUE(server.createDatabase(QStringLiteral("shared")));
        joinStore(*this);
        setUpPrinter();
    }

    /** Sets a station's folder to print from the shared store. */
    void joinStore(const test::PrintFolder& station) const {
        writeSetting(QStringLiteral("database.dat"), server.address(QStringLiteral("shared")),
                     station.folder);
        writeSetting(QStringLiteral("claim.dat"), QString::number(kClaimTimeoutSeconds),
                     station.folder);
    }

    void writeSetting(const QString& name, const QString& line) const {
        writeSetting(name, line, folder);
    }

    static void writeSetting(const QString& name, const QString& line, const DataFolder& at) {
        QDir().mkpath(at.file(QStringLiteral("set")));
        QFile file(at.settingsFile(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(line.toUtf8() + "\r\n");
    }

    QStringList printArgs(const QList<qint64>& ids, const QString& printer,
                          const DataFolder* station = nullptr) const {
        QStringList numbers;
        for (qint64 id : ids)
            numbers.append(QString::number(id));
        return {"--data",    (station ? *station : folder).dataPath(),
                "print",     "waybill",
                "--ids",     numbers.join(u','),
                "--printer", printer};
    }

    static QStringList titlesOf(const QList<test::KeptJob>& jobs) {
        QStringList titles;
        for (const test::KeptJob& job : jobs)
            titles.append(job.title);
        return titles;
    }

    static constexpr int kClaimTimeoutSeconds = 6;
    test::TestPostgres server;
};

TEST_F(SharedStoreRun, TwoStationsPrintingOverlappingListsPrintEachOrderOnce) {
    constexpr int kOrders = 500;
    const QList<qint64> ids = addOrders(QStringList(kOrders, QStringLiteral("圆通")));
    ASSERT_EQ(ids.size(), kOrders);
    const QString otherQueue = queue.left(38) + QStringLiteral("-2");
    const QString otherFolder = test::CupsDaemon::running().addQueue(otherQueue);
    ASSERT_FALSE(otherFolder.isEmpty());
    ASSERT_TRUE(PrintFolder::setUpPrinter(otherQueue));

    // Station one has the first 350 orders in its list, station two the last 350.
    QProcess one;
    QProcess two;
    one.start(QStringLiteral(MLDD_CLI), printArgs(ids.mid(0, 350), queue));
    two.start(QStringLiteral(MLDD_CLI), printArgs(ids.mid(150), otherQueue));
    ASSERT_TRUE(one.waitForFinished(180000));
    ASSERT_TRUE(two.waitForFinished(180000));
    EXPECT_EQ(one.exitCode(), 0) << one.readAllStandardError().toStdString();
    EXPECT_EQ(two.exitCode(), 0) << two.readAllStandardError().toStdString();

    const QStringList titles = titlesOf(keptJobs()) + titlesOf(keptJobsOf(otherQueue, otherFolder));
    EXPECT_EQ(titles.size(), kOrders);
    EXPECT_EQ(QSet<QString>(titles.begin(), titles.end()).size(), kOrders);
    for (const auto& mark : marks())
        EXPECT_EQ(mark, (QPair<int, int>{1, 1}));
    // Whichever station claimed first, the other said what it left out.
    const QString said =
        QString::fromUtf8(one.readAllStandardOutput() + two.readAllStandardOutput());
    EXPECT_TRUE(said.contains(QStringLiteral("正由别的打包台打印或已经打印过")))
        << said.toStdString();
}

// Station one prints slower than its claims lapse; station two starts the same list once
// they would have lapsed, had they not been renewed.
TEST_F(SharedStoreRun, ARunThatOutlastsTheClaimTimeoutKeepsItsClaimsAndNoOrderPrintsTwice) {
    constexpr int kOrders = 40;
    constexpr int kLapseSeconds = 2;
    writeSetting(QStringLiteral("claim.dat"), QString::number(kLapseSeconds));
    const QList<qint64> ids = addOrders(QStringList(kOrders, QStringLiteral("圆通")));
    ASSERT_EQ(ids.size(), kOrders);
    test::CupsDaemon::paceJobs(jobFolder, "0.25");
    const QString otherQueue = queue.left(38) + QStringLiteral("-2");
    const QString otherFolder = test::CupsDaemon::running().addQueue(otherQueue);
    ASSERT_FALSE(otherFolder.isEmpty());
    ASSERT_TRUE(PrintFolder::setUpPrinter(otherQueue));

    QProcess one;
    one.start(QStringLiteral(MLDD_CLI), printArgs(ids, queue));
    ASSERT_TRUE(one.waitForStarted());
    QThread::msleep((kLapseSeconds + 1) * 1000);
    ASSERT_EQ(one.state(), QProcess::Running);
    const test::CliRun two = test::runCli(printArgs(ids, otherQueue));
    EXPECT_EQ(two.exitCode, 0) << two.err.toStdString();
    ASSERT_TRUE(one.waitForFinished(120000));
    EXPECT_EQ(one.exitCode(), 0) << one.readAllStandardError().toStdString();

    const QStringList fromOne = titlesOf(keptJobs());
    const QStringList fromTwo = titlesOf(keptJobsOf(otherQueue, otherFolder));
    const QStringList titles = fromOne + fromTwo;
    const int twice = int(titles.size() - QSet<QString>(titles.begin(), titles.end()).size());
    std::cout << "station one " << fromOne.size() << ", station two " << fromTwo.size()
              << ", printed twice " << twice << '\n';
    EXPECT_EQ(twice, 0);
    EXPECT_EQ(titles.size(), kOrders);
    EXPECT_FALSE(fromTwo.isEmpty());
    for (const auto& mark : marks())
        EXPECT_EQ(mark, (QPair<int, int>{1, 1}));
}

// Station one is killed mid-run. Another station leaves alone the orders station one held,
// until its claims lapse; station one's own next run takes them back at once.
TEST_F(SharedStoreRun, AKilledStationsOwnNextRunTakesBackItsClaimsAndEachOrderPrintsOnce) {
    constexpr int kOrders = 300;
    const QList<qint64> ids = addOrders(QStringList(kOrders, QStringLiteral("圆通")));
    ASSERT_EQ(ids.size(), kOrders);
    // kill -9 once a few pages came out, however fast this machine prints.
    QProcess station;
    station.start(QStringLiteral(MLDD_CLI), printArgs(ids, queue));
    ASSERT_TRUE(station.waitForStarted());
    QDeadlineTimer patience(60000);
    while (QDir(jobFolder).entryList({"*.title"}, QDir::Files).size() < 5 &&
           !patience.hasExpired() && station.state() == QProcess::Running)
        QThread::msleep(10);
    EXPECT_EQ(station.state(), QProcess::Running);
    station.kill();
    station.waitForFinished();
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(queue));
    const int printedBeforeKill = int(keptJobs().size());
    EXPECT_GT(printedBeforeKill, 0);
    EXPECT_LT(printedBeforeKill, kOrders);

    test::PrintFolder two;
    joinStore(two);
    ASSERT_TRUE(two.setUpPrinter(queue));
    const test::CliRun other = test::runCli(printArgs(ids, queue, &two.folder));
    EXPECT_EQ(other.exitCode, 0) << other.err.toStdString();
    EXPECT_TRUE(other.out.contains(QStringLiteral("正由别的打包台打印或已经打印过")));
    const QStringList afterOther = titlesOf(keptJobs());
    EXPECT_LT(afterOther.size(), kOrders);
    EXPECT_GT(afterOther.size(), printedBeforeKill);
    EXPECT_EQ(QSet<QString>(afterOther.begin(), afterOther.end()).size(), afterOther.size());

    const test::CliRun again = test::runCli(printArgs(unmarked(ids), queue));
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_FALSE(again.out.contains(QStringLiteral("别的打包台"))) << again.out.toStdString();
    const QStringList titles = titlesOf(keptJobs());
    EXPECT_EQ(titles.size(), kOrders);
    EXPECT_EQ(QSet<QString>(titles.begin(), titles.end()).size(), kOrders);
    for (const auto& mark : marks())
        EXPECT_EQ(mark, (QPair<int, int>{1, 1}));
}

TEST_F(SharedStoreRun, ALostConnectionStopsTheRunAndKeepsTheMarksItMade) {
    const QList<qint64> ids = addOrders(QStringList(60, QStringLiteral("圆通")));
    PrintRun run(start(), spooler, PrintDocuments::Kind::Waybills, ids);
    QObject::connect(&run, &PrintRun::progressed, [&](int done) {
        if (done == 3)
            server.stop();
    });
    ASSERT_EQ(runToEnd(run), std::nullopt);
    ASSERT_TRUE(run.result().stopped);
    const QString said = run.result().stopped->text;
    EXPECT_TRUE(said.contains(QStringLiteral("连接断了")) ||
                said.contains(QStringLiteral("打印标记未能保存")))
        << said.toStdString();
    EXPECT_TRUE(run.result().problems.isEmpty());

    ASSERT_TRUE(server.start());
    const QList<qint64> printed = run.result().printedIds;
    EXPECT_GE(printed.size(), 3);
    // An order whose job went out as the server went away is printed but unmarked:
    // the next run's recovery finds its job.
    const qsizetype jobs = keptJobs().size();
    EXPECT_TRUE(jobs == printed.size() || jobs == printed.size() + 1) << jobs;
    const QList<QPair<int, int>> marked = marks();
    for (int i = 0; i < ids.size(); ++i)
        EXPECT_EQ(marked[i],
                  printed.contains(ids[i]) ? (QPair<int, int>{1, 1}) : (QPair<int, int>{0, 0}))
            << "order " << i;

    // The seller prints the list again once the server is back: the claims the stopped run
    // could not give up are this station's own, and no other station's.
    MainState restarted(folder);
    ASSERT_TRUE(startUp(restarted, QString()).ok);
    PrintRun again(restarted, spooler, PrintDocuments::Kind::Waybills, unmarked(ids));
    ASSERT_EQ(runToEnd(again), std::nullopt);
    EXPECT_EQ(again.result().stopped, std::nullopt);
    EXPECT_EQ(again.result().takenElsewhere, 0);
    const QStringList titles = titlesOf(keptJobs());
    EXPECT_EQ(titles.size(), ids.size());
    EXPECT_EQ(QSet<QString>(titles.begin(), titles.end()).size(), ids.size());
    for (const auto& mark : marks())
        EXPECT_EQ(mark, (QPair<int, int>{1, 1}));
}

// Station one stops (as a laptop that sleeps) after checking its claim of the first order and
// before the job goes out. Meanwhile the claims lapse and station two prints the first two
// orders. Station one's page of the first order then comes out as well, and it says so; the
// second it leaves alone, and the rest it prints as its claims are still its own.
TEST_F(SharedStoreRun, AStationThatSleptSaysWhatWentOutTwiceAndLeavesWhatWasTakenOver) {
    constexpr int kLapseSeconds = 2;
    writeSetting(QStringLiteral("claim.dat"), QString::number(kLapseSeconds));
    const QList<qint64> ids = addOrders(QStringList(4, QStringLiteral("圆通")));
    ASSERT_EQ(ids.size(), 4);
    test::PrintFolder two;
    joinStore(two);
    writeSetting(QStringLiteral("claim.dat"), QString::number(kLapseSeconds), two.folder);
    ASSERT_TRUE(two.setUpPrinter(queue));

    class SleepingSpooler : public CupsSpooler {
    public:
        std::function<void()> whileAsleep;
        std::optional<int> submit(const QString& printer, const QString& title,
                                  const QString& pdfPath, const QString& uuid,
                                  std::optional<QSizeF> paperMm, QString* error) override {
            if (whileAsleep)
                std::exchange(whileAsleep, nullptr)();
            return CupsSpooler::submit(printer, title, pdfPath, uuid, paperMm, error);
        }
    } sleeping;
    test::CliRun other;
    sleeping.whileAsleep = [&] {
        QThread::msleep((kLapseSeconds + 1) * 1000);
        other = test::runCli(printArgs({ids[0], ids[1]}, queue, &two.folder));
    };
    MainState& one = start();
    const QString first = OrderStore(*one.database).byId(ids[0])->orderSign;
    PrintRun run(one, sleeping, PrintDocuments::Kind::Waybills, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(other.exitCode, 0) << other.err.toStdString();

    const QStringList titles = titlesOf(keptJobs());
    EXPECT_EQ(titles.size(), 5);
    EXPECT_EQ(QSet<QString>(titles.begin(), titles.end()).size(), 4);
    const Notice said = run.result().summary(PrintDocuments::Kind::Waybills);
    EXPECT_TRUE(said.text.contains(QStringLiteral("可能打印了两次")) && said.text.contains(first))
        << said.text.toStdString();
    EXPECT_EQ(run.result().takenElsewhere, 1);
    EXPECT_EQ(said.icon, Notice::Icon::Exclamation);
    for (const auto& mark : marks())
        EXPECT_EQ(mark, (QPair<int, int>{1, 1}));
}

} // namespace
} // namespace mldd
