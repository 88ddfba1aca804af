#include "waybill/LayoutCodec.h"

#include <gtest/gtest.h>

using namespace mldd;

TEST(LayoutCodec, EncodesSignedCodePage936Codes) {
    // "65/" is 3 long, so k = 2 and every character moves by 59.
    EXPECT_EQ(LayoutCodec::encode(QStringLiteral("A")), QStringLiteral("qpj"));
    // 中 is D6D0 in code page 936, a negative code: "-10544/" is 7 long, k = -3.
    EXPECT_EQ(LayoutCodec::encode(QStringLiteral("中")), QStringLiteral("cgfkjje"));
    EXPECT_EQ(LayoutCodec::decode(QStringLiteral("cgfkjje")), QStringLiteral("中"));
}

TEST(LayoutCodec, ShiftSkipsZero) {
    EXPECT_EQ(LayoutCodec::shiftFor(10), 5);
    EXPECT_EQ(LayoutCodec::shiftFor(20), 5);
    EXPECT_EQ(LayoutCodec::shiftFor(4), 1);
    EXPECT_EQ(LayoutCodec::shiftFor(5), -1);
    EXPECT_EQ(LayoutCodec::shiftFor(15), -1);
    EXPECT_EQ(LayoutCodec::shiftFor(9), -5);
}

TEST(LayoutCodec, RoundTripsAtEveryShift) {
    // Lengths of the code list run through every remainder mod 10, 0 and 5 included.
    QString text;
    const QString pieces = QStringLiteral("Y{F}宋体B|ORDER_DATA:buy_name^0广东省深圳市-9/é€");
    for (QChar c : pieces) {
        text += c;
        const QString encoded = LayoutCodec::encode(text);
        ASSERT_EQ(LayoutCodec::decode(encoded), text) << text.toStdString();
    }
    const QString layout = QStringLiteral(
        "Y{F}N{F}B|ORDER_DATA:buy_name{F}收件人{F}宋体{F}10{F}0{F}LT^1000^800^3000^300{F}N^");
    EXPECT_EQ(LayoutCodec::decode(LayoutCodec::encode(layout)), layout);
    EXPECT_EQ(LayoutCodec::decode(QString()), QString());
    // The coded text is exactly as long as the code list "-13362/49/" (宋 then 1).
    EXPECT_EQ(LayoutCodec::encode(QStringLiteral("宋1")).size(), 10);
}

TEST(LayoutCodec, RefusesWhatIsNotCodecText) {
    EXPECT_FALSE(LayoutCodec::decode(QStringLiteral("Y{F}N{F}B|ORDER_DATA")));
    EXPECT_FALSE(LayoutCodec::decode(QStringLiteral("中文")));
    // Valid characters, but the last number has no closing "/".
    const QString encoded = LayoutCodec::encode(QStringLiteral("AB"));
    EXPECT_FALSE(LayoutCodec::decode(encoded.left(encoded.size() - 1)));
    // A number beyond 16 bits.
    QString huge = QStringLiteral("9999999/");
    const int shift = 57 + LayoutCodec::shiftFor(huge.size());
    for (QChar& c : huge)
        c = QChar(c.unicode() + shift);
    EXPECT_FALSE(LayoutCodec::decode(huge));
}
