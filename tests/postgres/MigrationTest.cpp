#include "CliRun.h"
#include "TestPostgres.h"

#include "core/NumSign.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

using test::CliRun;
using test::runCli;

class MigrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.isRunning());
        ASSERT_TRUE(m_server.createDatabase(QStringLiteral("shared")));
    }

    QString stationFile() const { return m_dir.filePath(QStringLiteral("mlddsj.db")); }
    QString shared() const { return m_server.address(QStringLiteral("shared")); }

    std::unique_ptr<OrderDatabase> open(const StoreAddress& address) {
        QString message;
        auto database = OrderDatabase::open(address, &message);
        EXPECT_TRUE(database) << message.toStdString();
        return database;
    }
    std::unique_ptr<OrderDatabase> openShared() {
        return open(*StoreAddress::parseServer(shared()));
    }

    static Order order(const QString& sign, int djType = 0, const QString& hbDjId = {}) {
        Order o;
        o.orderSign = sign;
        o.numSign = numSignOf(sign);
        o.buyName = QStringLiteral("王'五");
        o.djType = djType;
        o.hbDjId = hbDjId;
        return o;
    }

    /** A station's store: a merge of two orders, a plain one, a profile and a courier. */
    void fillStation(const QString& lastName = QStringLiteral("赵六")) {
        auto station = open(StoreAddress::sqliteFile(stationFile()));
        OrderStore store(*station);
        OrderWriteRule rule;
        QList<Order> absorbed{order(QStringLiteral("淘宝:2"), -1),
                              order(QStringLiteral("淘宝:3"), -1)};
        ASSERT_TRUE(store.insert(absorbed, rule));
        QList<Order> target{
            order(QStringLiteral("淘宝:1234567890123456"), 2,
                  QStringLiteral("|%1|%2").arg(absorbed[0].id).arg(absorbed[1].id))};
        Order last = order(QStringLiteral("淘宝:9"));
        last.buyName = lastName;
        // What a field may hold that a bulk copy's row format would otherwise cut or change.
        last.buyGoods = QStringLiteral("衬衫\t1\r\n包\\N 2\n\\");
        target.append(last);
        ASSERT_TRUE(store.insert(target, rule));
        for (Order& o : absorbed)
            o.hbDjId = QString::number(target[0].id);
        ASSERT_TRUE(store.update(absorbed));
        QSqlQuery extra(station->connection());
        ASSERT_TRUE(extra.exec(QStringLiteral("update order_data set time_get = "
                                              "'2020-01-02 03:04:05' where id = %1")
                                   .arg(target[0].id)));
        ASSERT_TRUE(extra.exec(QStringLiteral("insert into my_data (my_idh) values ('淘宝:店')")));
        ASSERT_TRUE(extra.exec(
            QStringLiteral("insert into Delivery_list (Delivery_Name) values ('顺丰')")));
        ASSERT_TRUE(
            extra.exec(QStringLiteral("insert into captured_numbers (shop, order_sign) "
                                      "values ('淘宝:店', '淘宝:2'), ('淘宝:店', '淘宝:3')")));
    }

    CliRun migrate(const QString& from, const QString& to) {
        return runCli({QStringLiteral("db"), QStringLiteral("migrate"), QStringLiteral("--from"),
                       from, QStringLiteral("--to"), to});
    }

    /** The order table's indexes on the server, each as the statement that makes it. */
    QStringList sharedIndexes() {
        auto database = openShared();
        QSqlQuery query(database->connection());
        query.exec(QStringLiteral("select indexdef from pg_indexes where tablename = "
                                  "'order_data' order by indexname"));
        QStringList found;
        while (query.next())
            found.append(query.value(0).toString());
        return found;
    }

    int sharedCount(const QString& sql) {
        auto database = openShared();
        QSqlQuery query(database->connection());
        return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
    }

    test::TestPostgres m_server;
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(MigrationTest, CopiesAStationInOneGoKeepingItsMergesAndCopiesNothingTwice) {
    // Another station's order is there first, so the server hands out other ids.
    {
        auto database = openShared();
        QList<Order> first{order(QStringLiteral("京东:77"))};
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(first, rule));
    }
    fillStation();
    const QStringList indexes = sharedIndexes();
    const CliRun run = migrate(stationFile(), shared());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              QStringLiteral("已迁移：订单 4 条（服务器上已有、没有再复制的 0 条），"
                             "发件人 1 个，打印设置 0 行，快递公司 1 个，已提取记录 2 个。\n"));

    auto database = openShared();
    OrderStore store(*database);
    const Order merged =
        *store.byId(store.byOrderNumber(QStringLiteral("淘宝:1234567890123456")).front());
    EXPECT_EQ(merged.numSign, 1234567890123456.0);
    EXPECT_EQ(merged.timeGet, QStringLiteral("2020-01-02 03:04:05"));
    EXPECT_EQ(merged.djType, 2);
    const qint64 two = store.byOrderNumber(QStringLiteral("淘宝:2")).front();
    const qint64 three = store.byOrderNumber(QStringLiteral("淘宝:3")).front();
    EXPECT_EQ(merged.hbDjId, QStringLiteral("|%1|%2").arg(two).arg(three));
    EXPECT_EQ(store.byId(two)->hbDjId, QString::number(merged.id));
    EXPECT_EQ(store.byId(three)->buyName, QStringLiteral("王'五"));
    EXPECT_EQ(store.byId(store.byOrderNumber(QStringLiteral("淘宝:9")).front())->buyGoods,
              QStringLiteral("衬衫\t1\r\n包\\N 2\n\\"));
    EXPECT_EQ(sharedIndexes(), indexes);

    const CliRun again = migrate(stationFile(), shared());
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.out,
              QStringLiteral("已迁移：订单 0 条（服务器上已有、没有再复制的 4 条），"
                             "发件人 0 个，打印设置 0 行，快递公司 0 个，已提取记录 0 个。\n"));
    EXPECT_EQ(sharedCount(QStringLiteral("select count(*) from order_data")), 5);
}

TEST_F(MigrationTest, ARowTheServerRefusesLeavesTheServerAsItWas) {
    fillStation(QStringLiteral("坏"));
    const QStringList indexes = sharedIndexes();
    ASSERT_TRUE(m_server.psql(QStringLiteral("shared"),
                              QStringLiteral("alter table order_data add constraint no_bad "
                                             "check (buy_name <> '坏')")));
    const CliRun run = migrate(stationFile(), shared());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("迁移没有做成，服务器上什么也没有改动：")))
        << run.err.toStdString();
    EXPECT_EQ(sharedCount(QStringLiteral("select count(*) from order_data")), 0);
    EXPECT_EQ(sharedCount(QStringLiteral("select count(*) from my_data")), 0);
    EXPECT_EQ(sharedIndexes(), indexes);
}

TEST_F(MigrationTest, RefusesWhatItCannotCopy) {
    const QString missing = m_dir.filePath(QStringLiteral("nothing.db"));
    const CliRun noFile = migrate(missing, shared());
    EXPECT_EQ(noFile.exitCode, 1);
    EXPECT_TRUE(noFile.err.contains(QStringLiteral("没有找到要迁移的订单数据库")));
    EXPECT_FALSE(QFile::exists(missing));

    fillStation();
    EXPECT_EQ(migrate(stationFile(), m_dir.filePath(QStringLiteral("other.db"))).exitCode, 2);

    const CliRun wrongPassword =
        migrate(stationFile(), m_server.address(QStringLiteral("shared"), QStringLiteral("wrong")));
    EXPECT_EQ(wrongPassword.exitCode, 1);
    EXPECT_TRUE(wrongPassword.err.contains(QStringLiteral("用户名或密码不对")))
        << wrongPassword.err.toStdString();

    m_server.stop();
    const CliRun down = migrate(stationFile(), shared());
    EXPECT_EQ(down.exitCode, 1);
    EXPECT_TRUE(down.err.contains(QStringLiteral("连不上订单数据库服务器")))
        << down.err.toStdString();
}

// Hundreds of orders go many to a statement: merges that reach across those
// statements are renumbered, and the server's own numbering goes on after them.
TEST_F(MigrationTest, ManyOrdersKeepTheirMergesAcrossStatements) {
    {
        auto station = open(StoreAddress::sqliteFile(stationFile()));
        OrderStore store(*station);
        QList<Order> orders;
        for (int i = 0; i < 450; ++i)
            orders.append(order(QStringLiteral("淘宝:%1").arg(i)));
        OrderWriteRule rule;
        ASSERT_TRUE(store.insert(orders, rule));
        Order& target = orders[449];
        target.djType = 1;
        for (int i : {0, 1, 300}) {
            orders[i].djType = -1;
            orders[i].hbDjId = QString::number(target.id);
            target.hbDjId += u'|' + QString::number(orders[i].id);
        }
        ASSERT_TRUE(store.update({orders[0], orders[1], orders[300], target}));
    }
    const CliRun run = migrate(stationFile(), shared());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    auto database = openShared();
    OrderStore store(*database);
    const auto idOf = [&](int i) {
        return store.byOrderNumber(QStringLiteral("淘宝:%1").arg(i)).front();
    };
    EXPECT_EQ(store.byId(idOf(449))->hbDjId,
              QStringLiteral("|%1|%2|%3").arg(idOf(0)).arg(idOf(1)).arg(idOf(300)));
    EXPECT_EQ(store.byId(idOf(300))->hbDjId, QString::number(idOf(449)));
    EXPECT_EQ(store.byId(idOf(200))->hbDjId, QString());
    QList<Order> next{order(QStringLiteral("京东:1"))};
    OrderWriteRule rule;
    ASSERT_TRUE(store.insert(next, rule));
    EXPECT_GT(next[0].id, idOf(449));
    EXPECT_EQ(sharedCount(QStringLiteral("select count(*) from order_data")), 451);
}
