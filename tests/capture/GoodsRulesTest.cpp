#include "RuleTestSupport.h"

#include "capture/FindPattern.h"
#include "capture/GoodsRules.h"

#include <gtest/gtest.h>

using namespace mldd;
using namespace mldd::test;

namespace {

QString reshape(const QString& goods, const QStringList& program) {
    return RunGoodsRules(goods, goodsProgram(program)).text;
}

// One article per run of the loop: the name before the quantity, the quantity,
// then the price; the trailing total line is peeled off first.
const QStringList kArticleProgram{
    "GOODSFORMAT~E", "GOODSJUMP~2~50",    "SETBNULL",
    "IF~99~L>~2",    "SETLOCATION",       "LOCATION~1/K/N~0/K~1/N/*/N~1/=/2/=",
    "SETB",          "SETLOCATION",       "LOCATION~1/K/N~0/K~*/N/1/D/*/N~0/0/3/=",
    "SETB",          "SETBTOGOODS~1/2/3",
};

TEST(GoodsRules, ArticlesBecomeOneLineEach) {
    const QString goods =
        QStringLiteral("苹果 2 3.50\r\n红富士 大果 1 12.80\r\n梨  3 2.00\r\n合计 21.30\r\n");
    const GoodsResult result = RunGoodsRules(goods, goodsProgram(kArticleProgram));
    EXPECT_EQ(result.text, QStringLiteral("苹果 2 3.5\r\n红富士/大果 1 12.8\r\n梨 3 2"));
    EXPECT_FALSE(result.fallback);
}

TEST(GoodsRules, NoArticleLineGivesTheGoodsTextAndASpace) {
    const QStringList program{"GOODSFORMAT~E", "LOCATION~1/K/N~0/K~1/N~1/=/2/=", "SETB",
                              "SETBTOGOODS~1/2"};
    const GoodsResult result = RunGoodsRules(QStringLiteral("说明：无\r\n"), goodsProgram(program));
    EXPECT_EQ(result.text, QStringLiteral("说明：无\r\n "));
    EXPECT_TRUE(result.fallback);
    EXPECT_EQ(RunGoodsRules(QString(), QString()).text, QStringLiteral(" "));
}

TEST(GoodsRules, FormatPeelsOffTheLastNonEmptyLine) {
    const QString goods = QStringLiteral("a 1\r\nb 2\r\n合计 3\r\n\r\n");
    EXPECT_EQ(reshape(goods, {"GOODSFORMAT~E", "SETTO~1~=~E", "SETTO~2~=~S", "SETBTOGOODS~1"}),
              QStringLiteral("合计 3 a 1 b 2"));
    EXPECT_EQ(reshape(goods, {"GOODSFORMAT~", "SETTO~1~=~O", "SETBTOGOODS~1"}),
              QStringLiteral("a 1 b 2 合计 3"));
}

TEST(GoodsRules, SharedCommandsWorkOnTheGoodsTexts) {
    EXPECT_EQ(reshape(QStringLiteral("品名：苹果\r\n"),
                      {"MIDHN~Q~=~：", "MIDQN~1~=~[VBCRLF]", "SETBTOGOODS~1"}),
              QStringLiteral("苹果"));
    EXPECT_EQ(
        reshape(QStringLiteral("x"), {"SET~1~=~北京市北京市", "REPLACECF~1~=~2", "SETBTOGOODS~1"}),
        QStringLiteral("北京市"));
    // Registers end at "6"; "7" is no target.
    EXPECT_EQ(
        reshape(QStringLiteral("x"), {"SET~1~=~a", "SET~7~=~b", "SETTO~7~=~c", "SETBTOGOODS~1"}),
        QStringLiteral("a"));
}

TEST(GoodsRules, ReplaceqOnlyTouchesTheHead) {
    const QStringList setUp{"SETTO~O~=~1x2x3x"};
    EXPECT_EQ(reshape("g", setUp + QStringList{"REPLACEQ~1~=~x~-~3", "SETBTOGOODS~1"}),
              QStringLiteral("1-2x3x"));
    EXPECT_EQ(reshape("g", setUp + QStringList{"REPLACEQ~1~=~3~-~4", "SETBTOGOODS~1"}),
              QStringLiteral("1x2x3x"));
    EXPECT_EQ(reshape("g", setUp + QStringList{"IFQ~9~=~1x~2", "SETTO~1~=~head", "SETBTOGOODS~1"}),
              QStringLiteral("head"));
    EXPECT_EQ(reshape("g", setUp + QStringList{"IFQ~9~=~1x2~2", "SETTO~1~=~head", "SETBTOGOODS~1"}),
              QStringLiteral("g "));
}

TEST(GoodsRules, SettoSetsOrAppendsWithAPrefix) {
    const QStringList setUp{"SETTO~O~=~w", "SETTO~1~=~a"};
    EXPECT_EQ(reshape("g", setUp + QStringList{"SETTO~1~+~O", "SETBTOGOODS~1"}), "aw");
    EXPECT_EQ(reshape("g", setUp + QStringList{"SETTO~1~+、~O", "SETBTOGOODS~1"}), "a、w");
    EXPECT_EQ(reshape("g", setUp + QStringList{"SETTO~1~=#~lit", "SETBTOGOODS~1"}), "#lit");
    EXPECT_EQ(reshape("g", setUp + QStringList{"SETTO~1~=~Q", "SETBTOGOODS~1"}), "g");
    EXPECT_EQ(reshape("g", setUp + QStringList{"SETTO~2~=~1", "SETBTOGOODS~2"}), "a a");
}

TEST(GoodsRules, SetbAddsAmountsInCents) {
    const QStringList program{"SETTO~O~=~x 0.1 y 0.2 z",
                              "SETLOCATION",
                              "LOCATION~1/K/N~0/K~1/N/1/D/1/N~0/0/2/=",
                              "SETB",
                              "SETLOCATION",
                              "LOCATION~1/K/N~0/K~1/N/1/D/1/N~0/0/2/=",
                              "SETB",
                              "SETTO~1~=~O",
                              "SETBTOGOODS~2"};
    EXPECT_EQ(reshape("g", program), QStringLiteral("z 0.3"));
}

TEST(GoodsRules, SetbWritesATotalAsItsShortestDecimal) {
    // The total starts as the register's value; the located "0" adds nothing to it.
    const auto total = [](const QString& start) {
        return reshape("g", {"SETTO~O~=~x 0 z", "SETTO~2~=~" + start, "SETLOCATION",
                             "LOCATION~1/K/N~0/K~1/N~0/0/2/=", "SETB", "SETBTOGOODS~2"});
    };
    EXPECT_EQ(total("59.00"), QStringLiteral("59"));
    EXPECT_EQ(total("147.90"), QStringLiteral("147.9"));
    EXPECT_EQ(total("0.05"), QStringLiteral("0.05"));
    EXPECT_EQ(total("-3.45元"), QStringLiteral("-3.45"));
    EXPECT_EQ(total("-0"), QStringLiteral("0"));
    EXPECT_EQ(total("12345678901.23"), QStringLiteral("12345678901.23"));
    // Beyond fifteen digits the total is rounded, and from 10^15 on written with an exponent.
    EXPECT_EQ(total("123456789012345.67"), QStringLiteral("123456789012346"));
    EXPECT_EQ(total("9000000000000000"), QStringLiteral("1e+15"));
}

TEST(GoodsRules, EarliestLocationWinsUntilForgotten) {
    // The second pattern finds a later part, so the first one's stays remembered.
    const QStringList program{"SETTO~O~=~甲 5 乙 6", "LOCATION~1/K/N~0/K~1/N~1/=/2/=",
                              "LOCATION~0/乙~2/K~1/乙~1/=/2/=", "SETB", "SETBTOGOODS~1/2"};
    EXPECT_EQ(reshape("g", program), QStringLiteral("甲 5"));
    // The check list rejects the first candidate, so the scan moves on to the next.
    const QStringList moving{"SETTO~O~=~a 5 b 72 ", "LOCATION~1/K/N~0/K~2/N~1/=/2/=", "SETB",
                             "SETBTOGOODS~1/2"};
    EXPECT_EQ(reshape("g", moving), QStringLiteral("a/5/b 72"));
}

TEST(GoodsRules, EmittingNeedsEveryListedRegister) {
    // Register 3 is empty: nothing is appended, but the run still goes back after GOODSJUMP.
    const QStringList program{"SETTO~O~=~",  "SETTO~1~=~a",    "GOODSJUMP~6~1",
                              "IF~99~=~", // back here after each emit: only once more
                              "SETTO~3~=~c", "SETTO~O~=~done", "SETTO~2~+~b",   "SETBTOGOODS~1/3"};
    EXPECT_EQ(reshape("g", program), QStringLiteral("a bb c"));
}

TEST(GoodsRules, TakenBackArticleGoesBackUnchanged) {
    const QStringList program{
        "SETTO~O~=~",      "SETTO~1~=~苹果", "SETTO~2~=~3.5", "GOODSJUMP~8~1",
        "IF~99~=~", // back here after each emit: only once more
        "SETTO~O~=~again", "SETBNULL",       "SETGOODSTOB",   "SETBTOGOODS~1"};
    EXPECT_EQ(reshape("g", program), QStringLiteral("苹果 3.5"));
}

TEST(GoodsRules, RepeatingLineEndsAtTheTwoHundredFirstExecution) {
    const auto run = [](int limit) {
        return RunGoodsRules(
            "g", goodsProgram({"SETTO~1~=~done", QStringLiteral("GOODSJUMP~1~%1").arg(limit),
                               "SETBTOGOODS~1"}));
    };
    // 199 jumps and the fall-through are 200 executions; the emitting line then repeats 200 times.
    const GoodsResult allowed = run(199);
    EXPECT_EQ(allowed.text, QStringList(200, QStringLiteral("done")).join("\r\n"));
    const GoodsResult stopped = run(200);
    EXPECT_TRUE(stopped.fallback);
    EXPECT_FALSE(stopped.cutShort);
}

TEST(FindPattern, FindsTheFirstPositionThatFitsTheClasses) {
    const QString text = QStringLiteral("苹果 12.50元 x");
    EXPECT_EQ(FindPattern(text, u"0/N", 1), 4);
    EXPECT_EQ(FindPattern(text, u"1/K/N", 1), 4);
    EXPECT_EQ(FindPattern(text, u"-1/D/N", 1), 5);
    EXPECT_EQ(FindPattern(text, u"0/N", 5), 5);
    EXPECT_EQ(FindPattern(text, u"0/元", 1), 9);
    EXPECT_EQ(FindPattern(text, u"0/C", 3), 9);
    EXPECT_EQ(FindPattern(text, u"0/NC/NK", 1), 3);
    EXPECT_EQ(FindPattern(text, u"0/NDN/NN/ND", 1), 1);
    EXPECT_EQ(FindPattern(text, u"0/DN/DN/DN/DN/DN", 1), 4);
    EXPECT_EQ(FindPattern(text, u"0/K/NK", 10), 10);
    EXPECT_EQ(FindPattern(text, u"0/K/NK", 11), kNoPosition);
}

TEST(FindPattern, GivesNineNineNineNineWhenNothingFits) {
    const QString text = QStringLiteral("ab 12");
    EXPECT_EQ(FindPattern(text, u"0/N/N/N", 1), kNoPosition);
    EXPECT_EQ(FindPattern(text, u"0/N", 6), kNoPosition);
    EXPECT_EQ(FindPattern(text, u"x/N", 1), kNoPosition);
    EXPECT_EQ(FindPattern(text, u"0/ab", 1), kNoPosition);
    EXPECT_EQ(FindPattern(QString(), u"0/N", 1), kNoPosition);
}

TEST(CheckList, CountsCharactersOfEachClass) {
    EXPECT_TRUE(passesCheckList(u"12", u"1/N/*/N"));
    EXPECT_TRUE(passesCheckList(u"12.50", u"*/N/1/D/2/N"));
    EXPECT_TRUE(passesCheckList(u"5", u"1/N/*/D"));
    EXPECT_TRUE(passesCheckList(u"5xyz", u"1/N"));
    EXPECT_TRUE(passesCheckList(u" 件", u"2/C"));
    EXPECT_TRUE(passesCheckList(u"x", u""));
    EXPECT_FALSE(passesCheckList(u"a", u"1/N"));
    EXPECT_FALSE(passesCheckList(u"1", u"2/N"));
    EXPECT_FALSE(passesCheckList(u"1", u"1/C"));
    EXPECT_FALSE(passesCheckList(u"1", u"x/N"));
    EXPECT_FALSE(passesCheckList(u"1", u"1"));
}

} // namespace
