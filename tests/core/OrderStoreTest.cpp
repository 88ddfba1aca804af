#include "TempDataFolder.h"

#include "core/NumSign.h"
#include "core/OrderCursor.h"
#include "core/OrderDatabase.h"
#include "core/OrderFilter.h"
#include "core/OrderStore.h"

#include <QSqlQuery>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

class OrderStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString message;
        m_database = OrderDatabase::open(m_data.folder().databasePath(), &message);
        ASSERT_TRUE(m_database) << message.toStdString();
    }

    OrderStore store() { return OrderStore(*m_database); }

    QList<qint64> store(QList<Order> orders) {
        OrderWriteRule rule;
        EXPECT_TRUE(store().insert(orders, rule));
        QList<qint64> ids;
        for (const Order& order : orders)
            ids.append(order.id);
        return ids;
    }

    static Order order(const QString& sign, const QString& name = QStringLiteral("李四")) {
        Order o;
        o.orderSign = sign;
        o.numSign = numSignOf(sign);
        o.buyName = name;
        return o;
    }

    void takenDaysAgo(qint64 id, int days) {
        QSqlQuery age(m_database->connection());
        age.prepare(QStringLiteral("update order_data set time_get = "
                                   "datetime('now', 'localtime', ?) where id = ?"));
        age.addBindValue(QStringLiteral("-%1 days").arg(days));
        age.addBindValue(id);
        EXPECT_TRUE(age.exec());
    }

    QList<QString> signsOf(const std::vector<qint64>& ids) {
        QList<QString> signs;
        for (const Order& o : store().byIds(QList<qint64>(ids.begin(), ids.end())))
            signs.append(o.orderSign);
        return signs;
    }

    test::TempDataFolder m_data;
    std::unique_ptr<OrderDatabase> m_database;
};

} // namespace

TEST(OrderWriteRule, FiftyCharactersFitAndFiftyOneAreRefusedWithAComplaint) {
    Order order;
    order.buyName = QString(50, QChar(u'张'));
    order.buyId = QString(51, u'a');
    order.buyAddress = QString(255, u'路');
    OrderWriteRule rule;
    rule.apply(order);
    EXPECT_EQ(order.buyName.size(), 50);
    EXPECT_TRUE(order.buyId.isEmpty());
    EXPECT_EQ(order.buyAddress.size(), 255);
    EXPECT_EQ(rule.errors(), QStringLiteral("\r\n[buy_id]超长51"));

    Order second;
    second.buyName = QString(51, QChar(u'张'));
    second.buyAddress = QString(256, u'x');
    rule.apply(second);
    EXPECT_TRUE(second.buyName.isEmpty());
    EXPECT_TRUE(second.buyAddress.isEmpty());
    EXPECT_EQ(rule.errors(),
              QStringLiteral("\r\n[buy_id]超长51\r\n[buy_name]超长51\r\n[buy_address]超长256"));
}

TEST(NumSign, KeepsTheDigitsInOrder) {
    EXPECT_EQ(numSignOf(QStringLiteral("淘宝:AB12-34")), 1234.0);
    EXPECT_EQ(numSignOf(QStringLiteral("拍拍:0077")), 77.0);
    EXPECT_FALSE(numSignOf(QStringLiteral("淘宝:无编号")));
    EXPECT_FALSE(numSignOf(QString(400, u'9'))); // too large to be a number
    // Full-width digits are not the digits 0-9.
    EXPECT_FALSE(numSignOf(QStringLiteral("１２３")));
    EXPECT_EQ(numSignOf(QStringLiteral("no digits"), QStringLiteral("淘宝:5")), 5.0);
    EXPECT_EQ(numSignOf(QStringLiteral("页面12"), QStringLiteral("淘宝:5")), 12.0);
}

TEST_F(OrderStoreTest, ListsNewestNumberFirstAndOrdersWithoutDigitsLast) {
    store({order(QStringLiteral("淘宝:无编号")), order(QStringLiteral("淘宝:9-1")),
           order(QStringLiteral("拍拍:100")), order(QStringLiteral("淘宝:2"))});
    EXPECT_EQ(signsOf(store().listed({})),
              (QList<QString>{"拍拍:100", "淘宝:9-1", "淘宝:2", "淘宝:无编号"}));
}

TEST_F(OrderStoreTest, QuotesAndWildcardsAreStoredAndMatchedLiterally) {
    const QString tricky = QStringLiteral("O'Brien%_ ' or 1=1 --");
    store({order(QStringLiteral("淘宝:1"), tricky), order(QStringLiteral("淘宝:2"), "OBrienXY")});
    const auto found = store().byReceiverName(tricky);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(store().byId(found.front())->buyName, tricky);

    const OrderFilter byCourier =
        OrderFilter::fromLists(OrderFilter::kAll, QStringLiteral("%'"), OrderFilter::kAll);
    EXPECT_TRUE(store().listed(byCourier.condition).empty());
    EXPECT_EQ(store()
                  .listed(OrderFilter::fromLists(QStringLiteral("x' or '1'='1"), OrderFilter::kAll,
                                                 OrderFilter::kAll)
                              .condition)
                  .size(),
              0u);
}

TEST_F(OrderStoreTest, AFailedBatchStoresNothing) {
    store({order(QStringLiteral("淘宝:1"))});
    QSqlQuery(m_database->connection())
        .exec(
            QStringLiteral("create trigger refuse before insert on order_data "
                           "when new.buy_name = 'bad' begin select raise(abort, 'refused'); end"));
    QList<Order> batch{order(QStringLiteral("淘宝:2")), order(QStringLiteral("淘宝:3"), "bad")};
    OrderWriteRule rule;
    QString error;
    EXPECT_FALSE(store().insert(batch, rule, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("refused")));
    EXPECT_EQ(store().allById().size(), 1u);
}

TEST_F(OrderStoreTest, AbsorbedOrdersNeverShowAndStatesFilterTheList) {
    QList<Order> orders;
    for (int i = 1; i <= 6; ++i)
        orders.append(order(QStringLiteral("淘宝:%1").arg(i)));
    orders[0].djType = -1;
    orders[1].kdSign = 1;
    orders[2].kdSign = 1;
    orders[2].fhSign = 1;
    orders[3].fhSign = 1;
    orders[4].kdSign = 1;
    orders[4].kdCode = QStringLiteral("YT1");
    store(orders);

    const auto count = [&](const QString& state) {
        return store()
            .listed(OrderFilter::fromLists(OrderFilter::kAll, OrderFilter::kAll, state).condition)
            .size();
    };
    EXPECT_EQ(count(QStringLiteral("所有")), 5u);
    EXPECT_EQ(count(QStringLiteral("快递单未打")), 2u);
    EXPECT_EQ(count(QStringLiteral("快递单已打")), 3u);
    EXPECT_EQ(count(QStringLiteral("待发货订单")), 1u);
    EXPECT_EQ(count(QStringLiteral("两单均已打")), 1u);
    EXPECT_EQ(count(QStringLiteral("两单均未打")), 1u);
    EXPECT_EQ(store().absorbed().size(), 1u);
}

TEST_F(OrderStoreTest, LookUpsOfCaptureAndCourierFilling) {
    Order a = order(QStringLiteral("淘宝:10"));
    a.myId = QStringLiteral("淘宝:店主");
    a.delivery = QStringLiteral("   ");
    Order b = order(QStringLiteral("淘宝:11"));
    b.delivery = QStringLiteral("圆通");
    Order printed = order(QStringLiteral("淘宝:12"));
    printed.myId = a.myId;
    printed.kdSign = 1;
    printed.delivery = QStringLiteral("申通");
    const QList<qint64> ids = store({a, b, printed});

    EXPECT_EQ(store().byOrderNumber(QStringLiteral("淘宝:11")), std::vector<qint64>{ids[1]});
    EXPECT_EQ(store().withoutCourier(), std::vector<qint64>{ids[0]});
    EXPECT_TRUE(store().olderThan(1).empty());
    EXPECT_EQ(store().olderThan(0).size(), 3u);
}

TEST_F(OrderStoreTest, DeletingByAgeCountsCalendarDays) {
    const QList<qint64> ids = store({order("淘宝:1"), order("淘宝:2"), order("淘宝:3")});
    takenDaysAgo(ids[0], 3);
    takenDaysAgo(ids[1], 2);
    EXPECT_EQ(store().olderThan(2), (std::vector<qint64>{ids[0], ids[1]}));
    EXPECT_EQ(store().deleteOlderThan(3), 1);
    EXPECT_EQ(store().allById(), (std::vector<qint64>{ids[1], ids[2]}));
}

// Most of the store goes: the order indexes are built again over the rest, and
// must come back exactly, or every later list reads the whole table.
TEST_F(OrderStoreTest, DeletingMostOrdersKeepsTheRestAndEveryIndex) {
    const auto indexes = [&] {
        QSqlQuery query(QStringLiteral("select name, sql from sqlite_master where type = 'index' "
                                       "and tbl_name = 'order_data' order by name"),
                        m_database->connection());
        QStringList made;
        while (query.next())
            made.append(query.value(0).toString() + u' ' + query.value(1).toString());
        return made;
    };
    const QStringList before = indexes();
    QList<Order> orders;
    for (int i = 1; i <= 9; ++i)
        orders.append(order(QStringLiteral("淘宝:%1").arg(i), QStringLiteral("买家%1").arg(i)));
    const QList<qint64> ids = store(orders);
    for (int i = 0; i < 7; ++i)
        takenDaysAgo(ids[i], 40);

    EXPECT_EQ(store().deleteOlderThan(30), 7);
    EXPECT_EQ(store().allById(), (std::vector<qint64>{ids[7], ids[8]}));
    EXPECT_EQ(indexes(), before);
    EXPECT_EQ(store().byOrderNumber(QStringLiteral("淘宝:9")), std::vector<qint64>{ids[8]});
    OrderCursor cursor;
    cursor.requery(store(), {});
    EXPECT_EQ(cursor.pageIds(1), (QList<qint64>{ids[8], ids[7]}));
}

TEST_F(OrderStoreTest, PagesOfTenWithTheRestOnTheLastPage) {
    QList<Order> orders;
    for (int i = 1; i <= 25; ++i)
        orders.append(order(QStringLiteral("淘宝:%1").arg(i)));
    store(orders);
    OrderCursor cursor;
    cursor.requery(store(), {});
    EXPECT_EQ(cursor.recordCount(), 25);
    EXPECT_EQ(cursor.pageCount(), 3);
    EXPECT_EQ(cursor.pageIds(2).size(), 10);
    const QList<Order> third = store().byIds(cursor.pageIds(3));
    ASSERT_EQ(third.size(), 5);
    EXPECT_EQ(third.first().orderSign, QStringLiteral("淘宝:5"));
    EXPECT_EQ(third.last().orderSign, QStringLiteral("淘宝:1"));
    EXPECT_TRUE(cursor.pageIds(4).isEmpty());
    EXPECT_EQ(cursor.clampPage(9), 3);

    OrderCursor empty;
    EXPECT_EQ(empty.pageCount(), 0);
    EXPECT_EQ(empty.clampPage(5), 1);
}

// A long list is read a page at a time and counted only a stretch past the shown
// page; paging on counts further, and orders of one number never repeat or go missing.
TEST_F(OrderStoreTest, ALongListIsCountedAsFarAsThePagesShown) {
    const qsizetype listed = OrderCursor::kCountAhead + 15;
    QList<Order> orders;
    for (qsizetype i = 0; i < listed; ++i)
        orders.append(order(i < 30 ? QStringLiteral("淘宝:7") : QStringLiteral("淘宝:%1").arg(i)));
    orders.append(order(QStringLiteral("淘宝:没有数字")));
    const QList<qint64> ids = store(orders);
    OrderCursor cursor;
    cursor.requery(store(), {});
    EXPECT_FALSE(cursor.countComplete());
    EXPECT_EQ(cursor.recordCount(), OrderCursor::kCountAhead + 10);
    EXPECT_EQ(OrderFilter::informationLine(QStringLiteral("筛选:所有订单"), cursor.recordCount(),
                                           cursor.pageCount(), 1, cursor.countComplete()),
              QStringLiteral("筛选:所有订单  总计10010多条 共1001多页 第1页"));

    const int last = int(listed / OrderCursor::kPageSize) + 1;
    EXPECT_EQ(cursor.clampPage(last + 5), last);
    EXPECT_TRUE(cursor.countComplete());
    EXPECT_EQ(cursor.recordCount(), listed + 1);
    // The order without a number comes last; of one number the newer row comes first.
    EXPECT_EQ(cursor.pageIds(last).last(), ids.last());
    EXPECT_EQ(cursor.pageOf(ids.last()), last);
    const std::vector<qint64> whole = store().listed({});
    std::vector<qint64> paged;
    for (int page = 1; page <= last; ++page)
        for (qint64 id : cursor.pageIds(page))
            paged.push_back(id);
    EXPECT_EQ(paged, whole);
    const auto sevens = std::find(whole.begin(), whole.end(), ids[29]);
    ASSERT_NE(sevens, whole.end());
    EXPECT_TRUE(std::is_sorted(sevens, sevens + 30, std::greater<>()));
    EXPECT_EQ(cursor.pageOf(ids[0]), int((sevens - whole.begin() + 29) / 10) + 1);

    cursor.requery(store(), SqlCondition{QStringLiteral(" and kd_sign = 1"), {}});
    EXPECT_TRUE(cursor.countComplete());
    EXPECT_EQ(cursor.recordCount(), 0);
    EXPECT_EQ(cursor.pageOf(ids[0]), std::nullopt);
}

// A list counted later shows its page at once, counted only to the page after it; the
// count goes on when asked, and a page turned past the counted part counts as well.
TEST_F(OrderStoreTest, AListCountedLaterCountsOnlyToTheNextPageFirst) {
    QList<Order> orders;
    for (int i = 0; i < 45; ++i)
        orders.append(order(QStringLiteral("淘宝:%1").arg(i)));
    store(orders);
    OrderCursor cursor;
    cursor.requery(store(), {}, 1, OrderCursor::Counting::Later);
    EXPECT_TRUE(cursor.countWaits());
    EXPECT_FALSE(cursor.countComplete());
    EXPECT_EQ(cursor.recordCount(), 20);
    ASSERT_EQ(cursor.pageIds(1).size(), 10);
    cursor.countAhead(1);
    EXPECT_FALSE(cursor.countWaits());
    EXPECT_TRUE(cursor.countComplete());
    EXPECT_EQ(cursor.recordCount(), 45);

    cursor.requery(store(), {}, 1, OrderCursor::Counting::Later);
    EXPECT_EQ(cursor.clampPage(4), 4);
    EXPECT_FALSE(cursor.countWaits());
    EXPECT_EQ(cursor.recordCount(), 45);
    // A short list is whole at once, with nothing left to count.
    cursor.requery(store(), {QStringLiteral(" and order_sign = ?"), {QStringLiteral("淘宝:3")}}, 1,
                   OrderCursor::Counting::Later);
    EXPECT_FALSE(cursor.countWaits());
    EXPECT_TRUE(cursor.countComplete());
    EXPECT_EQ(cursor.recordCount(), 1);
}

TEST(OrderFilter, CaptionsTellTheFilter) {
    EXPECT_EQ(OrderFilter::initial().caption, QStringLiteral("筛选:所有的快递单未打印的订单"));
    EXPECT_EQ(OrderFilter::initial().condition.sql, QStringLiteral(" and kd_sign = 0"));
    EXPECT_EQ(
        OrderFilter::fromLists(QStringLiteral("A"), OrderFilter::kAll, QStringLiteral("发货单已打"))
            .caption,
        QStringLiteral("筛选:ID为[A]的发货单已打印的订单"));
    EXPECT_EQ(OrderFilter::fromLists(QString(), QStringLiteral("圆通"), OrderFilter::kAll).caption,
              QStringLiteral("筛选:单据为[圆通]的订单"));
    const OrderFilter all = OrderFilter::fromLists(OrderFilter::kAll, QString(), OrderFilter::kAll);
    EXPECT_EQ(all.caption, QStringLiteral("筛选:所有订单"));
    EXPECT_TRUE(all.condition.isEmpty());
    EXPECT_EQ(OrderFilter::printStates().size(), 13);
    EXPECT_EQ(OrderFilter::informationLine(QStringLiteral("筛选:所有订单"), 25, 3, 3),
              QStringLiteral("筛选:所有订单  总计25条 共3页 第3页"));
}
