#include "shiplist/GoodsSku.h"
#include "shiplist/GoodsTable.h"

#include <gtest/gtest.h>

using namespace mldd;

TEST(GoodsSku, TheCodeRidesWithTheNameAndNeverCountsAsAFigure) {
    EXPECT_EQ(GoodsSku::word(QStringLiteral(" AB 123 ")), QStringLiteral("编码:AB123"));
    EXPECT_TRUE(GoodsSku::word(QStringLiteral("  ")).isEmpty());

    const QString name = QStringLiteral("帆布包 黑色 ") + GoodsSku::word(QStringLiteral("10023"));
    const GoodsSku::NameAndSku read = GoodsSku::split(name);
    EXPECT_EQ(read.name, QStringLiteral("帆布包 黑色"));
    EXPECT_EQ(read.sku, QStringLiteral("10023"));
    EXPECT_EQ(GoodsSku::split(GoodsSku::word(QStringLiteral("X1"))).sku, QStringLiteral("X1"));
    EXPECT_EQ(GoodsSku::split(QStringLiteral("编码器 2米")).sku, QString());
    EXPECT_EQ(GoodsSku::split(QStringLiteral("帆布包 编码:")).name, QStringLiteral("帆布包 编码:"));

    // A numeric code before the figures stays in the name cell; quantity and price are unchanged.
    const GoodsTable table = GoodsTable::fromGoods(name + QStringLiteral(" 2 59.5"));
    ASSERT_EQ(table.rows.size(), 1);
    EXPECT_EQ(table.rows[0][1], name);
    EXPECT_EQ(table.quantity, 2);
    EXPECT_EQ(table.total, 119);
}
