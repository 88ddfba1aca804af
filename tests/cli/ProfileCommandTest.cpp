#include "CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;
using namespace Qt::StringLiterals;
using test::CliRun;

namespace {

class ProfileCommandTest : public ::testing::Test {
protected:
    CliRun profile(const QStringList& args) {
        return test::runCli(QStringList{u"--data"_s, m_dir.path() + u"/data"_s, u"profile"_s} +
                            args);
    }

    QTemporaryDir m_dir;
};

TEST_F(ProfileCommandTest, SaveListDeleteRoundTrip) {
    const CliRun saved = profile({u"save"_s, u"--market"_s, u"拼多多"_s, u"--id"_s, u"abc"_s,
                                  u"--address"_s, u"朝阳区建国路1号"_s, u"--name"_s, u"张三"_s,
                                  u"--phone1"_s, u"13800000000"_s, u"--province"_s, u"北京"_s});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_EQ(profile({u"list"_s}).out,
              u"拼多多:abc\t张三\t13800000000\t\t\t北京朝阳区建国路1号\t\n"_s);

    const CliRun json = profile({u"list"_s, u"--json"_s});
    const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][u"my_idh"_s].toString(), u"拼多多:abc"_s);
    EXPECT_EQ(rows[0][u"my_fjr"_s].toString(), u"张三"_s);
    EXPECT_EQ(rows[0][u"my_address_sheng"_s].toString(), u"北京"_s);

    const CliRun wrongId = profile({u"delete"_s, u"--id"_s, u"abc"_s});
    EXPECT_EQ(wrongId.exitCode, 1);
    EXPECT_TRUE(wrongId.err.contains(u"没有这个发件人：abc"_s));
    EXPECT_EQ(profile({u"delete"_s, u"--market"_s, u"拼多多"_s, u"--id"_s, u"abc"_s}).exitCode, 0);
    EXPECT_EQ(profile({u"list"_s}).out, QString());
}

// The sender window keeps the whole address beside its parts; a municipality's city repeats its
// province. Either way each place is listed once.
TEST_F(ProfileCommandTest, EachPlaceOfASendersAddressIsListedOnce) {
    ASSERT_EQ(profile({u"save"_s, u"--id"_s, u"a"_s, u"--address"_s,
                       u"浙江省杭州市西湖区文三路100号"_s, u"--province"_s, u"浙江省"_s,
                       u"--city"_s, u"杭州市"_s, u"--county"_s, u"西湖区"_s})
                  .exitCode,
              0);
    ASSERT_EQ(
        profile({u"save"_s, u"--id"_s, u"b"_s, u"--address"_s, u"漕溪北路88号"_s, u"--province"_s,
                 u"上海市"_s, u"--city"_s, u"上海市"_s, u"--county"_s, u"徐汇区"_s})
            .exitCode,
        0);
    EXPECT_EQ(profile({u"list"_s}).out, u"a\t\t\t\t\t浙江省杭州市西湖区文三路100号\t\n"
                                        u"b\t\t\t\t\t上海市徐汇区漕溪北路88号\t\n"_s);
}

// A tab, a line break or another control character in a field never splits a profile's line.
TEST_F(ProfileCommandTest, ControlCharactersAreListedAsEscapesOnOneLine) {
    ASSERT_EQ(profile({u"save"_s, u"--id"_s, u"a"_s, u"--address"_s, u"文三路\t100号\r\n二楼"_s,
                       u"--name"_s, u"王\\小\x01明"_s})
                  .exitCode,
              0);
    EXPECT_EQ(profile({u"list"_s}).out,
              u"a\t王\\\\小\\x01明\t\t\t\t文三路\\t100号\\r\\n二楼\t\n"_s);
}

TEST_F(ProfileCommandTest, RefusalsAndUsageErrors) {
    const CliRun blank = profile({u"save"_s, u"--id"_s, u"a"_s, u"--address"_s, u" "_s});
    EXPECT_EQ(blank.exitCode, 1);
    EXPECT_TRUE(blank.err.contains(u"不能为空"_s));

    for (const QStringList& args :
         {QStringList{}, QStringList{u"frob"_s}, QStringList{u"save"_s, u"--id"_s, u"a"_s},
          QStringList{u"save"_s, u"--id"_s, u"a"_s, u"--address"_s, u"b"_s, u"--market"_s,
                      u"拍拍"_s},
          QStringList{u"delete"_s, u"--id"_s, u"a"_s, u"--name"_s, u"b"_s},
          QStringList{u"list"_s, u"extra"_s}, QStringList{u"list"_s, u"--id"_s}}) {
        EXPECT_EQ(profile(args).exitCode, 2) << args.join(u' ').toStdString();
    }
}

} // namespace
