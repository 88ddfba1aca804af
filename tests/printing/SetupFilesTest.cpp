#include "core/TextFile.h"
#include "printing/OffsetUnits.h"
#include "printing/PaperRecords.h"
#include "printing/PrinterSetup.h"
#include "waybill/LayoutCodec.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mldd {
namespace {

class SetupFiles : public testing::Test {
protected:
    QTemporaryDir dir;
    DataFolder folder{dir.path() + QStringLiteral("/data")};
    ErrorLog log{folder.errorLogPath()};
    PrinterSetup setup{folder, log};

    QString firstLine(const QString& name) const {
        return TextFile::read(folder.settingsFile(name)).firstLine();
    }
};

TEST(OffsetUnits, MillimetresAndTwipsConvertAtTheSetUpsOwnRate) {
    EXPECT_EQ(OffsetUnits::twipsFromMillimetres("10"), 566);
    EXPECT_EQ(OffsetUnits::millimetresFromTwips(566), QStringLiteral("10"));
    EXPECT_EQ(OffsetUnits::twipsFromMillimetres("-2.5"), -142);
    EXPECT_EQ(OffsetUnits::twipsFromMillimetres(""), 0);
    EXPECT_EQ(OffsetUnits::twipsFromMillimetres("左边"), std::nullopt);
    EXPECT_EQ(OffsetUnits::millimetresFromTwips(28), QStringLiteral("0.49"));
    EXPECT_EQ(OffsetUnits::millimetresFromTwips(-28), QStringLiteral("-0.49"));
    EXPECT_EQ(OffsetUnits::withLeadingZero(".5"), QStringLiteral("0.5"));
    EXPECT_EQ(OffsetUnits::withLeadingZero("-.5"), QStringLiteral("-0.5"));
    EXPECT_EQ(OffsetUnits::withLeadingZero("3.5"), QStringLiteral("3.5"));
}

TEST(OffsetUnits, LineSpacingTurnsIntoAFactorWithTwoDecimals) {
    EXPECT_EQ(OffsetUnits::factorText(OffsetUnits::adjustedFactor(1.0, 100)), "1.00");
    EXPECT_EQ(OffsetUnits::factorText(OffsetUnits::adjustedFactor(1.0, 105)), "0.95");
    EXPECT_EQ(OffsetUnits::factorText(OffsetUnits::adjustedFactor(0.95, 95)), "1.00");
    EXPECT_EQ(OffsetUnits::factorFromText("abc"), 1.0);
    EXPECT_EQ(OffsetUnits::factorFromText("-2"), 1.0);
}

TEST_F(SetupFiles, RefusedPrinterLeavesTheChosenOneAlone) {
    ASSERT_EQ(setup.chooseWaybillPrinter(QStringLiteral("标签机")), std::nullopt);
    const std::optional<Notice> refused = setup.chooseWaybillPrinter(QStringLiteral("Fax"));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text, QStringLiteral("您选择的打印机不正确，请重新选择！"));
    EXPECT_EQ(refused->icon, Notice::Icon::Exclamation);
    EXPECT_TRUE(setup.chooseWaybillPrinter("Microsoft XPS Document Writer"));
    EXPECT_EQ(firstLine(PrintDefaults::kWaybillPrinterFile), QStringLiteral("标签机"));
    EXPECT_EQ(setup.load().waybillPrinter, QStringLiteral("标签机"));
}

TEST_F(SetupFiles, OffsetsLiveInAFileNamedByTheCodedPrinterName) {
    const QString printer = QStringLiteral("仓库 快递单打印机");
    EXPECT_EQ(setup.offsets(printer), std::nullopt);
    EXPECT_EQ(setup.placement(printer).horizontal, 0);

    ASSERT_TRUE(setup.saveOffsets(printer, {566, -142}));
    const QString name = QFileInfo(setup.offsetFile(printer)).fileName();
    EXPECT_TRUE(QRegularExpression("^[0-9a-zA-Z]+\\.dat$").match(name).hasMatch())
        << name.toStdString();
    EXPECT_EQ(LayoutCodec::decode(name.chopped(4)), printer);
    EXPECT_EQ(TextFile::read(setup.offsetFile(printer)).firstLine(), QStringLiteral("566|-142"));
    EXPECT_EQ(setup.offsets(printer), (PrinterOffsets{566, -142}));
    EXPECT_EQ(setup.offsets(QStringLiteral("另一台")), std::nullopt);

    ASSERT_TRUE(setup.saveVerticalFactor(0.95));
    EXPECT_EQ(firstLine(PrintDefaults::kVerticalScaleFile), QStringLiteral("0.95"));
    const PrintPlacement placement = setup.placement(printer);
    EXPECT_EQ(placement.x(1000), 434);
    EXPECT_DOUBLE_EQ(placement.y(1000), 950 + 142);
}

TEST_F(SetupFiles, AChosenResolutionIsThePrintersOwnAndLeavesItUnadjusted) {
    const QString printer = QStringLiteral("仓库 快递单打印机");
    EXPECT_EQ(setup.resolution(printer), std::nullopt);
    ASSERT_TRUE(setup.saveResolution(printer, 300));
    EXPECT_EQ(setup.resolution(printer), 300);
    EXPECT_EQ(setup.resolution(QStringLiteral("另一台")), std::nullopt);
    // A resolution is no adjustment: the run still asks for the offsets first.
    EXPECT_EQ(setup.offsets(printer), std::nullopt);
    // A hand-edited file naming no printer's resolution counts as none.
    ASSERT_TRUE(TextFile::write(setup.resolutionFile(printer), {QStringLiteral("1234")}));
    EXPECT_EQ(setup.resolution(printer), std::nullopt);
}

TEST_F(SetupFiles, ShippingListPrinterAndPaperAreReadBackAsChosen) {
    EXPECT_FALSE(setup.load().paperChosen);
    EXPECT_TRUE(setup.load().listPrinter.isEmpty());
    const PaperRow a5 = PaperRecords::standardPapers(PaperRecords::Orientation::Landscape)[1];
    ASSERT_TRUE(setup.saveListPrinter(QStringLiteral("发货单打印机"), a5.record(2)));
    const PrintDefaults defaults = setup.load();
    EXPECT_TRUE(defaults.paperChosen);
    EXPECT_EQ(defaults.listPrinter, QStringLiteral("发货单打印机"));
    EXPECT_EQ(defaults.paperRecord, QStringLiteral("A5|210|148|11905|8390|2"));
    EXPECT_EQ(PaperRecords::copiesOf(defaults.paperRecord), 2);
}

TEST(PaperRecords, StandardRowsKeepTheirOldTwipsAndContinuousPaperIsTyped) {
    const auto portrait = PaperRecords::standardPapers(PaperRecords::Orientation::Portrait);
    const auto landscape = PaperRecords::standardPapers(PaperRecords::Orientation::Landscape);
    ASSERT_EQ(portrait.size(), 12);
    ASSERT_EQ(landscape.size(), 12);
    EXPECT_EQ(portrait[0].record(1), PaperRecords::kDefaultRecord);
    EXPECT_EQ(landscape[0].record(1), QStringLiteral("A4|297|210|16840|11905|1"));
    EXPECT_EQ(portrait[8].record(3), QStringLiteral("B8|62|88|3515|4990|3"));
    for (int i = 0; i < portrait.size(); ++i) {
        EXPECT_EQ(portrait[i].name, landscape[i].name);
        EXPECT_EQ(portrait[i].widthMm, landscape[i].heightMm);
    }
    const std::optional<PaperRow> holes = PaperRecords::continuousPaper("241", "140");
    ASSERT_TRUE(holes);
    EXPECT_EQ(holes->record(1), QStringLiteral("00|241|140|13641|7924|1"));
    EXPECT_FALSE(PaperRecords::continuousPaper("24x", "140"));
    EXPECT_FALSE(PaperRecords::continuousPaper("0", "140"));
    EXPECT_EQ(PaperRecords::copiesOf("A4|210|297|11904|16840|x"), 1);
}

} // namespace
} // namespace mldd
