#include "core/MaskedReceiver.h"
#include "core/Order.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace mldd;

TEST(MaskedReceiver, PlatformMaskingIsSeenVirtualNumbersAreNot) {
    for (const char* masked :
         {"林**", "183****2807", "****", "*", "广东省深圳市南山区****", "张＊＊"})
        EXPECT_TRUE(MaskedReceiver::isMasked(QString::fromUtf8(masked))) << masked;
    for (const char* whole : {"林晓东", "18312342807", "13212345774-1234", "13212345774转1234",
                              "广东省深圳市南山区科技园1栋#101", ""})
        EXPECT_FALSE(MaskedReceiver::isMasked(QString::fromUtf8(whole))) << whole;

    Order order;
    order.buyName = QStringLiteral("林晓东");
    order.buyPhone1 = QStringLiteral("18312342807");
    order.buyAddress = QStringLiteral("广东省深圳市南山区科技园");
    EXPECT_FALSE(MaskedReceiver::isMasked(order));
    order.buyPhone2 = QStringLiteral("183****2807");
    EXPECT_TRUE(MaskedReceiver::isMasked(order));
    order.buyPhone2.clear();
    order.buyGoods = QStringLiteral("星号**礼盒"); // goods are never a receiver
    EXPECT_FALSE(MaskedReceiver::isMasked(order));
}

TEST(MaskedReceiver, ListConditionKeepsTheOrdersTheCheckCallsMasked) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "masked");
    db.setDatabaseName(QStringLiteral(":memory:"));
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec("create table order_data (id integer primary key, buy_name text, "
                           "buy_phone1 text, buy_phone2 text, buy_address text, buy_goods text)"));
    const QList<QStringList> rows{
        {"林晓东", "18312342807", "", "广东省深圳市", "帆布包"},
        {"林**", "18312342807", "", "广东省深圳市", "帆布包"},
        {"王芳", "183****2807", "", "广东省深圳市", "帆布包"},
        {"王芳", "18312342807", "0755-1234＊", "广东省深圳市", "帆布包"},
        {"王芳", "18312342807", "", "****", "帆布包"},
        {"王芳", "13212345774-1234", "", "广东省深圳市", "星号**礼盒"},
    };
    for (const QStringList& row : rows) {
        query.prepare("insert into order_data (buy_name, buy_phone1, buy_phone2, buy_address, "
                      "buy_goods) values (?, ?, ?, ?, ?)");
        for (const QString& value : row)
            query.addBindValue(value);
        ASSERT_TRUE(query.exec());
    }
    const SqlCondition condition = MaskedReceiver::condition();
    query.prepare("select id from order_data where 1 = 1" + condition.sql + " order by id");
    for (const QVariant& value : condition.values)
        query.addBindValue(value);
    ASSERT_TRUE(query.exec());
    QList<qint64> ids;
    while (query.next())
        ids.append(query.value(0).toLongLong());
    EXPECT_EQ(ids, (QList<qint64>{2, 3, 4, 5}));
    query.finish();
    db.close();
}
