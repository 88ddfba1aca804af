#include "shiplist/FaHuoSet.h"
#include "shiplist/GoodsTable.h"

#include "waybill/TestFolder.h"

#include <gtest/gtest.h>

using namespace mldd;

TEST(FaHuoSet, DefaultDesign) {
    const QString value = DefaultFaHuoSet();
    const QStringList records = value.split(QStringLiteral("[FA]"));
    ASSERT_EQ(records.size(), 21);
    EXPECT_EQ(records.first(),
              QStringLiteral("标题[FAHUO]某某某店铺发货单[FAHUO]1[FAHUO]宋体[FAHUO]18[FAHUO]"
                             "居中[FAHUO]0[FAHUO]0[FAHUO]0"));
    EXPECT_TRUE(records.last().startsWith(QStringLiteral("卖家备注[FAHUO][FAHUO]1")));
    EXPECT_FALSE(value.endsWith(QStringLiteral("[FA]")));
    EXPECT_EQ(FaHuoSet().value(), value); // an empty stored value reads as the default
    EXPECT_EQ(FaHuoSet::itemNames().size(), 21);
}

TEST(FaHuoSet, SaveRefusesShownPlaceholdersInOrder) {
    FaHuoSet design;
    const auto refusal = [&] { return design.saveRefusal(); };
    ASSERT_TRUE(refusal());
    EXPECT_EQ(refusal()->notice.text, QStringLiteral("请修改您的发货单标题！"));
    EXPECT_EQ(refusal()->notice.icon, Notice::Icon::Exclamation);
    EXPECT_EQ(refusal()->item, QStringLiteral("标题"));

    design.setItemField(QStringLiteral("标题"), FaHuoSet::Text, QStringLiteral("墨岚小店发货单"));
    EXPECT_EQ(refusal()->notice.text, QStringLiteral("请修改您的卖家姓名！"));
    // A hidden item may keep its placeholder.
    design.setItemField(QStringLiteral("卖家姓名"), FaHuoSet::Shown, QStringLiteral("0"));
    EXPECT_EQ(refusal()->notice.text, QStringLiteral("请修改您的卖家ID！"));
    design.setItemField(QStringLiteral("卖家ID"), FaHuoSet::Text, QStringLiteral("卖家ID:墨岚"));
    EXPECT_EQ(refusal()->notice.text, QStringLiteral("请修改您的卖家联系电话！"));
    design.setItemField(QStringLiteral("卖家联系电话"), FaHuoSet::Shown, QStringLiteral("0"));
    EXPECT_FALSE(refusal());
}

TEST(FaHuoSet, StyleChangesTouchOnlyWholeRecords) {
    FaHuoSet design;
    ASSERT_TRUE(design.setField(0, FaHuoSet::FontSize, QStringLiteral("72")));
    EXPECT_EQ(design.value().section(QStringLiteral("[FAHUO]"), 4, 4), QStringLiteral("72"));

    // Ten records, one of them short: kept as stored, the short one never changed.
    QStringList records = DefaultFaHuoSet().split(QStringLiteral("[FA]")).mid(0, 10);
    records[3] = QStringLiteral("快递单号[FAHUO][FAHUO]1[FAHUO]宋体");
    const QString stored = records.join(QStringLiteral("[FA]"));
    FaHuoSet shortDesign(stored);
    EXPECT_EQ(shortDesign.recordCount(), 10);
    EXPECT_FALSE(shortDesign.setField(3, FaHuoSet::Bold, QStringLiteral("1")));
    EXPECT_FALSE(shortDesign.setField(17, FaHuoSet::Bold, QStringLiteral("1")));
    EXPECT_FALSE(shortDesign.item(QStringLiteral("快递单号")));
    EXPECT_FALSE(shortDesign.item(QStringLiteral("卖家备注")));
    EXPECT_EQ(shortDesign.value(), stored);
}

TEST(FaHuoSet, FontListPutsOneFaceOfEachPreferredFamilyFirstAndVerticalFacesLast) {
    const QStringList installed{QStringLiteral("@宋体"),     QStringLiteral("Noto Sans"),
                                QStringLiteral("黑体"),      QStringLiteral("宋体"),
                                QStringLiteral("宋体-扩展"), QStringLiteral("楷体")};
    EXPECT_EQ(FaHuoSet::fontChoices(installed),
              (QStringList{QStringLiteral("楷体"), QStringLiteral("黑体"), QStringLiteral("宋体"),
                           QStringLiteral("Noto Sans"), QStringLiteral("宋体-扩展"),
                           QStringLiteral("@宋体")}));
    EXPECT_EQ(FaHuoSet::sizeChoices().size(), 21);
    EXPECT_EQ(FaHuoSet::sizeChoices().last(), QStringLiteral("72"));
}

TEST(GoodsTable, ArticlesAreReadFromTheirEndAsPagesWriteThem) {
    const GoodsTable table = GoodsTable::fromGoods(QStringLiteral("保温杯 500ml 4 163.00\r\n"
                                                                  "连衣裙 红色 L 2 59.9 5 \r\n"
                                                                  "帽子 1 20 0 18 6\r\n"
                                                                  "iPhone 15 1 5999\r\n"
                                                                  "围巾 羊毛 灰色\r\n"
                                                                  "手工皂 3 ￥18.00；丝瓜络 2 6.00;"
                                                                  "竹制皂托 1 9.90；"));
    ASSERT_EQ(table.rows.size(), 8);
    EXPECT_EQ(table.rows[0], (QStringList{"1", "保温杯 500ml", "4", "163.00", "0", "652"}));
    EXPECT_EQ(table.rows[1], (QStringList{"2", "连衣裙 红色 L", "2", "59.9", "5", "114.8"}));
    EXPECT_EQ(table.rows[2], (QStringList{"3", "帽子", "1", "20", "0", "18"}));
    // Read as 15 pieces at 1 yuan less 5999 the total would be negative: 15 is the model.
    EXPECT_EQ(table.rows[3], (QStringList{"4", "iPhone 15", "1", "5999", "0", "5999"}));
    EXPECT_EQ(table.rows[4], (QStringList{"5", "围巾 羊毛 灰色", "", "", "", ""}));
    EXPECT_EQ(table.rows[5], (QStringList{"6", "手工皂", "3", "18.00", "0", "54"}));
    EXPECT_EQ(table.rows[7], (QStringList{"8", "竹制皂托", "1", "9.90", "0", "9.9"}));
    EXPECT_EQ(table.summary(), QStringLiteral("数量：14  优惠：5元  总价：6859.7元  运费：6元"));
    EXPECT_EQ(table.capitalAmount(), QStringLiteral("陆仟捌佰伍拾玖元柒角整"));
}

TEST(GoodsTable, TotalsAreNeverNegative) {
    // Six numbers: the first stays with the name. A discount above the price gives up its place.
    const GoodsTable table = GoodsTable::fromGoods(
        QStringLiteral("收纳盒 3 2 1 10 10 0\r\n贴纸 2 1 50\r\n优惠券 1 0 5\r\n7 8 -3 1e9"));
    ASSERT_EQ(table.rows.size(), 4);
    EXPECT_EQ(table.rows[0], (QStringList{"1", "收纳盒 3", "2", "1", "10", "10"}));
    EXPECT_EQ(table.rows[1], (QStringList{"2", "贴纸 2", "1", "50", "0", "50"}));
    EXPECT_EQ(table.rows[2], (QStringList{"3", "优惠券 1", "0", "5", "0", "0"}));
    EXPECT_EQ(table.rows[3], (QStringList{"4", "7 8 -3 1e9", "", "", "", ""}));
    EXPECT_EQ(table.total, 60);
    EXPECT_EQ(table.capitalAmount(), QStringLiteral("陆拾元整"));
}

TEST(GoodsTable, NegativeFiguresAndAmountsBeyondCapitals) {
    // A minus sign makes no figure: the line is not read with its price as the count.
    const GoodsTable signed_ = GoodsTable::fromGoods(QStringLiteral("T恤 -5 59.00\r\n袜子 2 10"));
    ASSERT_EQ(signed_.rows.size(), 2);
    EXPECT_EQ(signed_.rows[0], (QStringList{"1", "T恤 -5 59.00", "", "", "", ""}));
    EXPECT_EQ(signed_.quantity, 2);
    EXPECT_EQ(signed_.total, 20);

    // Capitals end at 亿: past that the list says so, in the words of `mldd-cli capital`.
    const GoodsTable large = GoodsTable::fromGoods(QStringLiteral("金条 1 4294967296"));
    EXPECT_EQ(large.summary(), QStringLiteral("数量：1  优惠：0元  总价：4294967296元  运费：0元"));
    EXPECT_EQ(large.capitalAmount(),
              QStringLiteral("金额必须在 0 到 999999999.99 之间（大写最高写到亿）"));
    EXPECT_EQ(GoodsTable::fromGoods(QStringLiteral("金条 1 999999999.99")).capitalAmount(),
              QStringLiteral("玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"));
}

TEST(GoodsTable, CountsAndPricesTypedWithTheirMarks) {
    // As a seller types them by hand: "x2", "×3", "89元", "￥12.5" and a price before its count.
    const GoodsTable table = GoodsTable::fromGoods(QStringLiteral("棉麻衬衫 白色 L x2 89元\r\n"
                                                                  "帆布包 ×3 ￥35.50\r\n"
                                                                  "陶瓷茶杯 ￥22.00 x4\r\n"
                                                                  "贴纸 X2 12.5元 5元\r\n"
                                                                  "型号 x2元 1 9"));
    ASSERT_EQ(table.rows.size(), 5);
    EXPECT_EQ(table.rows[0], (QStringList{"1", "棉麻衬衫 白色 L", "2", "89", "0", "178"}));
    EXPECT_EQ(table.rows[1], (QStringList{"2", "帆布包", "3", "35.50", "0", "106.5"}));
    EXPECT_EQ(table.rows[2], (QStringList{"3", "陶瓷茶杯", "4", "22.00", "0", "88"}));
    EXPECT_EQ(table.rows[3], (QStringList{"4", "贴纸", "2", "12.5", "5", "20"}));
    EXPECT_EQ(table.rows[4], (QStringList{"5", "型号 x2元", "1", "9", "0", "9"}));
    EXPECT_EQ(table.summary(), QStringLiteral("数量：12  优惠：5元  总价：401.5元  运费：0元"));
}

TEST(GoodsTable, SumsReadAsTyped) {
    const GoodsTable prices =
        GoodsTable::fromGoods(QStringLiteral("发卡 1 1.15\r\n发卡 1 1.15\r\n发卡 1 1.15\r\n"));
    EXPECT_EQ(prices.rows.size(), 3); // the trailing line break makes no row
    EXPECT_EQ(prices.summary(), QStringLiteral("数量：3  优惠：0元  总价：3.45元  运费：0元"));
    EXPECT_EQ(prices.capitalAmount(), QStringLiteral("叁元肆角伍分"));

    const GoodsTable none = GoodsTable::fromGoods(QString());
    EXPECT_TRUE(none.rows.isEmpty());
    EXPECT_EQ(none.summary(), QStringLiteral("数量：0  优惠：0元  总价：0元  运费：0元"));
    EXPECT_EQ(none.capitalAmount(), QStringLiteral("元整"));
}
