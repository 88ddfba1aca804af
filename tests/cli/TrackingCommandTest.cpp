#include "CliRun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace mldd;

namespace {

using test::CliRun;
using test::runCli;

// Tracking numbers for many orders from a script: a courier's file, a run of forms.
class TrackingCommandTest : public ::testing::Test {
protected:
    CliRun cli(const QStringList& args) {
        return runCli(
            QStringList{QStringLiteral("--data"), m_dir.filePath(QStringLiteral("data"))} + args);
    }

    // Runs SQL on the store; the first column of the result rows joined by "|".
    QString sql(const char* statement) {
        sqlite3* db = nullptr;
        EXPECT_EQ(
            sqlite3_open(
                QFile::encodeName(m_dir.filePath(QStringLiteral("data/mlddsj.db"))).constData(),
                &db),
            SQLITE_OK);
        QStringList rows;
        EXPECT_EQ(sqlite3_exec(
                      db, statement,
                      [](void* out, int, char** values, char**) {
                          static_cast<QStringList*>(out)->append(
                              QString::fromUtf8(values[0] ? values[0] : ""));
                          return 0;
                      },
                      &rows, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
        return rows.join(u'|');
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(TrackingCommandTest, ACourierFileAndARunOfForms) {
    ASSERT_EQ(cli({QStringLiteral("orders")}).exitCode, 0); // makes the store
    sql("insert into order_data (order_sign, delivery, dj_type, kd_sign, fh_sign, wuliu_code) "
        "values ('淘宝:1', '圆通', 0, 0, 0, ''), ('淘宝:2', '顺丰', 0, 0, 0, ''), "
        "('淘宝:3', '圆通', 0, 0, 0, '')");
    const QString file = m_dir.filePath(QStringLiteral("sf.csv"));
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("订单号,运单号\r\n2,123456789012\r\n");
    csv.close();
    const CliRun imported =
        cli({QStringLiteral("tracking"), QStringLiteral("import"), QStringLiteral("--file"), file});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out, QStringLiteral("已导入1个运单号。\n"));

    const CliRun run =
        cli({QStringLiteral("tracking"), QStringLiteral("run"), QStringLiteral("--from"),
             QStringLiteral("4021937465"), QStringLiteral("--ids"), QStringLiteral("3,2,1")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("已连号填写2个圆通的运单号。\n"));
    EXPECT_EQ(sql("select wuliu_code from order_data order by id"),
              QStringLiteral("4021937466|123456789012|4021937465"));

    const CliRun refused =
        cli({QStringLiteral("tracking"), QStringLiteral("run"), QStringLiteral("--from"),
             QStringLiteral("1"), QStringLiteral("--ids"), QStringLiteral("2")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, QStringLiteral("顺丰的运单不是连号的，请逐个扫描或输入运单号。\n"));
    EXPECT_EQ(cli({QStringLiteral("tracking"), QStringLiteral("run"), QStringLiteral("--ids"),
                   QStringLiteral("x")})
                  .exitCode,
              2);
}
