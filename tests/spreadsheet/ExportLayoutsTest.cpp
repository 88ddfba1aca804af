#include "spreadsheet/ExportLayouts.h"
#include "core/MaskedReceiver.h"
#include "spreadsheet/ExportCell.h"
#include "spreadsheet/OrderCompletion.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

ExportLayouts shipped() {
    QFile file(QStringLiteral(MLDD_SOURCE_DIR "/data/code/ExcelExports.txt"));
    file.open(QIODevice::ReadOnly);
    return ExportLayouts::fromText(QString::fromUtf8(file.readAll()));
}

SheetTable sheetOf(const QList<QStringList>& rows) {
    SheetTable sheet;
    sheet.name = QStringLiteral("订单");
    sheet.rows = rows;
    return sheet;
}

QString columnsOf(const ImportLayout& layout, ImportLayout::Field field) {
    return layout.expressions.at(field).text();
}

} // namespace

// The header row is found below a title, with the exports' guards and trailing blanks on
// its names; the surer layout wins over a seller's sheet whose names also fit.
TEST(ExportLayoutsTest, AHeaderRowIsRecognisedWhereverItStandsAsTheExportWritesIt) {
    const ExportLayouts layouts = shipped();
    const ExportLayouts::Recognition xhs = layouts.recognize(
        sheetOf({{QStringLiteral("小红书订单导出")},
                 {},
                 {QStringLiteral("订单号"), QStringLiteral("收件人姓名"),
                  QStringLiteral("收件人电话"), QStringLiteral("收件人地址"), QStringLiteral("省"),
                  QStringLiteral("市"), QStringLiteral("区"), QStringLiteral("SKU名称"),
                  QStringLiteral("SKU件数"), QStringLiteral("商品总价(元)")},
                 {QStringLiteral("P1"), QStringLiteral("钱芳")}}));
    ASSERT_TRUE(xhs.recognized);
    EXPECT_EQ(xhs.layout.name, QStringLiteral("小红书"));
    EXPECT_EQ(xhs.layout.headerRow, 3);
    EXPECT_EQ(columnsOf(xhs.layout, ImportLayout::Address), QStringLiteral("D"));
    EXPECT_EQ(columnsOf(xhs.layout, ImportLayout::GoodsTotal), QStringLiteral("J"));

    const ExportLayouts::Recognition taobao =
        layouts.recognize(sheetOf({{QStringLiteral("=\"订单编号\""), QStringLiteral("收货人姓名"),
                                    QStringLiteral("收货地址 "), QStringLiteral("联系手机"),
                                    QStringLiteral("宝贝标题 "), QStringLiteral("物流单号 ")}}));
    ASSERT_TRUE(taobao.recognized);
    EXPECT_EQ(taobao.layout.name, QStringLiteral("淘宝订单报表"));
    EXPECT_EQ(taobao.layout.marketFor(QStringLiteral("天猫:旗舰店")), QStringLiteral("天猫"));
    EXPECT_EQ(taobao.layout.marketFor(QStringLiteral("拼多多:店")), QStringLiteral("淘宝"));
    EXPECT_EQ(columnsOf(taobao.layout, ImportLayout::TrackingColumn), QStringLiteral("F"));

    // 淘宝's goods report has no receiver: it completes orders by number.
    const ExportLayouts::Recognition goods = layouts.recognize(
        sheetOf({{QStringLiteral("订单编号"), QStringLiteral("标题"), QStringLiteral("价格"),
                  QStringLiteral("购买数量"), QStringLiteral("商家编码")}}));
    ASSERT_TRUE(goods.recognized);
    ImportLayout report = goods.layout;
    report.sender = QStringLiteral("淘宝:墨岚小店");
    EXPECT_TRUE(report.isGoodsReport());
    EXPECT_FALSE(report.check({QStringLiteral("圆通")}).has_value());
}

// A seller's own sheet is mapped from its header names, each column once; one with no
// address is not, and the message lists what the sheet has and what it lacks.
TEST(ExportLayoutsTest, ASellersOwnSheetIsMappedByItsHeaderNames) {
    const ExportLayouts layouts = shipped();
    const ExportLayouts::Recognition own = layouts.recognize(
        sheetOf({{QStringLiteral("订单编号"), QStringLiteral("收货人"), QStringLiteral("电话"),
                  QStringLiteral("地址"), QStringLiteral("商品"), QStringLiteral("数量"),
                  QStringLiteral("单价")}}));
    ASSERT_TRUE(own.recognized);
    EXPECT_TRUE(own.layout.market.isEmpty());
    EXPECT_EQ(columnsOf(own.layout, ImportLayout::Phone1), QStringLiteral("C"));
    EXPECT_TRUE(own.layout.expressions.at(ImportLayout::Phone2).isEmpty())
        << "one column never feeds two fields";
    EXPECT_EQ(columnsOf(own.layout, ImportLayout::UnitPrice), QStringLiteral("G"));

    const ExportLayouts::Recognition unknown = layouts.recognize(
        sheetOf({{QStringLiteral("日期"), QStringLiteral("收货人"), QStringLiteral("金额")}}));
    EXPECT_FALSE(unknown.recognized);
    EXPECT_EQ(ExportLayouts::unknownLayoutText(unknown),
              QStringLiteral("认不出这是哪种订单表格。\r\n表格中的表头：日期、收货人、金额\r\n"
                             "没有找到这些项目的列：买家公司或订单编号、买家电话1、收货地址、"
                             "商品内容"));
}

TEST(ExportLayoutsTest, ExportGuardsAreTakenOffCells) {
    EXPECT_EQ(ExportCell::clean(QStringLiteral("=\"3301234567890123401\"")),
              QStringLiteral("3301234567890123401"));
    EXPECT_EQ(ExportCell::clean(QStringLiteral("'13800001111")), QStringLiteral("13800001111"));
    EXPECT_EQ(ExportCell::clean(QStringLiteral("\t261201-123456789012345")),
              QStringLiteral("261201-123456789012345"));
    EXPECT_EQ(ExportCell::clean(QStringLiteral("-")), QString());
    EXPECT_EQ(ExportCell::clean(QStringLiteral("13212345774-1234")),
              QStringLiteral("13212345774-1234"))
        << "a virtual number keeps its extension";
    EXPECT_EQ(ExportCell::trackingNumber(QStringLiteral("No:YT 7654321098765")),
              QStringLiteral("YT7654321098765"));
}

// A later file fills in what the stored order lacks or has masked, never the reverse, and
// goods lines with figures replace bare titles only.
TEST(ExportLayoutsTest, ALaterFileCompletesAnOrderWithoutOverwritingIt) {
    Order stored;
    stored.buyName = QStringLiteral("林**");
    stored.buyPhone1 = QStringLiteral("183****2807");
    stored.buyAddress = QStringLiteral("****");
    stored.buyGoods = QStringLiteral("桂花糕");
    Order full = stored;
    full.buyName = QStringLiteral("林小梅");
    full.buyPhone1 = QStringLiteral("18312342807");
    full.buyAddress = QStringLiteral("民族大道100号");
    full.buyAddressSheng = QStringLiteral("广西壮族自治区");
    full.buyGoods = QStringLiteral("桂花糕 编码:CAKE-2 2 20");
    full.wuliuCode = QStringLiteral("ZT1");

    ASSERT_TRUE(OrderCompletion::complete(stored, full));
    EXPECT_FALSE(MaskedReceiver::isMasked(stored));
    EXPECT_EQ(stored.buyAddressSheng, QStringLiteral("广西壮族自治区"));
    EXPECT_EQ(stored.buyGoods, full.buyGoods);
    EXPECT_EQ(stored.wuliuCode, QStringLiteral("ZT1"));

    Order masked = full;
    masked.buyName = QStringLiteral("林**");
    masked.buyGoods = QStringLiteral("桂花糕");
    masked.wuliuCode = QStringLiteral("ZT2");
    EXPECT_FALSE(OrderCompletion::complete(stored, masked)) << "nothing new in the masked file";
    EXPECT_EQ(stored.buyName, QStringLiteral("林小梅"));
    EXPECT_EQ(stored.wuliuCode, QStringLiteral("ZT1"));
}
