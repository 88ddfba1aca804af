#include "shiplist/CapitalAmount.h"
#include "shiplist/DecimalText.h"

#include "waybill/TestFolder.h"

#include <gtest/gtest.h>

using namespace mldd;

TEST(CapitalAmount, ReceiptExamples) {
    EXPECT_EQ(ToCapitalAmount(123.45), QStringLiteral("壹佰贰拾叁元肆角伍分"));
    EXPECT_EQ(ToCapitalAmount(1005), QStringLiteral("壹仟零伍元整"));
    EXPECT_EQ(ToCapitalAmount(20.5), QStringLiteral("贰拾元伍角整"));
    EXPECT_EQ(ToCapitalAmount(0.5), QStringLiteral("元伍角整"));
    EXPECT_EQ(ToCapitalAmount(0), QStringLiteral("元整"));
}

TEST(CapitalAmount, TenThousandsAndHundredMillions) {
    EXPECT_EQ(ToCapitalAmount(10000), QStringLiteral("壹万元整"));
    EXPECT_EQ(ToCapitalAmount(50010), QStringLiteral("伍万零壹拾元整"));
    EXPECT_EQ(ToCapitalAmount(100000000), QStringLiteral("壹亿元整"));
    EXPECT_EQ(ToCapitalAmount(123456789.12),
              QStringLiteral("壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分"));
}

TEST(CapitalAmount, CutToFenAfterFifteenSignificantDigits) {
    // 3 × 1.15 is 3.4499999999999997 in binary; the seller typed 1.15.
    EXPECT_EQ(ToCapitalAmount(3 * 1.15), QStringLiteral("叁元肆角伍分"));
    EXPECT_EQ(ToCapitalAmount(0.1 + 0.2), QStringLiteral("元叁角整"));
    // Cut, not rounded.
    EXPECT_EQ(ToCapitalAmount(0.999), QStringLiteral("元玖角玖分"));
    EXPECT_EQ(ToCapitalAmount(2.005), QStringLiteral("贰元整"));
}

TEST(DecimalText, ShortestWithoutExponent) {
    EXPECT_EQ(shortestDecimalText(2.50), QStringLiteral("2.5"));
    EXPECT_EQ(shortestDecimalText(-0.5), QStringLiteral("-0.5"));
    EXPECT_EQ(shortestDecimalText(3 * 1.15), QStringLiteral("3.45"));
    EXPECT_EQ(shortestDecimalText(1e-7), QStringLiteral("0.0000001"));
    EXPECT_EQ(shortestDecimalText(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(shortestDecimalText(12000), QStringLiteral("12000"));
}
