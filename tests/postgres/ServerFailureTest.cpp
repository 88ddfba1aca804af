#include "TestPostgres.h"

#include "core/MainState.h"
#include "core/NumSign.h"
#include "core/OrderStore.h"
#include "core/Startup.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

class ServerFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.isRunning());
        ASSERT_TRUE(m_server.createDatabase(QStringLiteral("shared")));
    }

    QString dataPath() const { return m_dir.filePath(QStringLiteral("data")); }

    StartupResult startAt(MainState& state) { return startUp(state, QString()); }

    static QList<Order> orders(const QString& sign) {
        Order o;
        o.orderSign = sign;
        o.numSign = numSignOf(sign);
        return {o};
    }

    test::TestPostgres m_server;
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ServerFailureTest, AStoreThatCannotBeUsedIsToldAndNothingIsWritten) {
    MainState wrongPassword(DataFolder(dataPath()),
                            m_server.address(QStringLiteral("shared"), QStringLiteral("wrong")));
    const StartupResult refused = startAt(wrongPassword);
    EXPECT_FALSE(refused.ok);
    ASSERT_TRUE(refused.failure);
    EXPECT_EQ(
        refused.failure->text,
        QStringLiteral("订单数据库服务器 postgresql://mldd@%1/shared 不让登录：用户名或密码不对。"
                       "\r\n请在设置里改正数据库地址和密码。")
            .arg(QString::fromUtf8(QUrl::toPercentEncoding(m_server.socketFolder()))));

    ASSERT_TRUE(m_server.createDatabase(QStringLiteral("books")));
    ASSERT_TRUE(
        m_server.psql(QStringLiteral("books"), QStringLiteral("create table ledger (entry text)")));
    MainState foreign(DataFolder(dataPath()), m_server.address(QStringLiteral("books")));
    const StartupResult other = startAt(foreign);
    ASSERT_TRUE(other.failure);
    EXPECT_TRUE(other.failure->text.contains(QStringLiteral("是别的程序的数据库，软件没有往里写")));
    EXPECT_FALSE(
        m_server.psql(QStringLiteral("books"), QStringLiteral("select 1 from order_data")));

    MainState missing(DataFolder(dataPath()), m_server.address(QStringLiteral("nosuch")));
    ASSERT_TRUE(startAt(missing).failure);

    m_server.stop();
    // The address may also come from the data folder's settings.
    QDir().mkpath(dataPath() + QStringLiteral("/set"));
    QFile settings(dataPath() + QStringLiteral("/set/database.dat"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(m_server.address(QStringLiteral("shared")).toUtf8() + "\r\n");
    settings.close();
    MainState down{DataFolder(dataPath())};
    const StartupResult unreachable = startAt(down);
    ASSERT_TRUE(unreachable.failure);
    EXPECT_TRUE(unreachable.failure->text.startsWith(QStringLiteral("连不上订单数据库服务器")))
        << unreachable.failure->text.toStdString();
    EXPECT_TRUE(unreachable.storeAddressOffer);
    EXPECT_FALSE(QFile::exists(dataPath() + QStringLiteral("/mlddsj.db")));

    // The seller clears the address: the station works on its own file again.
    EXPECT_TRUE(StoreAddress::checkChoice(QStringLiteral("mysql://shop")));
    EXPECT_FALSE(StoreAddress::checkChoice(QString()));
    ASSERT_TRUE(StoreAddress::saveChoice(down.folder, QString(), down.log));
    const StartupResult own = startAt(down);
    EXPECT_TRUE(own.ok);
    EXPECT_FALSE(down.database->isServer());
}

// A login the server gives no right to create tables is told as the server's refusal,
// not as a read-only folder.
TEST_F(ServerFailureTest, ALoginWithoutTheRightToCreateIsToldTheServerRefused) {
    ASSERT_TRUE(m_server.psql(QStringLiteral("shared"),
                              QStringLiteral("create role clerk login password 'secret'; "
                                             "revoke create on schema public from public")));
    QString address = m_server.address(QStringLiteral("shared"));
    address.replace(QStringLiteral("//mldd:"), QStringLiteral("//clerk:"));
    MainState clerk(DataFolder(dataPath()), address);
    const StartupResult refused = startAt(clerk);
    EXPECT_FALSE(refused.ok);
    ASSERT_TRUE(refused.failure);
    EXPECT_TRUE(refused.failure->text.contains(QStringLiteral("拒绝了这次写入")))
        << refused.failure->text.toStdString();
    EXPECT_FALSE(refused.failure->text.contains(QStringLiteral("是只读的")));
    EXPECT_FALSE(
        m_server.psql(QStringLiteral("shared"), QStringLiteral("select 1 from order_data")));
}

TEST_F(ServerFailureTest, ALostConnectionFailsTheBatchWholeAndTheNextOneReconnects) {
    MainState state(DataFolder(dataPath()), m_server.address(QStringLiteral("shared")));
    ASSERT_TRUE(startAt(state).ok);
    ASSERT_TRUE(state.database->isServer());
    OrderStore store(*state.database);
    OrderWriteRule rule;
    QList<Order> first = orders(QStringLiteral("淘宝:1"));
    ASSERT_TRUE(store.insert(first, rule));

    m_server.stop();
    ASSERT_TRUE(m_server.start());
    QList<Order> lost = orders(QStringLiteral("淘宝:2"));
    QString error;
    EXPECT_FALSE(store.insert(lost, rule, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("和订单数据库服务器"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("的连接断了，这次没有保存。")));

    QList<Order> next = orders(QStringLiteral("淘宝:3"));
    ASSERT_TRUE(store.insert(next, rule)) << state.database->failureText().toStdString();
    QStringList signs;
    for (const Order& o : store.byIds(QList<qint64>{first[0].id, next[0].id}))
        signs.append(o.orderSign);
    EXPECT_EQ(signs, (QStringList{QStringLiteral("淘宝:1"), QStringLiteral("淘宝:3")}));
    EXPECT_EQ(store.allById().size(), 2u);
}
