#include "core/NumSign.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(MLDD_CLI), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

class OrdersCommandTest : public ::testing::Test {
protected:
    QString dataPath() const { return m_dir.path() + QStringLiteral("/data"); }

    CliRun orders(QStringList args) {
        return runCli(QStringList{QStringLiteral("--data"), dataPath(), QStringLiteral("orders")} +
                      args);
    }

    void storeOrders(int count, int printed) {
        QString message;
        auto database = OrderDatabase::open(dataPath() + QStringLiteral("/mlddsj.db"), &message);
        ASSERT_TRUE(database) << message.toStdString();
        QList<Order> batch(count);
        for (int i = 0; i < count; ++i) {
            batch[i].orderSign = QStringLiteral("淘宝:%1").arg(1000 + i);
            batch[i].numSign = numSignOf(batch[i].orderSign);
            batch[i].buyName = QStringLiteral("王'五");
            batch[i].kdSign = i < printed ? 1 : 0;
        }
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(batch, rule));
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(OrdersCommandTest, AFreshDataFolderShowsAnEmptyFirstPage) {
    const CliRun run = orders({});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("筛选:所有的快递单未打印的订单  总计0条 共0页 第1页\n"));
    EXPECT_TRUE(QFile::exists(dataPath() + QStringLiteral("/mlddsj.db")));
}

TEST_F(OrdersCommandTest, ListsTheChosenStateAndPage) {
    storeOrders(25, 3);
    const CliRun text = orders({});
    EXPECT_EQ(text.exitCode, 0);
    const QStringList lines = text.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], QStringLiteral("筛选:所有的快递单未打印的订单  总计22条 共3页 第1页"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\t淘宝:1024\t王'五\t")));

    const CliRun json = orders({"--state", "所有", "--page", "3", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject page = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(page.value("information").toString(),
              QStringLiteral("筛选:所有订单  总计25条 共3页 第3页"));
    const QJsonArray rows = page.value("orders").toArray();
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows.at(0).toObject().value("order_sign").toString(), QStringLiteral("淘宝:1004"));
    EXPECT_EQ(rows.at(4).toObject().value("kd_sign").toInt(), 1);
}

TEST_F(OrdersCommandTest, BadArgumentsAreUsageErrorsAndMissingPagesFailures) {
    EXPECT_EQ(orders({"--state", "没有的状态"}).exitCode, 2);
    EXPECT_EQ(orders({"--page", "x"}).exitCode, 2);
    EXPECT_EQ(orders({"--page"}).exitCode, 2);
    EXPECT_EQ(runCli({"no-such-command"}).exitCode, 2);
    storeOrders(3, 0);
    const CliRun missing = orders({"--page", "2"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains(QStringLiteral("没有第2页"))) << missing.err.toStdString();
}

TEST_F(OrdersCommandTest, AFileThatIsNoDatabaseFailsAndStaysAsItWas) {
    QDir().mkpath(dataPath());
    QFile file(dataPath() + QStringLiteral("/mlddsj.db"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not sqlite");
    file.close();
    const CliRun run = orders({});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("不是数据库")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not sqlite"));
}
