#include "LabelDriver.h"
#include "RunFixture.h"

#include "CliRun.h"

#include "printing/PaperRecords.h"

#include <QRegularExpression>

namespace mldd {
namespace {

// The fixture's queue as a thermal printer with a driver: the options it got come back too.
class PrinterPaper : public test::RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        jobFolder = test::CupsDaemon::running().addQueue(queue, test::kLabelDriver);
        ASSERT_FALSE(jobFolder.isEmpty());
    }

    QStringList printArgs(const char* what, const QList<qint64>& ids) const {
        QStringList numbers;
        for (qint64 id : ids)
            numbers.append(QString::number(id));
        return {"--data", folder.dataPath(),  "print",     QString::fromLatin1(what),
                "--ids",  numbers.join(u','), "--printer", queue};
    }

    // The page size pdfinfo reads, in millimetres.
    static QSizeF pageMm(const QString& pdf) {
        QString info;
        test::CupsDaemon::tool(QStringLiteral("pdfinfo"), {pdf}, &info);
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("Page size: +([\\d.]+) x ([\\d.]+) pts")).match(info);
        constexpr double kMmPerPoint = 25.4 / 72;
        return size.hasMatch() ? QSizeF(size.captured(1).toDouble() * kMmPerPoint,
                                        size.captured(2).toDouble() * kMmPerPoint)
                               : QSizeF();
    }

    QString optionsOf(const test::KeptJob& job) const {
        QFile file(QStringLiteral("%1/%2.options").arg(jobFolder).arg(job.id));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }
};

// pdfinfo tells whole points: within one of them.
void expectSize(QSizeF found, QSizeF expected) {
    EXPECT_NEAR(found.width(), expected.width(), 25.4 / 72);
    EXPECT_NEAR(found.height(), expected.height(), 25.4 / 72);
}

// The printer set-up gives the thermal printer 76×130 labels; the shipping list and the picking
// list are laid out on them and the driver is told its own name for that size; a waybill printed
// with a size typed for the run goes out on it, as the driver's custom size.
TEST_F(PrinterPaper, EachPrintPathPutsItsPagesOnThePrintersPaperAndTellsTheDriver) {
    const QList<qint64> ids = addOrders({"圆通", "中通"});
    setUpPrinter();
    MainState& started = start();
    const PrinterSetup setup(folder, started.log);
    // No shipping-list paper record: the printer's own paper is what the lists go on.
    ASSERT_TRUE(setup.saveListPrinter(queue, QString()));
    const test::CliRun set =
        test::runCli({"--data", folder.dataPath(), "printer", "set", "--printer", queue,
                      "--language", "driver", "--paper", "76x130"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_TRUE(set.out.contains(QStringLiteral("打印语言：驱动程序\n")) &&
                set.out.contains(QStringLiteral("纸张：76×130 毫米\n")))
        << set.out.toStdString();

    for (const QStringList& args :
         {printArgs("shiplist", {ids[0]}), printArgs("picking", ids),
          printArgs("waybill", {ids[1]}) + QStringList{"--paper", "100x150"}}) {
        const test::CliRun printed = test::runCli(args);
        EXPECT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    }
    const QList<test::KeptJob> jobs = keptJobs();
    ASSERT_EQ(jobs.size(), 3);
    for (const test::KeptJob& job : jobs.mid(0, 2)) {
        expectSize(pageMm(job.pdf), QSizeF(76, 130));
        EXPECT_TRUE(optionsOf(job).contains(QStringLiteral("PageSize=w215h369")))
            << optionsOf(job).toStdString();
    }
    QString list;
    test::CupsDaemon::tool(QStringLiteral("pdftotext"), {jobs[0].pdf, QStringLiteral("-")}, &list);
    EXPECT_TRUE(list.contains(QStringLiteral("淘宝:1001"))) << list.toStdString();

    expectSize(pageMm(jobs[2].pdf), QSizeF(100, 150));
    EXPECT_TRUE(optionsOf(jobs[2]).contains(QStringLiteral("media=Custom.100x150mm")));
    EXPECT_TRUE(optionsOf(jobs[2]).contains(QStringLiteral("PageSize=Custom.283x425")))
        << optionsOf(jobs[2]).toStdString();
    EXPECT_EQ(marks(), (QList<QPair<int, int>>{{0, 0}, {1, 1}}));
}

} // namespace
} // namespace mldd
