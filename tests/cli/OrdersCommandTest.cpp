#include "CliRun.h"
#include "SearchAgreement.h"

#include "core/NumSign.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

using test::CliRun;
using test::runCli;

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

// A script searches as the window's search box does: the field by its caption, any part
// of it, the print-state filter set aside; a field the box lacks is a usage error.
TEST_F(OrdersCommandTest, SearchesAFieldAsTheSearchBoxDoes) {
    storeOrders(25, 5);
    {
        QString message;
        auto database = OrderDatabase::open(dataPath() + QStringLiteral("/mlddsj.db"), &message);
        QList<Order> more(2);
        more[0].orderSign = QStringLiteral("淘宝:2001");
        more[0].buyGoods = QStringLiteral("羊毛衫 1 128.00\r\n围巾 1 30");
        more[1].orderSign = QStringLiteral("淘宝:2002");
        more[1].buyAddressShi = QStringLiteral("杭州市");
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(more, rule));
    }
    const CliRun goods = orders({"--search", "商品内容=羊毛"});
    ASSERT_EQ(goods.exitCode, 0) << goods.err.toStdString();
    const QStringList lines = goods.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("[商品内容]含[羊毛]  总计1条 共1页 第1页"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("淘宝:2001")));

    const CliRun names = orders({"--search", "买家姓名=王", "--json"});
    ASSERT_EQ(names.exitCode, 0) << names.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(names.out.toUtf8()).object().value("information"),
              QStringLiteral("[买家姓名]含[王]  总计25条 共3页 第1页"));
    EXPECT_TRUE(orders({"--search", "买家地址=杭州"}).out.contains(QStringLiteral("淘宝:2002")));

    const CliRun unknown = orders({"--search", "颜色=红"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("买家姓名"))) << unknown.err.toStdString();
    EXPECT_EQ(orders({"--search", "买家姓名"}).exitCode, 2);
    EXPECT_EQ(orders({"--search", "买家姓名=王", "--state", "所有"}).exitCode, 2);
}

// Orders another program wrote go into the search index once, at the start, with its
// progress told; a start killed during it goes on from the last step, and the index then
// finds what reading every order finds.
TEST_F(OrdersCommandTest, AKilledIndexCatchUpGoesOnAtTheNextStart) {
    constexpr int kOrders = 160'000;
    {
        QString message;
        auto database = OrderDatabase::open(dataPath() + QStringLiteral("/mlddsj.db"), &message);
        ASSERT_TRUE(database) << message.toStdString();
        QSqlQuery query(database->connection());
        ASSERT_TRUE(query.exec(
            QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n "
                           "where i < %1) insert into order_data (order_sign, NumSign, buy_id, "
                           "buy_name, buy_phone1, buy_address, buy_goods, dj_type, kd_sign) "
                           "select '淘宝:' || (900000 + i), 900000 + i, 'Buyer' || (i % 977), "
                           "substr('王李张刘陈', i % 5 + 1, 1) || substr('明军小红丽建国', i % 6 "
                           "+ 1, 2), '138' || printf('%08d', i * 7919 % 100000000), '文三路' || "
                           "(i % 500) || '号', '羊毛衫 ' || (i % 13) || ' 件', 0, 0 from n")
                .arg(kOrders)))
            << query.lastError().text().toStdString();
    }
    // The first start is killed once its first step has landed.
    QProcess first;
    first.setReadChannel(QProcess::StandardError);
    first.start(QStringLiteral(MLDD_CLI),
                {QStringLiteral("--data"), dataPath(), QStringLiteral("orders")});
    ASSERT_TRUE(first.waitForStarted());
    QString told;
    while (!told.contains(QStringLiteral("50000 /")) && first.waitForReadyRead(60000))
        told += QString::fromUtf8(first.readAllStandardError());
    first.kill();
    first.waitForFinished();
    EXPECT_TRUE(told.startsWith(QStringLiteral("正在建立搜索索引：0 / %1").arg(kOrders)))
        << told.toStdString();

    const CliRun second = orders({"--search", "买家姓名=王明"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    const QStringList progress = second.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(progress.isEmpty());
    const qint64 left = progress.first().section(u'/', 1).trimmed().toLongLong();
    EXPECT_GT(left, 0);
    EXPECT_LE(left, kOrders - 50'000) << progress.first().toStdString();
    EXPECT_EQ(progress.last(), QStringLiteral("正在建立搜索索引：%1 / %1").arg(left));
    EXPECT_TRUE(
        second.out.startsWith(QStringLiteral("[买家姓名]含[王明]  总计%1条").arg(kOrders / 30)))
        << second.out.left(80).toStdString();

    QString message;
    auto database = OrderDatabase::open(dataPath() + QStringLiteral("/mlddsj.db"), &message);
    ASSERT_TRUE(database) << message.toStdString();
    test::expectIndexAgreesWithScan(*database, "after the killed catch-up", 9, 6);
    // Nothing left to take in: the next start tells nothing.
    EXPECT_TRUE(orders({}).err.isEmpty());
}
