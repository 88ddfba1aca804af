#include "printing/OffsetAdjustment.h"
#include "core/TextFile.h"
#include "printing/SetupNotices.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mldd {
namespace {

class OffsetAdjustmentTest : public testing::Test {
protected:
    QTemporaryDir dir;
    DataFolder folder{dir.path() + QStringLiteral("/data")};
    ErrorLog log{folder.errorLogPath()};
    PrinterSetup setup{folder, log};
    const QString printer = QStringLiteral("标签机");
};

TEST_F(OffsetAdjustmentTest, SavedMovementTakesThePrintBackByWhatItDrifted) {
    ASSERT_TRUE(setup.saveOffsets(printer, {100, 50}));
    const PrintPlacement before = setup.placement(printer);

    OffsetAdjustment adjustment;
    adjustment.right();
    adjustment.right();
    adjustment.down();
    adjustment.up();
    adjustment.down();
    for (int i = 0; i < 10; ++i)
        adjustment.widen();
    EXPECT_EQ(adjustment.rightward(), 30);
    EXPECT_EQ(adjustment.downward(), 15);
    EXPECT_EQ(adjustment.percent(), 110);
    const PrintPlacement view = adjustment.viewPlacement();
    EXPECT_EQ(adjustment.save(setup, printer).icon, Notice::Icon::Information);

    // The view was moved to where the paper showed the print: the print goes back as far.
    const PrintPlacement after = setup.placement(printer);
    EXPECT_DOUBLE_EQ(after.x(1000) - before.x(1000), 1000 - view.x(1000));
    EXPECT_EQ(setup.offsets(printer), (PrinterOffsets{130, 65}));
    // The factor in use × 100 ÷ the spacing percent, two decimals.
    EXPECT_EQ(TextFile::read(folder.settingsFile(PrintDefaults::kVerticalScaleFile)).firstLine(),
              QStringLiteral("0.91"));
}

TEST_F(OffsetAdjustmentTest, DiscardPutsTheCountersBackAndWritesNothing) {
    OffsetAdjustment adjustment;
    adjustment.left();
    adjustment.narrow();
    const Notice told = adjustment.discard();
    EXPECT_EQ(told.text, QStringLiteral("设置完成。\n快递面单上的项目将恢复原位。"));
    EXPECT_EQ(adjustment.rightward(), 0);
    EXPECT_EQ(adjustment.percent(), 100);
    EXPECT_FALSE(setup.offsets(printer));
    for (int i = 0; i < 200; ++i)
        adjustment.narrow();
    EXPECT_EQ(adjustment.percent(), OffsetAdjustment::kSpacingStep); // never folds the page
}

TEST_F(OffsetAdjustmentTest, TheAdjustmentWaitsForAPrintOfOneCourier) {
    Order order;
    order.delivery = QStringLiteral("圆通");
    const QString printFirst = QStringLiteral("打印一张快递单之后，再来调整偏移。");
    EXPECT_EQ(OffsetAdjustment::refusal(order, {}, printer)->text, printFirst);
    order.kdPrint = 1;
    EXPECT_EQ(OffsetAdjustment::refusal(order, {}, QString())->text, printFirst);
    EXPECT_FALSE(OffsetAdjustment::refusal(order, {"圆通", "圆通"}, printer));
    EXPECT_EQ(OffsetAdjustment::refusal(order, {"圆通", "顺丰"}, printer)->text,
              QStringLiteral("打印多份快递单，每次只能选择一个快递！"));
}

TEST(SetupNotices, PaperRecordsOfTheChoices) {
    using SetupNotices::ListPaperChoice;
    using Orientation = PaperRecords::Orientation;
    const auto record = [](const ListPaperChoice& choice) {
        const auto made = SetupNotices::paperRecord(choice);
        return std::holds_alternative<QString>(made) ? std::get<QString>(made)
                                                     : std::get<Notice>(made).text;
    };
    EXPECT_EQ(record({"Label", "A4", Orientation::Portrait, "", "", "1"}),
              QStringLiteral("A4|210|297|11904|16840|1"));
    EXPECT_EQ(record({"Label", "A4", Orientation::Landscape, "", "", "3"}),
              QStringLiteral("A4|297|210|16840|11905|3"));
    EXPECT_EQ(record({"Label", "有孔纸", Orientation::Portrait, "241", "140", ""}),
              QStringLiteral("00|241|140|13641|7924|1"));
    EXPECT_EQ(record({"Label", "有孔纸", Orientation::Portrait, "241", "", "1"}),
              QStringLiteral("纸张的宽高只能填数字！"));
    EXPECT_EQ(record({"", "", Orientation::Portrait, "", "", "1"}),
              QStringLiteral("打印机和纸张类型都不能空！"));
    EXPECT_EQ(record({"Label", "", Orientation::Portrait, "", "", "1"}),
              QStringLiteral("纸张类型都不能空！"));
    EXPECT_EQ(SetupNotices::listPrinterSaved(
                  {"Label", "有孔纸", Orientation::Portrait, "241", "140", "2"})
                  .text,
              QStringLiteral("【发货单】发货单打印机设置成功!\n打印机名称：Label\n"
                             "打印机纸张： 有孔纸，宽度：241毫米 高度：140毫米\n打印份数： 2"));
}

} // namespace
} // namespace mldd
