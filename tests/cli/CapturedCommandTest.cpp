#include "CliRun.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace mldd;

namespace {

using test::CliRun;
using test::runCli;

// The captured-number lists as a script sees and clears them.
class CapturedCommandTest : public ::testing::Test {
protected:
    CliRun cli(const QStringList& args) {
        return runCli(QStringList{QStringLiteral("--data"), m_dir.filePath(QStringLiteral("data"))} +
                      args);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CapturedCommandTest, ListsTheShopsAndClearsOneOrAll) {
    ASSERT_EQ(cli({QStringLiteral("captured"), QStringLiteral("list")}).out,
              QStringLiteral("没有已提取记录。\n"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(m_dir.filePath(QStringLiteral("data/mlddsj.db")))
                               .constData(),
                           &db),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "insert into captured_numbers values ('淘宝:墨岚小店', '淘宝:1'), "
                           "('淘宝:墨岚小店', '淘宝:2'), ('其他:b', '3')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    EXPECT_EQ(cli({QStringLiteral("captured"), QStringLiteral("list")}).out,
              QStringLiteral("其他:b\t1\n淘宝:墨岚小店\t2\n"));
    const CliRun cleared = cli({QStringLiteral("captured"), QStringLiteral("clear"),
                                QStringLiteral("--shop"), QStringLiteral("淘宝:墨岚小店")});
    EXPECT_EQ(cleared.exitCode, 0) << cleared.err.toStdString();
    EXPECT_EQ(cleared.out, QStringLiteral("已清空 淘宝:墨岚小店 的已提取记录，共2个订单号。\n"));
    EXPECT_EQ(cli({QStringLiteral("captured"), QStringLiteral("list")}).out,
              QStringLiteral("其他:b\t1\n"));

    // Clearing needs to be told what: one shop or all of them.
    EXPECT_EQ(cli({QStringLiteral("captured"), QStringLiteral("clear")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("captured"), QStringLiteral("clear"), QStringLiteral("--all")}).out,
              QStringLiteral("已清空所有店铺的已提取记录，共1个订单号。\n"));
}
