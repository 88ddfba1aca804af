#include "RuleTestSupport.h"

#include "capture/DecodeRules.h"

#include <gtest/gtest.h>

using namespace mldd;
using namespace mldd::test;

namespace {

const QString kPage = QStringLiteral("订单号：2024 0001\r\n收货人：张三\r\n地址：北京市朝阳区\r\n");

// Runs one command that stores into register 3 and returns what the record holds there.
QString third(const QString& line, const QString& page = kPage) {
    const QList<QStringList> records =
        recordFields(RunDecodeRules(page, rules({line, QStringLiteral("SETALL")}), false).records);
    return records.size() == 1 ? records.first().value(3) : QStringLiteral("<no record>");
}

struct TextCase {
    const char* line;
    const char* expected;
};

class TextCommands : public testing::TestWithParam<TextCase> {};

TEST_P(TextCommands, CutTheWorkText) {
    EXPECT_EQ(third(QString::fromUtf8(GetParam().line)), QString::fromUtf8(GetParam().expected));
}

const QString kWhole =
    QStringLiteral("订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区[VBCRLF]");

INSTANTIATE_TEST_SUITE_P(
    OnAChinesePage, TextCommands,
    testing::Values(
        TextCase{"MID^3^=^收货人：^[VBCRLF]地址", "张三"},
        // The end marker is searched from the start, so here it lies before the start marker.
        TextCase{"MID^3^=^地址：^[VBCRLF]", "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址："
                                            "北京市朝阳区[VBCRLF]"},
        TextCase{"MID^3^=^无此标记^[VBCRLF]", "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址："
                                              "北京市朝阳区[VBCRLF]"},
        TextCase{"MIDHN^3^=^地址：", "北京市朝阳区[VBCRLF]"},
        TextCase{"MIDHN^3^=^订单号：",
                 "2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区[VBCRLF]"},
        TextCase{"MIDHY^3^=^地址：", "地址：北京市朝阳区[VBCRLF]"},
        TextCase{"MIDQN^3^=^[VBCRLF]", "订单号：2024 0001"},
        TextCase{"MIDQY^3^=^0001", "订单号：2024 0001"},
        TextCase{"MIDQNR^3^=^[VBCRLF]",
                 "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区"},
        TextCase{"MIDQYR^3^=^区",
                 "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区"},
        TextCase{"MIDQSL^3^=^3", "订单号"}, TextCase{"MIDHSL^3^=^10", "阳区[VBCRLF]"},
        TextCase{"MIDQSQ^3^=^21", "收货人：张三[VBCRLF]地址：北京市朝阳区[VBCRLF]"},
        TextCase{"MIDHSQ^3^=^11", "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市"},
        TextCase{"MIDQSL^3^=^999",
                 "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区[VBCRLF]"},
        TextCase{"MIDQSQ^3^=^999", ""},
        TextCase{"MIDHSQ^3^=^999",
                 "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区[VBCRLF]"},
        TextCase{"MIDHSL^3^=^-2",
                 "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区[VBCRLF]"},
        TextCase{"CUT^3^=^订单号^[VBCRLF]收货人：", "张三[VBCRLF]地址：北京市朝阳区[VBCRLF]"},
        TextCase{"CUTR^3^=^[VBCRLF]^地址", "订单号：2024 0001地址：北京市朝阳区[VBCRLF]"},
        TextCase{"CUTL^3^=^收货人：^[VBCRLF]",
                 "订单号：2024 0001[VBCRLF]收货人：地址：北京市朝阳区[VBCRLF]"},
        TextCase{"CUT^3^=^地址：^订单号",
                 "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区[VBCRLF]"},
        TextCase{"REPLACE^3^=^[VBCRLF]^|", "订单号：2024 0001|收货人：张三|地址：北京市朝阳区|"},
        TextCase{"REPLACE^3^=^^x",
                 "订单号：2024 0001[VBCRLF]收货人：张三[VBCRLF]地址：北京市朝阳区[VBCRLF]"},
        TextCase{"SET^3^=^12", ""}, TextCase{"SET^3^=^123", "123"}));

TEST(DecodeRules, MissingMarkerKeepsTheWholeWorkText) {
    EXPECT_EQ(third(QStringLiteral("MIDQN^3^=^电话")), kWhole);
    EXPECT_EQ(third(QStringLiteral("MIDHN^3^=^电话")), kWhole);
    EXPECT_EQ(third(QStringLiteral("MIDQNR^3^=^电话")), kWhole);
}

TEST(DecodeRules, LineBreaksTravelAsMarkersUntilARuleTurnsThemBack) {
    const QString back = third(QStringLiteral("REPLACE1310<^3^=^[VBCRLF]"));
    EXPECT_EQ(back, QStringLiteral("订单号：2024 0001\r\n收货人：张三\r\n地址：北京市朝阳区\r\n"));
    const QString there = third(
        rules({QStringLiteral("REPLACE1310<^O^=^[VBCRLF]"), QStringLiteral("REPLACE1310>^3^=^/")}));
    EXPECT_EQ(there, QStringLiteral("订单号：2024 0001/收货人：张三/地址：北京市朝阳区/"));
}

TEST(DecodeRules, StoreOperatorsAppendWithTheirSeparators) {
    const QString page = QStringLiteral("甲");
    EXPECT_EQ(third(rules({"SET^3^=^a", "SET^3^+^b"}), page), QStringLiteral("ab"));
    EXPECT_EQ(third(rules({"SET^3^=^a", "SET^3^*^b"}), page), QStringLiteral("a\r\nb"));
    EXPECT_EQ(third(rules({"SET^3^=^a", "SET^3^#、^b"}), page), QStringLiteral("a、b"));
    EXPECT_EQ(third(rules({"SET^3^=^a", "SET^3^#^b"}), page), QStringLiteral("ab"));
}

TEST(DecodeRules, TargetQChangesSourceAndWorkTextEachFromItsOwnValue) {
    const QStringList lines{"MIDHN^O^=^：", "SET^Q^+^!", "SET^3^=^S", "SET^4^=^O", "SETALL"};
    const QStringList record =
        recordFields(RunDecodeRules(QStringLiteral("键：值"), rules(lines), false).records)
            .value(0);
    EXPECT_EQ(record.value(3), QStringLiteral("键：值!"));
    EXPECT_EQ(record.value(4), QStringLiteral("值!"));
}

TEST(DecodeRules, RepeatedLeadingPlaceNameIsKeptOnce) {
    const QString page = QStringLiteral("北京市北京市朝阳区");
    EXPECT_EQ(third(rules({"SET^3^=^O", "REPLACECF^3^=^2"}), page), QStringLiteral("北京市朝阳区"));
    EXPECT_EQ(third(rules({"REPLACECF^O^=^2", "SET^3^=^O"}), page), QStringLiteral("北京市朝阳区"));
    // The repeated text does not end like a place name, or does not repeat at all.
    EXPECT_EQ(third(rules({"SET^3^=^张三张三先生", "REPLACECF^3^=^2"}), page),
              QStringLiteral("张三张三先生"));
    EXPECT_EQ(third(rules({"SET^3^=^上海市浦东新区", "REPLACECF^3^=^2"}), page),
              QStringLiteral("上海市浦东新区"));
    EXPECT_EQ(third(rules({"SET^3^=^重庆重庆渝中区", "REPLACECF^3^=^1"}), page),
              QStringLiteral("重庆渝中区"));
}

TEST(DecodeRules, ConditionsChooseTheNextLine) {
    const QString page = QStringLiteral("abc");
    // IF continues when the condition holds and jumps to its line otherwise.
    EXPECT_EQ(third(rules({"IF^3^=^abc", "SET^3^=^yes", "JUMP^4", "SET^3^=^no"}), page), "yes");
    EXPECT_EQ(third(rules({"IF^3^<!^x", "SET^3^=^yes", "JUMP^4", "SET^3^=^no"}), page), "no");
    EXPECT_EQ(third(rules({"IF^3^>!^xabcx", "SET^3^=^yes", "JUMP^4", "SET^3^=^no"}), page), "yes");
    EXPECT_EQ(third(rules({"IF^3^L<^3", "SET^3^=^yes", "JUMP^4", "SET^3^=^no"}), page), "no");
    EXPECT_EQ(third(rules({"IF^3^L>=^0", "SET^3^=^yes", "JUMP^4", "SET^3^=^no"}), page), "yes");
    // LOOP jumps when it holds; it has no length operators, so "L>=" stores an empty result.
    EXPECT_EQ(third(rules({"LOOP^3^<*^x", "SET^3^=^fell", "JUMP^4", "SET^3^=^looped"}), page),
              "looped");
    EXPECT_EQ(third(rules({"SET^2^=^keep", "LOOP^2^L>=^0", "SET^3^=^2"}), page), "keep>=");
    EXPECT_EQ(third(rules({"SET^3^=^old", "LOOP^3^=^x", "JUMP^4", "SET^3^=^lost"}), page), "old");
    EXPECT_EQ(third(rules({"SET^3^=^old", "IF^3^=^abc", "LOOP^3^L=^1"}), page), "old=");
}

TEST(DecodeRules, ALineThatRepeatsItselfEndsTheRun) {
    const DecodeResult result =
        RunDecodeRules(QStringLiteral("页"), rules({"SETALL", "LOOP^1^<>^x", "SETALL"}), false);
    EXPECT_EQ(recordFields(result.records).size(), 1);
    EXPECT_FALSE(result.cutShort);
}

TEST(DecodeRules, RunawayRulesStopWithinTheirBudget) {
    // Two lines that double the source text for ever, and two that bounce between each other.
    const DecodeResult doubling = RunDecodeRules(
        QStringLiteral("页面"), rules({"SETALL", "SET^S^+^S", "LOOP^1^<>^x"}), false);
    EXPECT_TRUE(doubling.cutShort);
    EXPECT_EQ(recordFields(doubling.records).size(), 1);
    const DecodeResult bouncing =
        RunDecodeRules(QStringLiteral("页面"), rules({"JUMP^1", "JUMP^0"}), false);
    EXPECT_TRUE(bouncing.cutShort);
}

TEST(DecodeRules, MalformedLinesAreSkipped) {
    const QString page = QStringLiteral("abc");
    EXPECT_EQ(third(rules({"SET^3^=^a", "SET^15^=^x", "SET^-1^=^x", "SET^三^=^x"}), page), "a");
    EXPECT_EQ(
        third(rules({"SET^3^=^a", "MID^3^=^a", "SET^3", "JUMP", "IF^^=^abc", "JUMP^x"}), page),
        "a");
    EXPECT_EQ(third(rules({"SET^3^=^a", "SET^3^=^99", "MIDQSL^3^=^x"}), page), "a");
    // An unknown command stores an empty result.
    EXPECT_EQ(third(rules({"SET^3^=^a", "NOSUCH^3^=^b"}), page), "");
    // A jump before the first or past the last line ends the run.
    EXPECT_TRUE(RunDecodeRules(page, rules({"JUMP^7", "SETALL"}), false).records.isEmpty());
    EXPECT_TRUE(RunDecodeRules(page, rules({"JUMP^-1", "SETALL"}), false).records.isEmpty());
    EXPECT_TRUE(RunDecodeRules(page, QString(), false).records.isEmpty());
    EXPECT_EQ(recordFields(RunDecodeRules(page, QStringLiteral("{|}SETALL"), false).records).size(),
              1);
}

TEST(DecodeRules, SetnullEmptiesARangeOfRegisters) {
    const QStringList lines{"SET^2^=^a", "SET^3^=^b",   "SET^4^=^c",    "SETNULL^2^3", "SETALL",
                            "SET^2^=^a", "SETNULL^3^2", "SETNULL^0^15", "SETALL"};
    const QList<QStringList> records =
        recordFields(RunDecodeRules(QStringLiteral("x"), rules(lines), false).records);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].mid(2, 3), (QStringList{"", "", "c"}));
    EXPECT_EQ(records[1].mid(2, 3), (QStringList{"a", "", "c"}));
}

TEST(DecodeRules, RecordsShareRegistersAndTrimTheirFields) {
    const QStringList lines{"SET^0^=^其他:我的id", "SET^1^=^ 12 34 ", "SET^3^=^  张 三  ", "SETALL",
                            "SET^1^=^5678",        "SETALL"};
    const QString records = RunDecodeRules(QStringLiteral("x"), rules(lines), false).records;
    EXPECT_EQ(records, QStringLiteral("{|D|}其他:我的id{|B|}1234{|B|}{|B|}张 三") +
                           QStringLiteral("{|B|}").repeated(11) +
                           QStringLiteral("{|D|}其他:我的id{|B|}5678{|B|}{|B|}张 三") +
                           QStringLiteral("{|B|}").repeated(11));
}

TEST(DecodeRules, FileLineBreaksMeanNothing) {
    const QString oneLine = QStringLiteral("MIDHN^Q^=^收货人：{|}MIDQN^3^=^[VBCRLF]{|}SETALL");
    const QString split =
        QStringLiteral("MIDHN^Q^=^收货\r\n人：{|\r\n}MIDQN^3^=^[VB\nCRLF]{|}SETALL\r\n");
    EXPECT_EQ(RunDecodeRules(kPage, split, false).records,
              RunDecodeRules(kPage, oneLine, false).records);
    EXPECT_EQ(third(oneLine.section(QStringLiteral("{|}"), 0, 1)), QStringLiteral("张三"));
}

TEST(DecodeRules, GoodsProgramRunsOnlyWithTheShippingListSetting) {
    const QString lines = rules({"SET^12^=^ 苹果 2 ", "SETALL^SETTO~1~=~O[|]SETTO~1~+~!"});
    const DecodeResult off = RunDecodeRules(QStringLiteral("x"), lines, false);
    EXPECT_EQ(recordFields(off.records).value(0).value(12), QStringLiteral("苹果 2"));
    const DecodeResult on = RunDecodeRules(QStringLiteral("x"), lines, true);
    // No article line came out, so the goods text stays (its record is trimmed).
    EXPECT_EQ(recordFields(on.records).value(0).value(12), QStringLiteral("苹果 2"));
    EXPECT_TRUE(on.goodsFallback);
    EXPECT_FALSE(off.goodsFallback);

    const QString emitting = rules({"SET^12^=^苹果", "SETALL^SETTO~1~=~a[|]SETBTOGOODS~1"});
    const DecodeResult reshaped = RunDecodeRules(QStringLiteral("x"), emitting, true);
    EXPECT_EQ(recordFields(reshaped.records).value(0).value(12), QStringLiteral("a"));
    EXPECT_FALSE(reshaped.goodsFallback);
}

} // namespace
