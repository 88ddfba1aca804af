#include "CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;
using test::CliRun;

namespace {

class ProfileCommandTest : public ::testing::Test {
protected:
    CliRun profile(const QStringList& args) {
        return test::runCli(QStringList{QStringLiteral("--data"),
                                        m_dir.path() + QStringLiteral("/data"),
                                        QStringLiteral("profile")} +
                            args);
    }

    QTemporaryDir m_dir;
};

TEST_F(ProfileCommandTest, SaveListDeleteRoundTrip) {
    const CliRun saved =
        profile({QStringLiteral("save"), QStringLiteral("--market"), QStringLiteral("拍拍"),
                 QStringLiteral("--id"), QStringLiteral("abc"), QStringLiteral("--address"),
                 QStringLiteral("朝阳区建国路1号"), QStringLiteral("--name"),
                 QStringLiteral("张三"), QStringLiteral("--phone1"), QStringLiteral("13800000000"),
                 QStringLiteral("--province"), QStringLiteral("北京")});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_EQ(profile({QStringLiteral("list")}).out,
              QStringLiteral("拍拍:abc\t张三\t13800000000\t\t\t北京朝阳区建国路1号\t\n"));

    const CliRun json = profile({QStringLiteral("list"), QStringLiteral("--json")});
    const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][QStringLiteral("my_idh")].toString(), QStringLiteral("拍拍:abc"));
    EXPECT_EQ(rows[0][QStringLiteral("my_fjr")].toString(), QStringLiteral("张三"));
    EXPECT_EQ(rows[0][QStringLiteral("my_address_sheng")].toString(), QStringLiteral("北京"));

    const CliRun wrongId =
        profile({QStringLiteral("delete"), QStringLiteral("--id"), QStringLiteral("abc")});
    EXPECT_EQ(wrongId.exitCode, 1);
    EXPECT_TRUE(wrongId.err.contains(QStringLiteral("没有这个发件人：abc")));
    EXPECT_EQ(profile({QStringLiteral("delete"), QStringLiteral("--market"), QStringLiteral("拍拍"),
                       QStringLiteral("--id"), QStringLiteral("abc")})
                  .exitCode,
              0);
    EXPECT_EQ(profile({QStringLiteral("list")}).out, QString());
}

TEST_F(ProfileCommandTest, RefusalsAndUsageErrors) {
    const CliRun blank =
        profile({QStringLiteral("save"), QStringLiteral("--id"), QStringLiteral("a"),
                 QStringLiteral("--address"), QStringLiteral(" ")});
    EXPECT_EQ(blank.exitCode, 1);
    EXPECT_TRUE(blank.err.contains(QStringLiteral("不能为空")));

    for (const QStringList& args :
         {QStringList{}, QStringList{QStringLiteral("frob")},
          QStringList{QStringLiteral("save"), QStringLiteral("--id"), QStringLiteral("a")},
          QStringList{QStringLiteral("save"), QStringLiteral("--id"), QStringLiteral("a"),
                      QStringLiteral("--address"), QStringLiteral("b"), QStringLiteral("--market"),
                      QStringLiteral("天猫")},
          QStringList{QStringLiteral("delete"), QStringLiteral("--id"), QStringLiteral("a"),
                      QStringLiteral("--name"), QStringLiteral("b")},
          QStringList{QStringLiteral("list"), QStringLiteral("extra")},
          QStringList{QStringLiteral("list"), QStringLiteral("--id")}}) {
        EXPECT_EQ(profile(args).exitCode, 2) << args.join(u' ').toStdString();
    }
}

} // namespace
