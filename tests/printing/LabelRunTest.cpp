#include "CliRun.h"
#include "LabelReader.h"
#include "RunFixture.h"
#include "ThermalTemplate.h"

#include "printing/LabelRaster.h"
#include "printing/LabelSettings.h"

#include <QMap>

#include <random>

namespace mldd {
namespace {

const QString kThermal = QStringLiteral("热敏");

class LabelRun : public test::RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        ASSERT_TRUE(test::writeThermalTemplate(folder, kThermal));
    }

    void chooseLanguage(LabelLanguage language, const QString& printer = {}) {
        const ErrorLog log(folder.errorLogPath());
        const PrinterSetup setup(folder, log);
        LabelSettings settings;
        settings.language = language;
        ASSERT_TRUE(LabelSetup(setup).save(printer.isEmpty() ? queue : printer, settings));
    }

    static QByteArray bytesOf(const test::KeptJob& job) {
        QFile file(job.pdf);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    // Each kept job read back: one label per job, 100 × 150 mm at 203 dpi.
    static QList<test::ReadJob> readBack(const QList<test::KeptJob>& jobs) {
        QList<test::ReadJob> read;
        for (const test::KeptJob& job : jobs) {
            read.append(test::readLabelJob(bytesOf(job)));
            EXPECT_TRUE(read.last().ok())
                << job.title.toStdString() << " " << read.last().error.toStdString();
            EXPECT_EQ(read.last().labels.size(), 1);
            for (const QImage& label : read.last().labels) {
                EXPECT_EQ(label.width(), (dotsOf(100, 203) + 7) / 8 * 8);
                EXPECT_EQ(label.height(), dotsOf(150, 203));
            }
        }
        return read;
    }
};

TEST_F(LabelRun, WaybillsGoToARawQueueInEachLanguageAndTheirTrackingNumbersScan) {
    const QStringList numbers = {"YT4021937501",  "YT4021937502", "ZT7730001",
                                 "1234567890123", "SF1234567890", "JT0001"};
    const QList<qint64> ids = addOrders(QStringList(6, kThermal), numbers);
    setUpPrinter();
    MainState& state = start();
    const QList<LabelLanguage> languages = {LabelLanguage::Tspl, LabelLanguage::Zpl,
                                            LabelLanguage::Epl};
    for (int i = 0; i < languages.size(); ++i) {
        chooseLanguage(languages[i]);
        PrintRun run(state, spooler, PrintDocuments::Kind::Waybills, ids.mid(2 * i, 2));
        ASSERT_EQ(runToEnd(run), std::nullopt);
        EXPECT_FALSE(run.result().stopped) << run.result().stopped->text.toStdString();
        EXPECT_EQ(run.result().printedIds, ids.mid(2 * i, 2))
            << run.result().problems.join(u'\n').toStdString();
    }
    const QList<test::KeptJob> jobs = keptJobs();
    ASSERT_EQ(jobs.size(), 6);
    const QList<test::ReadJob> read = readBack(jobs);
    for (int i = 0; i < jobs.size(); ++i) {
        EXPECT_EQ(jobs[i].title, QStringLiteral("快递单-淘宝:%1").arg(1001 + i));
        EXPECT_EQ(read[i].language, LabelLanguages::name(languages[i / 2]));
        if (!read[i].labels.isEmpty()) {
            EXPECT_EQ(test::scannedCodes(read[i].labels.first()), QStringList{numbers[i]})
                << jobs[i].title.toStdString();
        }
    }
    EXPECT_EQ(marks(), (QList<QPair<int, int>>(6, {1, 1})));
}

TEST_F(LabelRun, ShippingListsOnALabelPrinterComeOutAsLabelsOfTheirOwn) {
    const QList<qint64> ids = addOrders({kThermal, kThermal});
    MainState& state = start();
    const PrinterSetup setup(folder, state.log);
    ASSERT_TRUE(setup.saveListPrinter(queue, QStringLiteral("00|100|150|5660|8490|1")));
    chooseLanguage(LabelLanguage::Zpl);
    PrintRun run(state, spooler, PrintDocuments::Kind::ShippingLists, ids);
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_FALSE(run.result().stopped) << run.result().stopped->text.toStdString();
    const QList<test::KeptJob> jobs = keptJobs();
    ASSERT_EQ(jobs.size(), 2);
    EXPECT_EQ(jobs[1].title, QStringLiteral("发货单-%1-淘宝:1002").arg(ids[1]));
    const QList<test::ReadJob> read = readBack(jobs);
    EXPECT_EQ(read[1].language, QStringLiteral("ZPL"));
    EXPECT_EQ(marks("fh_sign, fh_print"), (QList<QPair<int, int>>(2, {1, 1})));
}

TEST_F(LabelRun, AFormLargerThanTheLabelStopsTheRunBeforeItsJobWithTheSizeItNeeds) {
    const QList<qint64> ids = addOrders({kThermal, QStringLiteral("圆通"), kThermal});
    setUpPrinter();
    chooseLanguage(LabelLanguage::Tspl);
    PrintRun run(start(), spooler, PrintDocuments::Kind::Waybills, ids);
    run.askPaperChange = [](const Notice&) { return true; };
    ASSERT_EQ(runToEnd(run), std::nullopt);
    ASSERT_TRUE(run.result().stopped);
    const QString told = run.result().stopped->text;
    EXPECT_TRUE(
        told.startsWith(QStringLiteral("订单淘宝:1002没有打印：内容放不下100×150毫米的标签，"
                                       "需要")))
        << told.toStdString();
    // The run goes courier by courier: both thermal orders came before 圆通's large form.
    EXPECT_EQ(run.result().printedIds, (QList<qint64>{ids[0], ids[2]}));
    EXPECT_EQ(keptJobs().size(), 2);
    EXPECT_EQ(unmarked(ids), ids.mid(1, 1));
}

// mldd-cli sets the printer's language as a script would, then runs killed at random moments
// and one more to the end print every order once, each job in TSPL.
TEST_F(LabelRun, ScriptedRunsKilledMidWayStillPrintEachLabelOnce) {
    constexpr int kOrders = 40;
    const QList<qint64> ids = addOrders(QStringList(kOrders, kThermal));
    setUpPrinter();
    const test::CliRun set =
        test::runCli({"--data", folder.dataPath(), "printer", "set", "--printer", queue,
                      "--language", "tspl", "--dpi", "203", "--paper", "100x150", "--gap", "2"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_TRUE(set.out.contains(QStringLiteral("打印语言：TSPL\n分辨率：203 dpi\n"
                                                "标签尺寸：100×150 毫米\n间隙：2 毫米\n")))
        << set.out.toStdString();
    test::CupsDaemon::paceJobs(jobFolder, "0.1");
    std::mt19937 random(38);
    std::uniform_int_distribution<int> moment(0, 600);
    for (int kill = 0; kill < 8; ++kill) {
        test::runCliKilledAfter(printArgs(unmarked(ids)), moment(random));
        ASSERT_TRUE(waitUntilNothingPrints());
    }
    QFile::remove(jobFolder + QStringLiteral("/pace"));
    const test::CliRun rest = test::runCli(printArgs(unmarked(ids)), 300000);
    EXPECT_EQ(rest.exitCode, 0) << rest.err.toStdString();

    QMap<QString, int> printedTimes;
    const QList<test::KeptJob> jobs = keptJobs();
    for (const test::KeptJob& job : jobs)
        ++printedTimes[job.title];
    EXPECT_EQ(printedTimes.size(), kOrders);
    for (auto it = printedTimes.begin(); it != printedTimes.end(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
    for (const test::ReadJob& read : readBack(jobs))
        EXPECT_EQ(read.language, QStringLiteral("TSPL"));
    EXPECT_TRUE(unmarked(ids).isEmpty());
}

TEST_F(LabelRun, PrinterCommandsRefuseWhatNoLabelPrinterTakes) {
    const QStringList base = {"--data", folder.dataPath(), "printer"};
    const struct {
        QStringList args;
        int exitCode;
        const char* told;
    } cases[] = {
        {{"set", "--printer", queue, "--language", "cpcl"}, 2, "没有这种打印语言：cpcl"},
        {{"set", "--printer", queue, "--language", "zpl", "--paper", "200x150"}, 2, "标签尺寸"},
        {{"set", "--printer", queue, "--language", "zpl", "--dpi", "250"}, 2, "分辨率"},
        {{"set", "--printer", queue, "--language", "zpl", "--gap", "2", "--mark", "3"}, 2, "用法"},
        {{"show", "--printer", "没有的打印机"}, 1, "没有安装这台打印机：没有的打印机"},
    };
    for (const auto& c : cases) {
        const test::CliRun run = test::runCli(base + c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.told))) << run.err.toStdString();
    }
    // Nothing refused was kept; the queue, raw and never set up, shows the language it would get.
    const test::CliRun show = test::runCli(base + QStringList{"show", "--printer", queue});
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_EQ(show.out, QStringLiteral("打印机：%1\n打印语言：驱动程序\n分辨率：203 dpi\n"
                                       "纸张：按单据尺寸\n检测到的打印语言：TSPL\n")
                            .arg(queue));
}

} // namespace
} // namespace mldd
