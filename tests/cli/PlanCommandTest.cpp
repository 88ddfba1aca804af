#include "CliRun.h"

#include "address/ExpressPlan.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"
#include "core/PrintSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

TEST(PlanCommand, SetsEveryProvinceThenTheNamedOnesAndFillsMissingCouriers) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(data + QStringLiteral("/Delivery"));
    for (const char* name : {"圆通", "顺丰"})
        QFile(data + QStringLiteral("/Delivery/%1.mlg").arg(QString::fromUtf8(name)))
            .open(QIODevice::WriteOnly);
    {
        QString message;
        auto database = OrderDatabase::open(data + QStringLiteral("/mlddsj.db"), &message);
        QList<Order> orders(1);
        orders[0].buyAddressSheng = QStringLiteral("广东省");
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(orders, rule));
    }

    EXPECT_EQ(test::runCli({"--data", data, "plan", "圆通", "火星=顺丰"}).exitCode, 2);
    const test::CliRun run =
        test::runCli({"--data", data, "plan", "--province-only", "圆通", "广东=顺丰"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("快递方案已保存，补上快递单据的订单1个。\n"));

    QString message;
    auto database = OrderDatabase::open(data + QStringLiteral("/mlddsj.db"), &message);
    QSqlDatabase db = database->connection();
    const ExpressPlan plan =
        ExpressPlan::fromText(PrintSettings::load(db, ErrorLog(dir.filePath("ERR.TXT"))).selectKD);
    EXPECT_FALSE(plan.messagesFirst());
    EXPECT_EQ(plan.items.size(), 1 + 2 * 34);
    EXPECT_EQ(OrderStore(*database).byId(1)->delivery, QStringLiteral("顺丰"));
}
