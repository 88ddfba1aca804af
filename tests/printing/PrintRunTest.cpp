#include "RunFixture.h"

#include "core/ProcessIdentity.h"
#include "core/TextFile.h"
#include "printing/PrintJob.h"
#include "printing/PrintJournal.h"
#include "printing/PrintRecovery.h"

#include "waybill/PdfReadBack.h"
#include "waybill/WaybillPages.h"

#include "TrackingNumbers.h"

#include <QProcess>
#include <QRandomGenerator>

#include <iostream>

namespace mldd {
namespace {

using test::CupsDaemon;

class PrintRunOnCups : public test::RunFixture {};

QStringList repeated(const QString& form, int times) {
    return QStringList(times, form);
}

// The page model moved as the printer's offsets move it: what the job must show.
// Lines that start with a blank have no first word a reader could find.
PageModel movedBy(PageModel page, PrinterOffsets offsets) {
    page.texts.removeIf(
        [](const TextLine& line) { return line.text.section(u' ', 0, 0).isEmpty(); });
    for (TextLine& line : page.texts) {
        line.left -= offsets.horizontal;
        line.top -= offsets.vertical;
    }
    return page;
}

TEST_F(PrintRunOnCups, TwoFormsArriveInListOrderWhereTheModelPutThemAndAreMarkedOnce) {
    const QList<qint64> ids = addOrders(repeated("圆通", 10) + repeated("中通", 10));
    setUpPrinter();
    MainState& state = start();
    PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
    QStringList questions;
    run.askPaperChange = [&](const Notice& question) {
        questions.append(question.text);
        return true;
    };
    int pageTurns = 0;
    QObject::connect(&run, &PrintRun::listPageTurned, [&] { ++pageTurns; });
    ASSERT_EQ(runToEnd(run), std::nullopt);

    EXPECT_EQ(run.result().printedIds, ids);
    EXPECT_FALSE(run.result().stopped);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("请将快递单打印纸更换成[圆通]")));
    EXPECT_TRUE(questions[1].startsWith(QStringLiteral("请将快递单打印纸更换成[中通]")));
    EXPECT_EQ(pageTurns, 1);

    const QList<test::KeptJob> jobs = keptJobs();
    ASSERT_EQ(jobs.size(), 20);
    WaybillPages waybills(state.folder, state.log, state.settings, state.profiles,
                          QDate::currentDate());
    const QList<Order> orders = OrderStore(*state.database).byIds(ids);
    for (int i = 0; i < jobs.size(); ++i) {
        EXPECT_EQ(jobs[i].title, QStringLiteral("快递单-淘宝:%1").arg(1001 + i));
        // Reading back every page is slow; the first and last of each form tell enough.
        if (i % 10 != 0 && i % 10 != 9)
            continue;
        const PageModel page = std::get<PageModel>(waybills.page(orders[i]));
        test::expectTextWhereModelled({movedBy(page, kOffsets)}, test::wordsOf(jobs[i].pdf));
        QTemporaryDir images;
        EXPECT_EQ(test::barcodesOf(jobs[i].pdf, images.path()), QStringList{orders[i].wuliuCode});
    }
    for (const auto& [sign, print] : marks()) {
        EXPECT_EQ(sign, 1);
        EXPECT_EQ(print, 1);
    }
}

// A raw queue tells no resolution: the bars are laid out for the one chosen in the set-up.
TEST_F(PrintRunOnCups, OnAQueueThatTellsNoResolutionBarsAreWholeDotsOfTheChosenOne) {
    ASSERT_EQ(spooler.resolution(queue), 0);
    setUpPrinter();
    MainState& state = start();
    const QStringList numbers = test::variedTrackingNumbers(20);
    for (const int chosen : {180, 203, 300}) {
        ASSERT_TRUE(PrinterSetup(folder, state.log).saveResolution(queue, chosen));
        const QList<qint64> ids = addOrders(repeated("圆通", 10) + repeated("中通", 10), numbers);
        PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
        run.askPaperChange = [](const Notice&) { return true; };
        ASSERT_EQ(runToEnd(run), std::nullopt);
        const QList<test::KeptJob> jobs = keptJobs().mid(keptJobs().size() - 20);
        ASSERT_EQ(jobs.size(), 20);
        for (const int rasterised : {180, 203, 300}) {
            int right = 0;
            for (int i = 0; i < jobs.size(); ++i) {
                QTemporaryDir images;
                right += test::barcodesOf(jobs[i].pdf, images.path(), rasterised) ==
                         QStringList{numbers[i]};
            }
            std::cout << "queue without a resolution, " << chosen << " dpi chosen, rasterised at "
                      << rasterised << ": " << right << " of 20 scan\n";
            if (rasterised == chosen) {
                EXPECT_EQ(right, 20) << chosen;
            }
        }
    }
}

TEST_F(PrintRunOnCups, ThreeCouriersMixedAreAskedForOnceEachAndCountedPerCourier) {
    QStringList couriers;
    for (int i = 0; i < 15; ++i)
        couriers.append(QStringList{"圆通", "中通", "申通"}[i % 3]);
    const QList<qint64> ids = addOrders(couriers);
    setUpPrinter();
    PrintRun run(start(), spooler, PrintDocuments::Kind::Waybills, ids);
    QStringList papers;
    run.askPaperChange = [&](const Notice& question) {
        papers.append(question.text.section(u'[', 1, 1).section(u']', 0, 0));
        return true;
    };
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(papers, (QStringList{"圆通", "中通", "申通"}));
    QStringList printedSigns;
    for (const test::KeptJob& job : keptJobs())
        printedSigns.append(job.title.section(u':', 1));
    // List order inside each courier's group.
    EXPECT_EQ(printedSigns,
              (QStringList{"1001", "1004", "1007", "1010", "1013", "1002", "1005", "1008", "1011",
                           "1014", "1003", "1006", "1009", "1012", "1015"}));
    EXPECT_EQ(unmarked(ids), QList<qint64>());
    const QString summary = run.result().summary(PrintDocuments::Kind::Waybills).text;
    EXPECT_TRUE(summary.contains(QStringLiteral("其中：圆通 5张，中通 5张，申通 5张。")))
        << summary.toStdString();
    EXPECT_FALSE(summary.contains(QStringLiteral("没有打印"))) << summary.toStdString();
}

TEST_F(PrintRunOnCups, OneCourierIsNeverAskedForAndANoLeavesTheRestToGoOnWith) {
    const QList<qint64> single = addOrders({"圆通", "圆通"});
    setUpPrinter();
    MainState& state = start();
    {
        PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, single);
        run.askPaperChange = [](const Notice&) {
            ADD_FAILURE() << "one form needs no question";
            return true;
        };
        ASSERT_EQ(runToEnd(run), std::nullopt);
        EXPECT_EQ(run.result().printedIds, single);
    }
    const QList<qint64> ids = addOrders({"中通", "圆通", "圆通", "中通"});
    PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
    QStringList papers;
    run.askPaperChange = [&](const Notice& question) {
        papers.append(question.text.section(u'[', 1, 1).section(u']', 0, 0));
        // Saying no stops the run before the order that needed the other paper.
        return papers.size() < 2;
    };
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(papers, (QStringList{"中通", "圆通"}));
    EXPECT_TRUE(run.result().cancelled);
    EXPECT_EQ(run.result().printedIds, (QList<qint64>{ids[0], ids[3]}));
    EXPECT_EQ(run.result().remaining, (QList<qint64>{ids[1], ids[2]}));
    EXPECT_EQ(keptJobs().size(), 4);
    EXPECT_EQ(unmarked(single + ids), (QList<qint64>{ids[1], ids[2]}));
    const QString summary = run.result().summary(PrintDocuments::Kind::Waybills).text;
    EXPECT_TRUE(summary.contains(QStringLiteral("还有2张快递单没有打印。")))
        << summary.toStdString();
}

TEST_F(PrintRunOnCups, AnOrderWithoutACourierGoesOnTheFormBeforeItWithoutAPrompt) {
    const QList<qint64> ids = addOrders({"圆通", ""});
    setUpPrinter();
    PrintRun run(start(), spooler, PrintDocuments::Kind::Waybills, ids);
    QStringList questions;
    run.askPaperChange = [&](const Notice& question) {
        questions.append(question.text);
        return true;
    };
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_TRUE(questions.isEmpty()) << questions.join(u'|').toStdString();
    EXPECT_EQ(run.result().printedIds, ids);
}

// First in the run there is no form before it: the order is named as having no courier, not
// as missing a template file that no download could bring.
TEST_F(PrintRunOnCups, AnOrderWithoutACourierAndNoFormBeforeItIsNamedAsSuch) {
    const QList<qint64> ids = addOrders({"", "圆通"});
    setUpPrinter();
    PrintRun run(start(), spooler, PrintDocuments::Kind::Waybills, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(run.result().printedIds, QList<qint64>{ids[1]});
    ASSERT_EQ(run.result().problems.size(), 1);
    const QString problem = run.result().problems[0];
    EXPECT_TRUE(problem.contains(QStringLiteral("淘宝:1001"))) << problem.toStdString();
    EXPECT_TRUE(problem.contains(QStringLiteral("没有选择快递单据"))) << problem.toStdString();
    EXPECT_FALSE(problem.contains(QStringLiteral("文件丢失"))) << problem.toStdString();
}

TEST_F(PrintRunOnCups, PausedQueueHeldJobAndMissingPrinterRefuseAndMarkNothing) {
    const QList<qint64> ids = addOrders({"圆通", "中通"});
    setUpPrinter();
    MainState& state = start();
    const auto refusal = [&](const QString& printer) {
        PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
        run.setPrinter(printer);
        return runToEnd(run).value_or(Notice{});
    };

    CupsDaemon::tool("cupsdisable", {queue});
    const Notice paused = refusal(queue);
    EXPECT_EQ(paused.text, QStringLiteral("请检查您的打印机!\n请检查您的打印机后再打单！"));
    EXPECT_EQ(paused.title, QStringLiteral("提示"));
    CupsDaemon::tool("cupsenable", {queue});

    QTemporaryDir other;
    QFile document(other.filePath("other.txt"));
    document.open(QIODevice::WriteOnly);
    document.write("not ours\n");
    document.close();
    ASSERT_EQ(
        CupsDaemon::tool("lp", {"-d", queue, "-H", "hold", "-t", "对账单", document.fileName()}),
        0);
    EXPECT_EQ(refusal(queue).text,
              QStringLiteral(
                  "打印机中有未完成的打印任务：\n\n任务:对账单已暂停  \n请您先将上述任务完成！"));

    EXPECT_EQ(refusal(QStringLiteral("NoSuchPrinter")).text,
              QStringLiteral("您设置的快递单打印机未能正常联机！\n"
                             "请检查打印机后或更改默认打印机后再打单！"));
    QFile::remove(PrinterSetup(folder, state.log).offsetFile(queue));
    EXPECT_EQ(refusal(queue).text,
              QStringLiteral("您还没进行快递单默认打印机的调整！\n请设置后再打单！"));

    for (const auto& mark : marks())
        EXPECT_EQ(mark, (QPair<int, int>{0, 0}));
    CupsDaemon::tool("cancel", {"-a", queue});
    EXPECT_TRUE(keptJobs().isEmpty());
}

// What a run killed at three moments left: a job the spooler completed, a job whose document
// never fully arrived, and a journal line whose job never reached the spooler.
TEST_F(PrintRunOnCups, AKilledRunsJobsAreFoundByTheirIdentityAndSettledBeforeTheQueueCheck) {
    const QList<qint64> ids = addOrders(repeated("圆通", 5));
    setUpPrinter();
    const PrintJournal journal(folder);
    const auto journalled = [&](const QString& printer, qint64 id) {
        const PrintJournal::Entry entry{printer, newJobUuid(), id, PrintDocuments::Kind::Waybills,
                                        deadRun()};
        EXPECT_TRUE(journal.record(entry));
        return entry.uuid;
    };
    QTemporaryDir other;
    QFile document(other.filePath("job.txt"));
    document.open(QIODevice::WriteOnly);
    document.write("waybill\n");
    document.close();
    ASSERT_TRUE(spooler.submit(queue, QStringLiteral("快递单-淘宝:1002"), document.fileName(),
                               journalled(queue, ids[1]), {}, nullptr));
    ASSERT_TRUE(CupsDaemon::waitUntilIdle(queue));
    cups_option_t* option = nullptr;
    const int count =
        cupsAddOption("job-uuid", journalled(queue, ids[2]).toUtf8().constData(), 0, &option);
    const int halfSent = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(),
                                       "快递单-淘宝:1003", count, option);
    cupsFreeOptions(count, option);
    ASSERT_GT(halfSent, 0);
    journalled(queue, ids[3]);
    // A job on a queue deleted since took the queue's jobs with it: never printed.
    journalled(QStringLiteral("other"), ids[4]);

    MainState& state = start();
    PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
    qsizetype journalledWhilePrinting = 0;
    QObject::connect(&run, &PrintRun::progressed, [&] {
        journalledWhilePrinting = std::max(journalledWhilePrinting, journal.entries().size());
    });
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(run.result().recovered, 1);
    EXPECT_EQ(run.result().abandoned, 1);
    EXPECT_EQ(run.result().printedIds, (QList<qint64>{ids[0], ids[2], ids[3], ids[4]}));
    const QString summary = run.result().summary(PrintDocuments::Kind::Waybills).text;
    EXPECT_TRUE(summary.contains(QStringLiteral("已完成的1张快递单已补上打印标记")));
    EXPECT_TRUE(summary.contains(QStringLiteral("留下1个还没有打印的任务，已取消")));
    EXPECT_EQ(spooler.job(queue, halfSent)->state, SpoolerJob::kCancelled);
    QStringList titles;
    for (const test::KeptJob& kept : keptJobs())
        titles.append(kept.title);
    EXPECT_EQ(titles.count(QStringLiteral("快递单-淘宝:1002")), 1);
    EXPECT_EQ(titles.size(), 5);
    for (const auto& mark : marks())
        EXPECT_EQ(mark.first, 1);
    // Each order is journalled only until its job ended: none is left once it is counted.
    EXPECT_EQ(journalledWhilePrinting, 0);
    EXPECT_TRUE(journal.entries().isEmpty());

    // An order the seller unmarks to print once more is printed again, not "recovered".
    QSqlQuery(state.database->connection())
        .exec(QStringLiteral("update order_data set kd_sign = 0 where id = %1").arg(ids[2]));
    PrintRun again(state, spooler, PrintDocuments::Kind::Waybills, {ids[2]});
    ASSERT_EQ(runToEnd(again), std::nullopt);
    EXPECT_EQ(again.result().recovered, 0);
    EXPECT_EQ(again.result().printedIds, (QList<qint64>{ids[2]}));
}

// A job the spooler took and has since forgotten (its history cut short, its queue deleted) may
// have come out: its order is neither marked nor printed again before the seller looked.
TEST_F(PrintRunOnCups, AJobTheSpoolerTookAndForgotIsNamedNotPrintedAgain) {
    const QList<qint64> ids = addOrders(repeated("圆通", 2));
    setUpPrinter();
    const PrintJournal journal(folder);
    const PrintJournal::Entry entry{queue, newJobUuid(), ids[0], PrintDocuments::Kind::Waybills,
                                    deadRun()};
    ASSERT_TRUE(journal.record(entry));
    QTemporaryDir files;
    QFile document(files.filePath("job.txt"));
    document.open(QIODevice::WriteOnly);
    document.write("waybill\n");
    document.close();
    const std::optional<int> taken = spooler.submit(queue, QStringLiteral("快递单-淘宝:1001"),
                                                    document.fileName(), entry.uuid, {}, nullptr);
    ASSERT_TRUE(taken);
    ASSERT_TRUE(journal.noteTaken(entry.uuid, *taken));
    ASSERT_TRUE(CupsDaemon::waitUntilIdle(queue));
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), *taken, 1);
    ASSERT_FALSE(spooler.job(queue, *taken));

    MainState& state = start();
    PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(run.result().printedIds, QList<qint64>{ids[1]});
    const Notice summary = run.result().summary(PrintDocuments::Kind::Waybills);
    EXPECT_TRUE(summary.text.contains(QStringLiteral("不能确定是否已经打印出来，这次没有打印，"
                                                     "请查看后再决定是否重打：\n淘宝:1001")))
        << summary.text.toStdString();
    EXPECT_EQ(summary.icon, Notice::Icon::Exclamation);
    EXPECT_EQ(marks()[0].first, 0);
    EXPECT_TRUE(journal.entries().isEmpty());

    // Once the seller has looked, the order prints as any other.
    PrintRun again(state, spooler, PrintDocuments::Kind::Waybills, {ids[0]});
    ASSERT_EQ(runToEnd(again), std::nullopt);
    EXPECT_EQ(again.result().printedIds, QList<qint64>{ids[0]});
    EXPECT_TRUE(again.result().uncertain.isEmpty());
}

// Whose run a journal line belongs to decides what a new run does with its job: a dead run's
// job still waiting in the queue is cancelled and its order printed now; a live run's job is
// left to that run, and so is its order; a process id the system gave again to another program
// is no live run.
TEST_F(PrintRunOnCups, JobsOfDeadRunsAreSettledAndThoseOfLiveRunsLeftAlone) {
    const QList<qint64> ids = addOrders(repeated("圆通", 5));
    setUpPrinter();
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(other.waitForStarted());
    const QString live = ProcessIdentity::of(other.processId());
    const QString reused = live.section(u':', 0, 0) + QStringLiteral(":1");
    const PrintJournal journal(folder);
    QTemporaryDir files;
    QFile document(files.filePath("job.txt"));
    document.open(QIODevice::WriteOnly);
    document.write("waybill\n");
    document.close();
    const auto sent = [&](qint64 id, int position, const QString& run, bool held) {
        const PrintJournal::Entry entry{queue, newJobUuid(), id, PrintDocuments::Kind::Waybills,
                                        run};
        EXPECT_TRUE(journal.record(entry));
        cups_option_t* options = nullptr;
        int count = cupsAddOption("job-uuid", entry.uuid.toUtf8().constData(), 0, &options);
        if (held)
            count = cupsAddOption("job-hold-until", "indefinite", count, &options);
        const int job = cupsPrintFile(
            queue.toUtf8().constData(), document.fileName().toUtf8().constData(),
            QStringLiteral("快递单-淘宝:%1").arg(1001 + position).toUtf8().constData(), count,
            options);
        cupsFreeOptions(count, options);
        EXPECT_GT(job, 0);
        return job;
    };
    const int waiting = sent(ids[0], 0, deadRun(), true);
    sent(ids[1], 1, reused, false);
    sent(ids[2], 2, live, false);
    ASSERT_TRUE(waitUntilNothingPrints());

    MainState& state = start();
    PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);
    other.kill();
    other.waitForFinished();
    EXPECT_EQ(spooler.job(queue, waiting)->state, SpoolerJob::kCancelled);
    EXPECT_EQ(run.result().abandoned, 1);
    EXPECT_EQ(run.result().recovered, 1);
    EXPECT_EQ(run.result().stillPrinting, 1);
    EXPECT_EQ(run.result().printedIds, (QList<qint64>{ids[0], ids[3], ids[4]}));
    EXPECT_TRUE(run.result()
                    .summary(PrintDocuments::Kind::Waybills)
                    .text.contains(QStringLiteral("另有1个订单上次的打印任务还没有结束")));
    QStringList titles;
    for (const test::KeptJob& kept : keptJobs())
        titles.append(kept.title);
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"快递单-淘宝:1001", "快递单-淘宝:1002", "快递单-淘宝:1003",
                                   "快递单-淘宝:1004", "快递单-淘宝:1005"}));
    // The live run marks its own order when it sees its job's end.
    EXPECT_EQ(marks(), (QList<QPair<int, int>>{{1, 1}, {1, 1}, {0, 0}, {1, 1}, {1, 1}}));
    ASSERT_EQ(journal.entries().size(), 1);
    EXPECT_EQ(journal.entries()[0].orderId, ids[2]);
}

// A spooler that does not answer cannot tell a job that came out from one never sent: the
// journal keeps the line, its order is not printed, and the run after settles it.
TEST_F(PrintRunOnCups, AJobIsSettledOnlyOnceTheSpoolerAnswers) {
    const QList<qint64> ids = addOrders(repeated("圆通", 1));
    setUpPrinter();
    const QString uuid = newJobUuid();
    const PrintJournal journal(folder);
    ASSERT_TRUE(journal.record({queue, uuid, ids[0], PrintDocuments::Kind::Waybills, deadRun()}));
    QTemporaryDir files;
    QFile document(files.filePath("job.txt"));
    document.open(QIODevice::WriteOnly);
    document.write("waybill\n");
    document.close();
    ASSERT_TRUE(spooler.submit(queue, QStringLiteral("快递单-淘宝:1001"), document.fileName(), uuid,
                               {}, nullptr));
    ASSERT_TRUE(CupsDaemon::waitUntilIdle(queue));

    MainState& state = start();
    PrintDocuments documents(state, PrintDocuments::Kind::Waybills);
    const OrderStore store(*state.database);
    cupsSetServer(qPrintable(files.filePath("no-cupsd.sock")));
    const RecoveredJobs unanswered = recoverJobs(spooler, documents, store, journal);
    cupsSetServer(qPrintable(CupsDaemon::running().socket()));
    EXPECT_EQ(unanswered.undecided, QList<qint64>{ids[0]});
    EXPECT_EQ(journal.entries().size(), 1);
    EXPECT_EQ(marks()[0].first, 0);

    const RecoveredJobs answered = recoverJobs(spooler, documents, store, journal);
    EXPECT_EQ(answered.marked, QList<qint64>{ids[0]});
    EXPECT_TRUE(journal.entries().isEmpty());
    EXPECT_EQ(marks()[0].first, 1);
}

// The backend decides each job's end, as a printer does: cancelled at the device, aborted by
// a fault the queue's policy answers by dropping the job.
TEST_F(PrintRunOnCups, OnlyCompletedJobsAreMarkedAndTheOthersNamedWithTheirReason) {
    const QList<qint64> ids = addOrders(repeated("圆通", 4));
    setUpPrinter();
    ASSERT_EQ(CupsDaemon::tool("lpadmin", {"-p", queue, "-o", "printer-error-policy=abort-job"}),
              0);
    constexpr int kBackendFailed = 1;
    constexpr int kBackendCancel = 5;
    CupsDaemon::failJobsTitled(jobFolder, QStringLiteral("快递单-淘宝:1002"), kBackendCancel);
    CupsDaemon::failJobsTitled(jobFolder, QStringLiteral("快递单-淘宝:1003"), kBackendFailed);
    MainState& state = start();
    PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);

    EXPECT_EQ(run.result().printedIds, (QList<qint64>{ids[0], ids[3]}));
    EXPECT_EQ(run.result().printed, 2);
    ASSERT_EQ(run.result().problems.size(), 2);
    EXPECT_TRUE(run.result().problems[0].startsWith(QStringLiteral("订单淘宝:1002打印失败：任务")))
        << run.result().problems[0].toStdString();
    EXPECT_EQ(run.result().problems[1],
              QStringLiteral("订单淘宝:1003打印失败：打印机出错，任务被中止"));
    EXPECT_EQ(marks(), (QList<QPair<int, int>>{{1, 1}, {0, 0}, {0, 0}, {1, 1}}));
    EXPECT_TRUE(PrintJournal(folder).entries().isEmpty());
}

// A failed download leaves such files: random bytes, nothing at all, or the first 2,000 of the
// 4,420 characters, which still decode because the length ends in the same digit.
TEST_F(PrintRunOnCups, GarbledEmptyOrCutFormsAreNamedAndTheirOrdersLeftUnmarked) {
    const auto form = [&](const QString& name, const QByteArray& layout) {
        QFile file(folder.file(QStringLiteral("Delivery/%1.mlg").arg(name)));
        file.open(QIODevice::WriteOnly);
        file.write(layout);
        file.close();
        QFile::copy(folder.file(QStringLiteral("Delivery/圆通.mlm")),
                    folder.file(QStringLiteral("Delivery/%1.mlm").arg(name)));
    };
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char(QRandomGenerator::global()->bounded(256)));
    form(QStringLiteral("坏"), garbage);
    form(QStringLiteral("空"), QByteArray());
    QFile whole(folder.file(QStringLiteral("Delivery/圆通.mlg")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray layout = whole.readAll().trimmed();
    ASSERT_EQ(layout.size(), 4420);
    form(QStringLiteral("断"), layout.left(2000));
    const QList<qint64> ids = addOrders({"圆通", "坏", "空", "断", "圆通"});
    setUpPrinter();
    PrintRun run(start(), spooler, PrintDocuments::Kind::Waybills, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(run.result().printedIds, (QList<qint64>{ids[0], ids[4]}));
    const QStringList problems = run.result().problems;
    ASSERT_EQ(problems.size(), 3);
    const QStringList names{"坏", "空", "断"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(problems[i].contains(QStringLiteral("淘宝:%1").arg(1002 + i)))
            << problems[i].toStdString();
        EXPECT_TRUE(problems[i].contains(names[i])) << problems[i].toStdString();
    }
    EXPECT_TRUE(problems[1].contains(QStringLiteral("收件人姓名、收件人电话、收件人地址")))
        << problems[1].toStdString();
    EXPECT_TRUE(problems[2].contains(QStringLiteral("不完整"))) << problems[2].toStdString();
    EXPECT_EQ(keptJobs().size(), 2);
    EXPECT_EQ(marks(), (QList<QPair<int, int>>{{1, 1}, {0, 0}, {0, 0}, {0, 0}, {1, 1}}));
}

TEST_F(PrintRunOnCups, ShippingListsNeedTheirPaperAndGoUnderTheirOwnTitles) {
    const QList<qint64> ids = addOrders({"圆通", "中通"});
    MainState& state = start();
    const PrinterSetup setup(folder, state.log);
    {
        PrintRun run(state, spooler, PrintDocuments::Kind::ShippingLists, ids);
        EXPECT_EQ(runToEnd(run)->text,
                  QStringLiteral("您还没设置默认的发货单打印机！\n请设置后再打单！"));
    }
    ASSERT_TRUE(setup.saveListPrinter(queue, QStringLiteral("A5|148|210|8390|11905|1")));
    PrintRun run(state, spooler, PrintDocuments::Kind::ShippingLists, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);
    const QList<test::KeptJob> jobs = keptJobs();
    ASSERT_EQ(jobs.size(), 2);
    EXPECT_EQ(jobs[0].title, QStringLiteral("发货单-%1-淘宝:1001").arg(ids[0]));
    EXPECT_EQ(jobs[1].title, QStringLiteral("发货单-%1-淘宝:1002").arg(ids[1]));
    EXPECT_EQ(marks("fh_sign, fh_print"), (QList<QPair<int, int>>{{1, 1}, {1, 1}}));
    EXPECT_EQ(marks(), (QList<QPair<int, int>>{{0, 0}, {0, 0}}));
}

TEST_F(PrintRunOnCups, TheFirstWaybillEverStopsForTheOffsetGuidanceOnce) {
    const QList<qint64> ids = addOrders(repeated("圆通", 3));
    setUpPrinter();
    MainState& state = start();
    {
        PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
        run.setGuidance(true);
        ASSERT_EQ(runToEnd(run), std::nullopt);
        EXPECT_EQ(run.result().printedIds, ids.mid(0, 1));
        ASSERT_TRUE(run.result().stopped);
        EXPECT_EQ(run.result().stopped->title, QStringLiteral("打印位置引导"));
        // The run says what it left, and the seller goes on with exactly those.
        EXPECT_EQ(run.result().remaining, ids.mid(1));
        const QString summary = run.result().summary(PrintDocuments::Kind::Waybills).text;
        EXPECT_TRUE(summary.contains(QStringLiteral("还有2张快递单没有打印。")))
            << summary.toStdString();
    }
    // The seller reads the guidance; the waybill has come out by then.
    ASSERT_TRUE(CupsDaemon::waitUntilIdle(queue));
    PrintRun again(state, spooler, PrintDocuments::Kind::Waybills, ids.mid(1));
    again.setGuidance(true);
    ASSERT_EQ(runToEnd(again), std::nullopt);
    EXPECT_EQ(again.result().printedIds, ids.mid(1));
    EXPECT_FALSE(again.result().stopped);
}

TEST_F(PrintRunOnCups, AQueueDeletedMidRunStopsItWithTheOrdersSentSoFarMarked) {
    const QList<qint64> ids = addOrders(repeated("圆通", 60));
    setUpPrinter();
    PrintRun run(start(), spooler, PrintDocuments::Kind::Waybills, ids);
    QObject::connect(&run, &PrintRun::progressed, [&](int done) {
        if (done == 3)
            CupsDaemon::removeQueue(queue);
    });
    ASSERT_EQ(runToEnd(run), std::nullopt);
    ASSERT_TRUE(run.result().stopped);
    const qsizetype sent = run.result().printedIds.size();
    EXPECT_GE(sent, 3);
    EXPECT_LT(sent, 60);
    const QList<QPair<int, int>> after = marks();
    for (int i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].first, i < sent ? 1 : 0) << i;
}

TEST_F(PrintRunOnCups, PrintingToAWaybillFileNeedsNoSpoolerAndMarksWhatWasWritten) {
    const QList<qint64> ids = addOrders({"圆通", "中通"});
    MainState& state = start();
    ASSERT_FALSE(PrinterSetup(folder, state.log).chooseWaybillPrinter(PrinterSetup::kPrintToFile));
    PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
    run.setFileFolder(dir.filePath("files"));
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(run.result().printedIds, ids);
    EXPECT_EQ(QDir(dir.filePath("files")).entryList({"*.pdf"}, QDir::Files).size(), 2);
    EXPECT_TRUE(keptJobs().isEmpty());
    EXPECT_EQ(marks(), (QList<QPair<int, int>>{{1, 1}, {1, 1}}));
}

// Orders that share a number or have none each get a file of their own, and printing
// them again adds files instead of replacing the first ones.
TEST_F(PrintRunOnCups, WaybillFilesAreOnePerOrderAndNeverReplaced) {
    const QList<qint64> ids = addOrders({"圆通", "圆通", "圆通", "圆通"});
    {
        auto database = OrderDatabase::open(store(), nullptr);
        QSqlQuery query(database->connection());
        query.exec(QStringLiteral("update order_data set order_sign = '淘宝:77' where id <= %1")
                       .arg(ids[1]));
        query.exec(
            QStringLiteral("update order_data set order_sign = '' where id > %1").arg(ids[1]));
    }
    MainState& state = start();
    ASSERT_FALSE(PrinterSetup(folder, state.log).chooseWaybillPrinter(PrinterSetup::kPrintToFile));
    const QDir files(dir.filePath("files"));
    for (int round = 1; round <= 2; ++round) {
        PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
        run.setFileFolder(files.path());
        ASSERT_EQ(runToEnd(run), std::nullopt);
        EXPECT_EQ(run.result().printedIds, ids);
        EXPECT_EQ(files.entryList({"*.pdf"}, QDir::Files).size(), 4 * round);
    }
    EXPECT_TRUE(files.exists(QStringLiteral("快递单-淘宝:77.pdf")))
        << files.entryList().join(u' ').toStdString();
    EXPECT_TRUE(files.exists(QStringLiteral("快递单-%1.pdf").arg(ids[3])))
        << files.entryList().join(u' ').toStdString();
}

TEST_F(PrintRunOnCups, LinesMovedOffThePaperStillPrintAndAreLogged) {
    const QList<qint64> ids = addOrders({"圆通"});
    setUpPrinter();
    MainState& state = start();
    ASSERT_TRUE(PrinterSetup(folder, state.log).saveOffsets(queue, {-12000, 0}));
    PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(run.result().printedIds, ids);
    const QStringList log = TextFile::read(state.log.path()).lines;
    const QStringList beyond = log.filter(QStringLiteral("|淘宝:1001|快递单打印超边距|"));
    EXPECT_FALSE(beyond.isEmpty());
    EXPECT_EQ(beyond.filter(QStringLiteral("浙江省杭州市西湖区文三路1号|")).size(), 1)
        << log.join(u'\n').toStdString();
}

} // namespace

TEST_F(PrintRunOnCups, ATestPageGoesToTheWaybillPrinterOnlyWhenItsQueueIsFreeAndMarksNothing) {
    const QList<qint64> ids = addOrders({"圆通"});
    setUpPrinter();
    MainState& state = start();
    const PrinterSetup setup(folder, state.log);
    const auto checked = PrintChecks::waybillPrinter(setup, spooler);
    ASSERT_TRUE(std::holds_alternative<CheckedPrinter>(checked));
    const CheckedPrinter& printer = std::get<CheckedPrinter>(checked);
    PrintDocuments documents(state, PrintDocuments::Kind::Waybills);
    const auto document = documents.of(*OrderStore(*state.database).byId(ids[0]));
    const PageModel page = std::get<PrintDocuments::Document>(document).pages.first();

    CupsDaemon::tool("cupsdisable", {queue});
    const std::optional<Notice> paused =
        printOutsideRun(spooler, setup, printer, {page}, QStringLiteral("快递单-测试-圆通"),
                        QString(), QStringLiteral("测试页"));
    ASSERT_TRUE(paused);
    EXPECT_EQ(paused->title, QStringLiteral("提示"));
    CupsDaemon::tool("cupsenable", {queue});

    EXPECT_EQ(printOutsideRun(spooler, setup, printer, {page}, QStringLiteral("快递单-测试-圆通"),
                              QString(), QStringLiteral("测试页")),
              std::nullopt);
    ASSERT_TRUE(CupsDaemon::waitUntilIdle(queue));
    ASSERT_EQ(keptJobs().size(), 1);
    EXPECT_EQ(keptJobs().first().title, QStringLiteral("快递单-测试-圆通"));
    EXPECT_EQ(marks(), (QList<QPair<int, int>>{{0, 0}}));
}

} // namespace mldd
