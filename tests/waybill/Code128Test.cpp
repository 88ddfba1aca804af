#include "waybill/Code128.h"
#include "waybill/TextMetrics.h"

#include <gtest/gtest.h>

#include <set>

using namespace mldd;

namespace {

QList<int> values(const QString& text) {
    return Code128::encode(text).value_or(QList<int>{-1});
}

} // namespace

TEST(Code128, EncodesInSetsBAndC) {
    // Start C, 12 34 56 78, checksum (105 + 12 + 2·34 + 3·56 + 4·78) mod 103 = 47, stop.
    EXPECT_EQ(values("12345678"), (QList<int>{105, 12, 34, 56, 78, 47, 106}));
    // Start B, A, to C, 12, to B, 3: the switch symbols carry weights too.
    EXPECT_EQ(values("A123"), (QList<int>{104, 33, 99, 12, 100, 19, 42, 106}));
    // One leading digit is no pair: Start B.
    EXPECT_EQ(values("1A"), (QList<int>{104, 17, 33, 84, 106}));
    EXPECT_EQ(values("yt12a"), values("YT12A"));
    EXPECT_EQ(values("1"), (QList<int>{104, 17, 18, 106}));
    EXPECT_EQ(values(QString(QChar(127))), (QList<int>{104, 95, 96, 106}));
}

TEST(Code128, RefusesCharactersWithoutAValue) {
    EXPECT_FALSE(Code128::encode(QStringLiteral("YT中通123")));
    EXPECT_FALSE(Code128::encode(QStringLiteral("12\t34")));
    EXPECT_FALSE(Code128::encode(QStringLiteral("é")));
}

TEST(Code128, PatternTableIsTheSymbology) {
    EXPECT_EQ(Code128::pattern(0), "bbsbbssbbss");
    EXPECT_EQ(Code128::pattern(103), "bbsbssssbss");
    EXPECT_EQ(Code128::pattern(104), "bbsbssbssss");
    EXPECT_EQ(Code128::pattern(105), "bbsbssbbbss");
    EXPECT_EQ(Code128::pattern(106), "bbsssbbbsbsbb");
    EXPECT_EQ(Code128::pattern(107), QString());
    std::set<QString> seen;
    for (int value = 0; value < 106; ++value) {
        const QString modules = Code128::pattern(value);
        ASSERT_EQ(modules.size(), 11) << value;
        EXPECT_TRUE(modules.startsWith(u'b') && modules.endsWith(u's')) << value;
        // Three bars and three spaces, each one to four modules wide.
        EXPECT_EQ(modules.count(QStringLiteral("sb")), 2) << value;
        EXPECT_TRUE(seen.insert(modules).second) << value;
    }
}

TEST(Code128, BarsFollowTheUnitAndModuleRule) {
    PageModel page;
    TextMetrics metrics;
    const Code128::Field field{1000, 2000, 4000, 900, false, FontSpec{"WenQuanYi Micro Hei", 9}};
    Code128::draw(page, metrics, QStringLiteral("12345678"), field);
    // u = 4 × Int(4000 / 22 / 8 / 4 + 0.4999) = 24, a module 48.
    ASSERT_EQ(page.barcodes.size(), 1);
    EXPECT_TRUE(page.texts.isEmpty());
    const QList<QRectF> bars = page.barcodes[0].bars();
    // Start C begins with a two-module bar, drawn half a module short.
    EXPECT_EQ(bars.first(), QRectF(1000, 2000, 2 * 48 - 24, 900));
    // Six symbols of 11 modules and the 13 of the stop, whose last bar is drawn whole.
    EXPECT_EQ(bars.last().right(), 1000 + 79 * 48);
    EXPECT_EQ(bars.last().width(), 2 * 48);
    int runs = 0;
    for (int value : {105, 12, 34, 56, 78, 47, 106})
        runs += int(Code128::pattern(value).count(QStringLiteral("bs"))) + (value == 106);
    EXPECT_EQ(bars.size(), runs);

    // Left of the page's origin the runs come out the same, only moved.
    PageModel moved;
    Code128::draw(moved, metrics, QStringLiteral("12345678"),
                  {-5000, 2000, 4000, 900, false, field.font});
    ASSERT_EQ(moved.barcodes.size(), 1);
    const QList<QRectF> movedBars = moved.barcodes[0].bars();
    ASSERT_EQ(movedBars.size(), bars.size());
    for (qsizetype i = 0; i < bars.size(); ++i)
        EXPECT_EQ(movedBars[i], bars[i].translated(-6000, 0)) << i;
}

TEST(Code128, TextGoesBeneathTheBars) {
    PageModel page;
    TextMetrics metrics;
    const FontSpec font{"WenQuanYi Micro Hei", 9};
    Code128::draw(page, metrics, QStringLiteral("yt88"), {0, 0, 3000, 900, true, font});
    ASSERT_EQ(page.texts.size(), 1);
    EXPECT_EQ(page.texts[0].text, QStringLiteral("YT88"));
    EXPECT_NEAR(page.texts[0].top, 900 - metrics.lineHeight(font), 0.01);
    ASSERT_EQ(page.barcodes.size(), 1);
    EXPECT_NEAR(page.barcodes[0].height, page.texts[0].top, 0.01);
}

TEST(Code128, NothingForNarrowBoxesOrBadText) {
    PageModel page;
    TextMetrics metrics;
    Code128::draw(page, metrics, QStringLiteral("1234567890"), {0, 0, 300, 900, false, {}});
    Code128::draw(page, metrics, QStringLiteral("中通"), {0, 0, 3000, 900, false, {}});
    Code128::draw(page, metrics, QString(), {0, 0, 3000, 900, true, {}});
    EXPECT_TRUE(page.barcodes.isEmpty());
    EXPECT_TRUE(page.texts.isEmpty());
}
