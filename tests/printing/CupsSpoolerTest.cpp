#include "CupsDaemon.h"

#include "printing/CupsSpooler.h"
#include "printing/PrintJob.h"
#include "waybill/FontFaces.h"
#include "waybill/PagedOutput.h"
#include "waybill/PdfReadBack.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mldd {
namespace {

using test::CupsDaemon;

PageModel onePage(const QString& text) {
    PageModel page;
    page.size = QSizeF(5669, 2835); // 100 × 50 mm
    page.texts.append({1440, 1440, text, FontSpec{FontFaces::kPrintingFace, 12}});
    return page;
}

class CupsQueues : public testing::Test {
protected:
    CupsSpooler spooler;
    QTemporaryDir dir;

    QString pdf(const QString& text, PrintPlacement placement = {}) {
        const QString path = dir.filePath(text + QStringLiteral(".pdf"));
        EXPECT_TRUE(writePdf(path, {onePage(text)}, nullptr, placement));
        return path;
    }
};

TEST_F(CupsQueues, DestinationsAndTheDefaultAreTheSpoolersOwn) {
    CupsDaemon::running().addQueue(QStringLiteral("标签机"));
    CupsDaemon::running().addQueue(QStringLiteral("Office"));
    EXPECT_TRUE(spooler.destinations().contains(QStringLiteral("标签机")));
    EXPECT_TRUE(spooler.destinations().contains(QStringLiteral("Office")));
    CupsDaemon::tool(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("Office")});
    EXPECT_EQ(spooler.defaultDestination(), QStringLiteral("Office"));
}

TEST_F(CupsQueues, AnIdleQueueIsReadyAndEmpty) {
    CupsDaemon::running().addQueue(QStringLiteral("idle"));
    const PrinterQuery query = spooler.query(QStringLiteral("idle"));
    EXPECT_EQ(query.status, PrinterQuery::kRetrieved);
    EXPECT_EQ(query.jobs, PrinterQuery::kNoJobs);
    EXPECT_EQ(query.printerState, QStringLiteral("Printer Status = Ready"));
    EXPECT_TRUE(query.diagnostics().startsWith(
        QStringLiteral("Printer Name = idle\nPrinter Driver Name = Local Raw Printer\n"
                       "Printer Port Name = copyjob:")))
        << query.diagnostics().toStdString();
    EXPECT_TRUE(query.diagnostics().endsWith(QStringLiteral("\nPrinter Status = Ready")));
    EXPECT_TRUE(query.idle());
}

TEST_F(CupsQueues, PausedQueueHeldJobAndMissingPrinterAreToldApart) {
    CupsDaemon::running().addQueue(QStringLiteral("paused"));
    CupsDaemon::tool(QStringLiteral("cupsdisable"), {QStringLiteral("paused")});
    EXPECT_EQ(spooler.query(QStringLiteral("paused")).printerState,
              QStringLiteral("Printer Status = Paused  "));

    CupsDaemon::running().addQueue(QStringLiteral("held"));
    ASSERT_EQ(CupsDaemon::tool(QStringLiteral("lp"),
                               {QStringLiteral("-d"), QStringLiteral("held"), QStringLiteral("-H"),
                                QStringLiteral("hold"), QStringLiteral("-t"),
                                QStringLiteral("别的程序的文档"), pdf(QStringLiteral("other"))}),
              0);
    const PrinterQuery held = spooler.query(QStringLiteral("held"));
    EXPECT_TRUE(held.retrieved());
    EXPECT_EQ(held.jobs, QStringLiteral("任务:别的程序的文档已暂停  \n"));
    EXPECT_FALSE(held.idle());

    const PrinterQuery missing = spooler.query(QStringLiteral("没有这台"));
    EXPECT_TRUE(missing.status.startsWith(QStringLiteral("Cannot open printer 没有这台, Error: ")))
        << missing.status.toStdString();
    EXPECT_FALSE(missing.idle());
}

TEST_F(CupsQueues, SubmittedJobArrivesWithItsTitleAndIsFoundByItsIdentity) {
    const QString jobs = CupsDaemon::running().addQueue(QStringLiteral("file"));
    QString error;
    const QString uuid = newJobUuid();
    const std::optional<int> id =
        spooler.submit(QStringLiteral("file"), QStringLiteral("快递单-淘宝:1"),
                       pdf(QStringLiteral("SF1234567890")), uuid, {}, &error);
    ASSERT_TRUE(id) << error.toStdString();
    ASSERT_TRUE(CupsDaemon::waitUntilIdle(QStringLiteral("file")));
    const QList<SpoolerJob> done = spooler.keptJobs(QStringLiteral("file")).value();
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0].id, *id);
    EXPECT_EQ(done[0].uuid, uuid);
    ASSERT_TRUE(spooler.job(QStringLiteral("file"), *id));
    EXPECT_EQ(spooler.job(QStringLiteral("file"), *id)->state, SpoolerJob::kCompleted);
    EXPECT_FALSE(spooler.job(QStringLiteral("file"), *id + 100));
    // cupsd forgets a completed job's name once it unloads the job; the backend was told it.
    QFile title(QStringLiteral("%1/%2.title").arg(jobs).arg(*id));
    ASSERT_TRUE(title.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(title.readAll()), QStringLiteral("快递单-淘宝:1"));
    EXPECT_EQ(done[0].state, 9);
    const QString kept = QStringLiteral("%1/%2.pdf").arg(jobs).arg(*id);
    const QList<test::Word> words = test::wordsOf(kept);
    ASSERT_EQ(words.size(), 1);
    EXPECT_EQ(words[0].text, QStringLiteral("SF1234567890"));

    EXPECT_FALSE(spooler.submit(QStringLiteral("没有这台"), QStringLiteral("x"),
                                pdf(QStringLiteral("x")), newJobUuid(), {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

// CUPS answers a long history in pages; the newest job, the one a killed run left, comes last.
TEST_F(CupsQueues, TheNewestJobOfALongHistoryIsFoundByItsIdentity) {
    CupsDaemon::running().addQueue(QStringLiteral("long"));
    constexpr int kOlder = 520;
    CupsDaemon::fillHistory(QStringLiteral("long"), kOlder);
    const QString uuid = newJobUuid();
    QString error;
    ASSERT_TRUE(spooler.submit(QStringLiteral("long"), QStringLiteral("快递单-淘宝:2"),
                               pdf(QStringLiteral("SF2")), uuid, {}, &error))
        << error.toStdString();
    ASSERT_TRUE(CupsDaemon::waitUntilIdle(QStringLiteral("long")));
    const QList<SpoolerJob> kept = spooler.keptJobs(QStringLiteral("long")).value();
    ASSERT_EQ(kept.size(), kOlder + 1);
    EXPECT_EQ(kept.last().uuid, uuid);
    EXPECT_EQ(kept.last().state, SpoolerJob::kCompleted);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end(),
                               [](const auto& a, const auto& b) { return a.id < b.id; }));
}

TEST_F(CupsQueues, PrinterOffsetsMoveWhatThePainterDraws) {
    const QList<test::Word> plain = test::wordsOf(pdf(QStringLiteral("plain")));
    const QList<test::Word> moved =
        test::wordsOf(pdf(QStringLiteral("moved"), PrintPlacement{566, 283, 1.0}));
    const QList<test::Word> stretched =
        test::wordsOf(pdf(QStringLiteral("stretched"), PrintPlacement{0, -283, 1.5}));
    ASSERT_EQ(plain.size(), 1);
    ASSERT_EQ(moved.size(), 1);
    ASSERT_EQ(stretched.size(), 1);
    EXPECT_NEAR(moved[0].left, plain[0].left - 566, test::kHalfMillimetre);
    EXPECT_NEAR(moved[0].top, plain[0].top - 283, test::kHalfMillimetre);
    // The box's top is what moves: 1440 twips down to 2160, then 283 further down.
    EXPECT_NEAR(stretched[0].left, plain[0].left, test::kHalfMillimetre);
    EXPECT_NEAR(stretched[0].top, plain[0].top + 720 + 283, test::kHalfMillimetre);
}

} // namespace
} // namespace mldd
