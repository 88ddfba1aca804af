#include "TestPostgres.h"

#include "core/CapturedNumbers.h"
#include "core/ErrorLog.h"
#include "core/NumSign.h"
#include "core/OrderCursor.h"
#include "core/OrderDatabase.h"
#include "core/OrderFilter.h"
#include "core/OrderSearchIndex.h"
#include "core/OrderStore.h"
#include "core/PrintSettings.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace mldd;

namespace {

/** One server for the whole program; each test gets a database of its own. */
test::TestPostgres& server() {
    static test::TestPostgres instance;
    return instance;
}

enum class Store { SQLite, Server };

std::string storeName(const ::testing::TestParamInfo<Store>& info) {
    return info.param == Store::SQLite ? "SQLite" : "PostgreSQL";
}

/** The same checks on a station's own file and on the shared server: they must agree. */
class BothStores : public ::testing::TestWithParam<Store> {
protected:
    void SetUp() override {
        if (GetParam() == Store::Server) {
            ASSERT_TRUE(server().isRunning());
            const QString name = QStringLiteral("store%1").arg(++s_databases);
            ASSERT_TRUE(server().createDatabase(name));
            m_address = *StoreAddress::parseServer(server().address(name));
        } else {
            m_address = StoreAddress::sqliteFile(m_dir.filePath(QStringLiteral("mlddsj.db")));
        }
        m_database = reopen();
        ASSERT_TRUE(m_database);
    }

    std::unique_ptr<OrderDatabase> reopen() {
        QString message;
        auto database = OrderDatabase::open(m_address, &message);
        EXPECT_TRUE(database) << message.toStdString();
        return database;
    }

    QList<qint64> insert(QList<Order> orders) {
        OrderWriteRule rule;
        EXPECT_TRUE(OrderStore(*m_database).insert(orders, rule))
            << m_database->failureText().toStdString();
        QList<qint64> ids;
        for (const Order& order : orders)
            ids.append(order.id);
        return ids;
    }

    static Order order(const QString& sign) {
        Order o;
        o.orderSign = sign;
        o.numSign = numSignOf(sign);
        o.buyName = QStringLiteral("李四");
        o.myId = QStringLiteral("淘宝:店");
        return o;
    }

    QStringList signsOf(const std::vector<qint64>& ids) {
        QStringList signs;
        for (const Order& o : OrderStore(*m_database).byIds(QList<qint64>(ids.begin(), ids.end())))
            signs.append(o.orderSign);
        return signs;
    }

    int count(const QString& sql) {
        QSqlQuery query(m_database->connection());
        return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
    }

    static inline int s_databases = 0;
    QTemporaryDir m_dir;
    StoreAddress m_address;
    std::unique_ptr<OrderDatabase> m_database;
};

} // namespace

TEST_P(BothStores, ListsNewestOrderNumberFirstWithOrdersWithoutOneLast) {
    Order absorbed = order(QStringLiteral("淘宝:900"));
    absorbed.djType = -1;
    Order printed = order(QStringLiteral("淘宝:500"));
    printed.kdSign = 1;
    insert({order(QStringLiteral("淘宝:无号")), order(QStringLiteral("淘宝:20")),
            order(QStringLiteral("淘宝:3-100")), absorbed, printed});
    OrderStore store(*m_database);
    EXPECT_EQ(signsOf(store.listed(
                  OrderFilter::fromLists(OrderFilter::kAll, OrderFilter::kAll, OrderFilter::kAll)
                      .condition)),
              (QStringList{QStringLiteral("淘宝:3-100"), QStringLiteral("淘宝:500"),
                           QStringLiteral("淘宝:20"), QStringLiteral("淘宝:无号")}));
    EXPECT_EQ(signsOf(store.listed(OrderFilter::initial().condition)),
              (QStringList{QStringLiteral("淘宝:3-100"), QStringLiteral("淘宝:20"),
                           QStringLiteral("淘宝:无号")}));
    EXPECT_EQ(signsOf(store.absorbed()), QStringList{QStringLiteral("淘宝:900")});
    EXPECT_EQ(store.newestOfSender(QStringLiteral("淘宝:店")), store.listed({}).front());
}

// The courier filter's names: each courier a listed order names, once; blanks and merged-away
// orders name none.
TEST_P(BothStores, NamesEachCourierOfTheListedOrdersOnce) {
    QList<Order> orders;
    for (const QString& courier : {QStringLiteral("圆通"), QStringLiteral("  "), QString(),
                                   QStringLiteral("申通"), QStringLiteral("圆通"),
                                   QStringLiteral("EMS"), QStringLiteral("圆通")}) {
        orders.append(order(QStringLiteral("淘宝:%1").arg(orders.size())));
        orders.last().delivery = courier;
    }
    orders[5].djType = -1;
    insert(orders);
    QStringList named = OrderStore(*m_database).namedCouriers();
    named.sort();
    EXPECT_EQ(named, (QStringList{QStringLiteral("圆通"), QStringLiteral("申通")}));
}

// Pages read one at a time still show every listed order once, in list order,
// when many orders share one number.
TEST_P(BothStores, PagesShowEveryListedOrderOnceAmongEqualNumbers) {
    QList<Order> orders;
    for (int i = 0; i < 34; ++i)
        orders.append(order(i % 3 ? QStringLiteral("淘宝:7") : QStringLiteral("淘宝:%1").arg(i)));
    orders[5].djType = -1;
    insert(orders);
    OrderStore store(*m_database);
    const SqlCondition all =
        OrderFilter::fromLists(OrderFilter::kAll, OrderFilter::kAll, OrderFilter::kAll).condition;
    OrderCursor cursor;
    cursor.requery(store, all);
    EXPECT_EQ(cursor.recordCount(), 33);
    EXPECT_EQ(cursor.pageCount(), 4);
    std::vector<qint64> paged;
    for (int page = 1; page <= cursor.pageCount(); ++page)
        for (qint64 id : cursor.pageIds(page))
            paged.push_back(id);
    EXPECT_EQ(paged, store.listed(all));
    EXPECT_EQ(cursor.ids(), paged);
    EXPECT_EQ(std::set<qint64>(paged.begin(), paged.end()).size(), paged.size());
    EXPECT_EQ(cursor.pageIds(4).size(), 3);
}

TEST_P(BothStores, KeepsEveryTextAsGivenAndWritesItBack) {
    Order sent = order(QStringLiteral("淘宝:1"));
    sent.buyAddress = QStringLiteral("O'Brien 路 1号\r\n2 楼\\%_");
    sent.buyGoods = QStringLiteral("0123\r\n");
    sent.sellerMem = QStringLiteral("'); drop table order_data; --");
    sent.delivery = QStringLiteral("顺丰");
    const qint64 id = insert({sent}).first();
    OrderStore store(*m_database);
    Order back = *store.byId(id);
    EXPECT_EQ(back.buyAddress, sent.buyAddress);
    EXPECT_EQ(back.buyGoods, sent.buyGoods);
    EXPECT_EQ(back.sellerMem, sent.sellerMem);
    EXPECT_EQ(back.numSign, 1.0);
    EXPECT_FALSE(back.timeGet.isEmpty());
    EXPECT_TRUE(back.buyPhone1.isEmpty());

    // A spreadsheet import stores order numbers of up to 100 characters.
    back.orderSign = QString(100, u'9');
    back.kdSign = 2;
    ASSERT_TRUE(store.update({back}));
    EXPECT_EQ(store.byOrderNumber(QString(100, u'9')), std::vector<qint64>{id});
    EXPECT_EQ(store.byId(id)->kdSign, 2);
    EXPECT_EQ(store.storedOrderNumbers({QString(100, u'9'), QStringLiteral("淘宝:1")}),
              QSet<QString>{QString(100, u'9')});

    const SqlCondition courier = OrderFilter::fromLists(OrderFilter::kAll, QStringLiteral("顺"),
                                                        QStringLiteral("快递单未打"))
                                     .condition;
    EXPECT_TRUE(store.listed(courier).empty());
    EXPECT_EQ(store.listed(
                  OrderFilter::fromLists(OrderFilter::kAll, QStringLiteral("顺"), OrderFilter::kAll)
                      .condition),
              std::vector<qint64>{id});
}

TEST_P(BothStores, FindsAndDeletesOrdersByCalendarDaysOfAge) {
    const QList<qint64> ids =
        insert({order(QStringLiteral("淘宝:1")), order(QStringLiteral("淘宝:2")),
                order(QStringLiteral("淘宝:3"))});
    QSqlQuery age(m_database->connection());
    age.prepare(QStringLiteral("update order_data set time_get = ? where id = ?"));
    const QString threeDaysAgo =
        QDateTime::currentDateTime().addDays(-3).toString(QStringLiteral("yyyy-MM-dd 23:59:59"));
    age.addBindValue(threeDaysAgo);
    age.addBindValue(ids.at(0));
    ASSERT_TRUE(age.exec());
    OrderStore store(*m_database);
    EXPECT_EQ(store.olderThan(3), std::vector<qint64>{ids.at(0)});
    EXPECT_TRUE(store.olderThan(4).empty());
    EXPECT_EQ(store.deleteOlderThan(3), 1);
    EXPECT_EQ(store.allById(), (std::vector<qint64>{ids.at(1), ids.at(2)}));
}

TEST_P(BothStores, AFailedBatchLeavesNothingAndAReopenUpgradesNothingTwice) {
    insert({order(QStringLiteral("淘宝:1"))});
    OrderWriteRule rule;
    QList<Order> batch{order(QStringLiteral("淘宝:2"))};
    const bool stored = m_database->inTransaction([&] {
        return OrderStore(*m_database).insertInTransaction(batch, rule) &&
               QSqlQuery(m_database->connection()).exec(QStringLiteral("select no_such_column"));
    });
    EXPECT_FALSE(stored);
    EXPECT_EQ(count(QStringLiteral("select count(*) from order_data")), 1);

    ErrorLog log(m_dir.filePath(QStringLiteral("ERR.TXT")));
    {
        QSqlDatabase db = m_database->connection();
        PrintSettings::load(db, log);
    }
    m_database.reset();
    m_database = reopen();
    ASSERT_TRUE(m_database);
    QSqlDatabase db = m_database->connection();
    EXPECT_EQ(PrintSettings::load(db, log).softSet, PrintSettings::kDefaultSoftSet);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PrintItem_data")), 1);
    EXPECT_EQ(insert({order(QStringLiteral("淘宝:3"))}).size(), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from order_data")), 2);
}

// Captured numbers land with their batch or not at all, and one shop's list is
// cleared without touching another's.
TEST_P(BothStores, CapturedNumbersFollowTheirBatchAndClearPerShop) {
    CapturedNumbers captured(*m_database);
    const QString shop = QStringLiteral("淘宝:墨岚小店");
    EXPECT_FALSE(m_database->inTransaction([&] {
        return captured.add(shop, {QStringLiteral("淘宝:1")}) == 1 &&
               QSqlQuery(m_database->connection()).exec(QStringLiteral("select no_such_column"));
    }));
    EXPECT_TRUE(captured.shops().isEmpty());
    ASSERT_TRUE(m_database->inTransaction([&] {
        return captured.add(shop, {QStringLiteral("淘宝:1"), QStringLiteral("淘宝:2")}) == 2 &&
               captured.add(QStringLiteral("其他:b"), {QStringLiteral("淘宝:1")}) == 1;
    }));
    EXPECT_EQ(captured.capturedOf(shop, {QStringLiteral("淘宝:2"), QStringLiteral("淘宝:3")}),
              QSet<QString>{QStringLiteral("淘宝:2")});
    EXPECT_EQ(captured.clear(shop), 2);
    ASSERT_EQ(captured.shops().size(), 1);
    EXPECT_EQ(captured.shops().first().shop, QStringLiteral("其他:b"));
}

// The search finds along the store's index exactly what reading every order finds: keys of
// one, two and more characters, Chinese and either case of ASCII, wildcard characters and
// quotes taken literally, merged-away orders never; also after orders are edited and deleted,
// before the index caught up with them and after.
TEST_P(BothStores, SearchAlongTheIndexFindsWhatReadingEveryOrderFinds) {
    const QStringList texts{QStringLiteral("Buyer_77"), QStringLiteral("buyer_5"),
                            QStringLiteral("BUYER-77"), QStringLiteral("贵州省贵阳市花溪区"),
                            QStringLiteral("O'Brien 50%"), QStringLiteral("a\\b_c\"d"),
                            QStringLiteral("13800000077"), QStringLiteral("纯棉T恤\r\n运动袜 2"),
                            QString()};
    QList<Order> orders;
    for (const QString& text : texts) {
        Order o = order(QStringLiteral("淘宝:%1").arg(orders.size()));
        o.buyId = o.buyName = o.buyGoods = o.buyAddressShi = text;
        o.buyPhone2 = text.right(4);
        orders.append(o);
    }
    orders[0].djType = -1;
    orders.append(orders[0]);
    orders.last().djType = 0;
    const QList<qint64> ids = insert(orders);
    // SQLite's index is joined into the search; the server's serves its LIKE conditions.
    const bool along = OrderSearchIndex::catchUp(*m_database);
    EXPECT_EQ(along, GetParam() == Store::SQLite);
    if (GetParam() == Store::Server) {
        EXPECT_GT(count(QStringLiteral("select count(*) from pg_indexes where indexdef like "
                                       "'%gin_trgm_ops%'")),
                  0);
    }

    const QStringList keys{
        QStringLiteral("7"),        QStringLiteral("77"),     QStringLiteral("buyer_77"),
        QStringLiteral("BUYER"),    QStringLiteral("yer_"),   QStringLiteral("r%7"),
        QStringLiteral("贵"),       QStringLiteral("贵阳"),   QStringLiteral("贵阳市花"),
        QStringLiteral("%"),        QStringLiteral("_"),      QStringLiteral("50%"),
        QStringLiteral("'"),        QStringLiteral("O'Br"),   QStringLiteral("\\b_"),
        QStringLiteral("c\"d"),     QStringLiteral("0000077"), QStringLiteral("恤\r\n运"),
        QStringLiteral("no such"),  QString()};
    const QList<QStringList> fields{
        {QStringLiteral("buy_id")},
        {QStringLiteral("buy_phone1"), QStringLiteral("buy_phone2")},
        {QStringLiteral("buy_address"), QStringLiteral("buy_address_sheng"),
         QStringLiteral("buy_address_shi"), QStringLiteral("buy_address_xian")},
        {QStringLiteral("buy_name")},
        {QStringLiteral("buy_goods")}};
    OrderStore store(*m_database);
    const auto expectSameAsReading = [&](const char* when) {
        for (const QStringList& columns : fields) {
            for (const QString& key : keys) {
                const std::vector<qint64> read =
                    store.listed(OrderSearchIndex::contains(columns, key, false));
                const SqlCondition indexed =
                    OrderSearchIndex::contains(columns, key, along);
                EXPECT_EQ(store.listed(indexed), read)
                    << when << ' ' << columns.join(u',').toStdString() << " [" << key.toStdString()
                    << ']';
                OrderCursor cursor;
                cursor.requery(store, indexed);
                EXPECT_EQ(size_t(cursor.recordCount()), read.size());
                if (!read.empty()) {
                    EXPECT_EQ(cursor.pageOf(read.back()), 1);
                }
            }
        }
    };
    expectSameAsReading("stored");
    // LIKE ignores the case of ASCII letters on SQLite only.
    EXPECT_EQ(store.listed(OrderSearchIndex::contains({QStringLiteral("buy_id")},
                                                      QStringLiteral("BUYER_77"),
                                                      along)),
              GetParam() == Store::SQLite ? std::vector<qint64>{ids.last()}
                                          : std::vector<qint64>{});

    QSqlQuery edit(m_database->connection());
    ASSERT_TRUE(edit.exec(QStringLiteral(
        "update order_data set buy_id = 'buyer_900', buy_phone2 = null where buy_id = 'buyer_5'")));
    ASSERT_TRUE(edit.exec(QStringLiteral("update order_data set kd_sign = 1")));
    ASSERT_TRUE(edit.exec(QStringLiteral("delete from order_data where buy_id = 'BUYER-77'")));
    Order renamed = *store.byId(ids.at(4));
    renamed.buyName = QStringLiteral("王五'_%");
    Order regoods = *store.byId(ids.at(5));
    regoods.buyGoods = QStringLiteral("袜");
    ASSERT_TRUE(store.update({renamed, regoods}));
    expectSameAsReading("edited");
    EXPECT_EQ(OrderSearchIndex::catchUp(*m_database), along);
    expectSameAsReading("caught up");
    EXPECT_EQ(store.listed(OrderSearchIndex::contains({QStringLiteral("buy_id")},
                                                      QStringLiteral("yer_9"),
                                                      along))
                  .size(),
              1);
    EXPECT_EQ(store.listed(OrderSearchIndex::contains({QStringLiteral("buy_name")},
                                                      QStringLiteral("王五'_"),
                                                      along)),
              std::vector<qint64>{ids.at(4)});
}

INSTANTIATE_TEST_SUITE_P(Stores, BothStores, ::testing::Values(Store::SQLite, Store::Server),
                         storeName);

// Two stations show the same order; the one that saves second is told, and the
// first one's changes stay.
TEST(SharedStoreEdits, AnEditOfARowChangedElsewhereSinceItWasShownIsRefused) {
    ASSERT_TRUE(server().isRunning());
    ASSERT_TRUE(server().createDatabase(QStringLiteral("edits")));
    const StoreAddress address =
        *StoreAddress::parseServer(server().address(QStringLiteral("edits")));
    QString message;
    auto one = OrderDatabase::open(address, &message);
    auto two = OrderDatabase::open(address, &message);
    ASSERT_TRUE(one && two) << message.toStdString();
    QList<Order> stored(1);
    stored[0].orderSign = QStringLiteral("淘宝:1");
    stored[0].buyName = QStringLiteral("李四");
    OrderWriteRule rule;
    ASSERT_TRUE(OrderStore(*one).insert(stored, rule));

    Order shownAtOne = *OrderStore(*one).byId(stored[0].id);
    Order shownAtTwo = *OrderStore(*two).byId(stored[0].id);
    EXPECT_NE(shownAtOne.version, 0);
    shownAtTwo.buyName = QStringLiteral("王五");
    ASSERT_TRUE(OrderStore(*two).update({shownAtTwo}));

    shownAtOne.buyAddress = QStringLiteral("文三路1号");
    EXPECT_FALSE(OrderStore(*one).update({shownAtOne}));
    EXPECT_EQ(one->failureText(),
              QStringLiteral("订单淘宝:1刚被别的打包台改过，这次没有保存，免得把那边的修改盖掉。"
                             "\r\n请看一下它现在的内容，再重新修改。"));
    const Order now = *OrderStore(*one).byId(stored[0].id);
    EXPECT_EQ(now.buyName, QStringLiteral("王五"));
    EXPECT_TRUE(now.buyAddress.isEmpty());

    // Read again, the edit goes through.
    Order fresh = now;
    fresh.buyAddress = QStringLiteral("文三路1号");
    EXPECT_TRUE(OrderStore(*one).update({fresh}));
    EXPECT_EQ(OrderStore(*two).byId(stored[0].id)->buyAddress, QStringLiteral("文三路1号"));
}
