#include "SearchAgreement.h"
#include "TempDataFolder.h"

#include "core/NumSign.h"
#include "core/OrderCursor.h"
#include "core/OrderDatabase.h"
#include "core/OrderSearchIndex.h"
#include "core/OrderStore.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

const QStringList kBuyer{QStringLiteral("buy_id")};
const QStringList kPhones{QStringLiteral("buy_phone1"), QStringLiteral("buy_phone2")};

class OrderSearchIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString message;
        m_database = OrderDatabase::open(m_data.folder().databasePath(), &message);
        ASSERT_TRUE(m_database) << message.toStdString();
    }

    qint64 add(const QString& buyer, const QString& phone = {}) {
        QList<Order> orders{Order{}};
        orders[0].orderSign = QStringLiteral("淘宝:%1").arg(++m_number);
        orders[0].numSign = numSignOf(orders[0].orderSign);
        orders[0].buyId = buyer;
        orders[0].buyPhone2 = phone;
        OrderWriteRule rule;
        EXPECT_TRUE(OrderStore(*m_database).insert(orders, rule));
        return orders[0].id;
    }

    void exec(const QString& sql) {
        QSqlQuery query(m_database->connection());
        EXPECT_TRUE(query.exec(sql))
            << sql.toStdString() << ' ' << query.lastError().text().toStdString();
    }

    /** What the index itself answers for a buyer ID, without the orders' own texts. */
    std::vector<qint64> indexHolds(const QString& key) {
        return OrderStore(*m_database)
            .ids(QStringLiteral("select rowid from order_text_grams where "
                                "order_text_grams match ? order by rowid"),
                 {OrderSearchIndex::contains(kBuyer, key, true).values.first()});
    }

    /** Searching along the index (as far as `along` allows) finds what reading every order finds.
     */
    void expectSameAsReading(bool along, const QStringList& keys, const char* when) {
        const OrderStore store(*m_database);
        for (const QStringList& columns : {kBuyer, kPhones}) {
            for (const QString& key : keys) {
                EXPECT_EQ(store.listed(OrderSearchIndex::contains(columns, key, along)),
                          store.listed(OrderSearchIndex::contains(columns, key, false)))
                    << when << " [" << key.toStdString() << ']';
            }
        }
    }

    test::TempDataFolder m_data;
    std::unique_ptr<OrderDatabase> m_database;
    int m_number = 0;
};

const QStringList kKeys{QStringLiteral("alpha"), QStringLiteral("beta"),   QStringLiteral("gamma"),
                        QStringLiteral("delta"), QStringLiteral("reused"), QStringLiteral("moved"),
                        QStringLiteral("fresh"), QStringLiteral("555"),    QStringLiteral("a"),
                        QStringLiteral("al")};

} // namespace

// Orders edited twice, deleted, stored again under a used id or moved to another id between
// two searches: the search finds them as reading every order does, before the index caught
// up and after, and the index then holds each order's present texts and nothing of the old.
TEST_F(OrderSearchIndexTest, EditsDeletesAndReusedIdsBetweenSearchesAreFoundAsTheyAreNow) {
    const qint64 edited = add(QStringLiteral("alpha_one"), QStringLiteral("555-1"));
    const qint64 deleted = add(QStringLiteral("delta_gone"));
    const qint64 moved = add(QStringLiteral("moved_away"));
    const qint64 kept = add(QStringLiteral("alpha_kept"));
    ASSERT_TRUE(OrderSearchIndex::catchUp(*m_database));
    EXPECT_EQ(indexHolds(QStringLiteral("alpha_one")), std::vector<qint64>{edited});

    exec(QStringLiteral("update order_data set buy_id = 'beta_two' where id = %1").arg(edited));
    exec(QStringLiteral("update order_data set buy_id = 'gamma_three', buy_phone2 = null where "
                        "id = %1")
             .arg(edited));
    // Saved again with its searched texts unchanged: nothing to note.
    exec(QStringLiteral("update order_data set kd_sign = 1, buy_id = buy_id"));
    exec(QStringLiteral("delete from order_data where id = %1").arg(deleted));
    exec(QStringLiteral("insert into order_data (id, buy_id, dj_type) values (%1, 'reused_id', 0)")
             .arg(deleted));
    exec(QStringLiteral("update order_data set id = 1000 where id = %1").arg(moved));
    exec(QStringLiteral("update order_data set id = %1, buy_id = 'moved_back' where id = 1000")
             .arg(moved));
    const qint64 fresh = add(QStringLiteral("fresh_one"));
    expectSameAsReading(true, kKeys, "before the catch-up");

    ASSERT_TRUE(OrderSearchIndex::catchUp(*m_database));
    expectSameAsReading(true, kKeys, "after the catch-up");
    for (const char* gone : {"alpha_one", "beta_two", "delta_gone", "moved_away", "555"})
        EXPECT_TRUE(indexHolds(QLatin1String(gone)).empty()) << gone;
    EXPECT_EQ(indexHolds(QStringLiteral("gamma_three")), std::vector<qint64>{edited});
    EXPECT_EQ(indexHolds(QStringLiteral("reused_id")), std::vector<qint64>{deleted});
    EXPECT_EQ(indexHolds(QStringLiteral("moved_back")), std::vector<qint64>{moved});
    EXPECT_EQ(indexHolds(QStringLiteral("alpha_kept")), std::vector<qint64>{kept});
    EXPECT_EQ(indexHolds(QStringLiteral("fresh_one")), std::vector<qint64>{fresh});

    // A store that replaces a row outright, as REPLACE does without a delete trigger,
    // overrides conflict clauses: the first note still tells what the index holds.
    exec(QStringLiteral("update order_data set buy_id = 'alpha_again' where id = %1").arg(kept));
    exec(QStringLiteral("update or replace order_data set buy_id = 'beta_again' where id = %1")
             .arg(kept));
    ASSERT_TRUE(OrderSearchIndex::catchUp(*m_database));
    EXPECT_TRUE(indexHolds(QStringLiteral("alpha_kept")).empty());
    EXPECT_TRUE(indexHolds(QStringLiteral("alpha_again")).empty());
    EXPECT_EQ(indexHolds(QStringLiteral("beta_again")), std::vector<qint64>{kept});
    expectSameAsReading(true, kKeys, "after a replacing update");

    // No id is given twice: an order stored after the newest one was deleted and the
    // index caught up lies past the mark, where the search finds it.
    const qint64 newest = add(QStringLiteral("omega_old"));
    ASSERT_TRUE(OrderSearchIndex::catchUp(*m_database));
    exec(QStringLiteral("delete from order_data where id = %1").arg(newest));
    ASSERT_TRUE(OrderSearchIndex::catchUp(*m_database));
    EXPECT_GT(add(QStringLiteral("omega_new")), newest);
    expectSameAsReading(true, {QStringLiteral("omega"), QStringLiteral("old")},
                        "id after the newest");
}

// Orders another program wrote are a backlog the index takes in steps; while it lags more
// than a step, or cannot be written because another program holds the store, the search
// still finds every order.
TEST_F(OrderSearchIndexTest, ABacklogGoesInStepsAndABusyStoreIsSearchedAsItIs) {
    for (int i = 0; i < 5; ++i)
        exec(QStringLiteral("insert into order_data (buy_id, dj_type) values ('alpha_%1', 0)")
                 .arg(i));
    EXPECT_FALSE(OrderSearchIndex::catchUp(*m_database, 2));
    EXPECT_EQ(indexHolds(QStringLiteral("alpha_")).size(), 2);
    EXPECT_TRUE(OrderSearchIndex::catchUp(*m_database, 2));
    expectSameAsReading(true, kKeys, "one step behind");
    EXPECT_TRUE(OrderSearchIndex::catchUp(*m_database, 2));
    EXPECT_EQ(indexHolds(QStringLiteral("alpha_")).size(), 5);

    // Another program's batch is open on the store: the catch-up does not wait for it.
    {
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(m_data.folder().databasePath());
        ASSERT_TRUE(other.open());
        exec(QStringLiteral("update order_data set buy_id = 'beta_edited' where buy_id = "
                            "'alpha_0'"));
        exec(QStringLiteral("insert into order_data (buy_id, dj_type) values ('alpha_fresh', 0)"));
        const qint64 fresh =
            OrderStore(*m_database).ids(QStringLiteral("select max(id) from order_data")).front();
        QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE"));
        EXPECT_TRUE(OrderSearchIndex::catchUp(*m_database));
        expectSameAsReading(true, kKeys, "store busy");
        EXPECT_EQ(OrderStore(*m_database)
                      .listed(OrderSearchIndex::contains(kBuyer, QStringLiteral("fresh"), true)),
                  std::vector<qint64>{fresh});
        // Too far behind to join the index in: the search reads every order.
        EXPECT_FALSE(OrderSearchIndex::catchUp(*m_database, 0));
        QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    EXPECT_TRUE(OrderSearchIndex::catchUp(*m_database));
    EXPECT_TRUE(indexHolds(QStringLiteral("alpha_0")).empty());
    expectSameAsReading(true, kKeys, "caught up");
}

// The ids of orders deleted before the index took them in are never given again: a batch
// after a long run of them is not far behind, and takes its own orders in.
TEST_F(OrderSearchIndexTest, ABatchAfterALongRunOfUnusedIdsTakesItsOrdersIn) {
    const qint64 first = add(QStringLiteral("alpha_1"));
    exec(QStringLiteral("update sqlite_sequence set seq = seq + %1 where name = 'order_data'")
             .arg(OrderSearchIndex::kBatchTakesIn + 100'000));
    const qint64 next = add(QStringLiteral("alpha_2"));
    EXPECT_EQ(OrderSearchIndex::behind(*m_database), 0);
    EXPECT_EQ(indexHolds(QStringLiteral("alpha_")), (std::vector<qint64>{first, next}));
}

// Deleting most of the orders by age notes none of them one by one: the index starts over
// and takes the rest in before the deletion commits.
TEST_F(OrderSearchIndexTest, DeletingMostOrdersByAgeStartsTheIndexOver) {
    for (int i = 0; i < 5; ++i)
        add(QStringLiteral("alpha_%1").arg(i));
    const qint64 kept = add(QStringLiteral("alpha_kept"));
    ASSERT_TRUE(OrderSearchIndex::catchUp(*m_database));
    exec(QStringLiteral("update order_data set time_get = datetime('now', 'localtime', "
                        "'-40 days') where id <> %1")
             .arg(kept));
    EXPECT_EQ(OrderStore(*m_database).deleteOlderThan(30), 5);
    EXPECT_EQ(
        OrderStore(*m_database).ids(QStringLiteral("select count(*) from order_text_grams_stale")),
        std::vector<qint64>{0});
    expectSameAsReading(true, kKeys, "most deleted");
    EXPECT_EQ(OrderSearchIndex::behind(*m_database), 0);
    EXPECT_EQ(indexHolds(QStringLiteral("alpha_")), std::vector<qint64>{kept});
}

// Every field of the search box and keys of one to six characters: after each kind of
// write of the store the index holds every order as it is, and finds what LIKE finds.
TEST_F(OrderSearchIndexTest, EveryFieldAndKeyLengthFindsWhatAScanFindsAfterEveryWrite) {
    test::MadeUpOrders made(11);
    OrderStore store(*m_database);
    OrderWriteRule rule;
    QList<Order> captured = made.many(400);
    ASSERT_TRUE(store.insert(captured, rule));
    test::expectIndexAgreesWithScan(*m_database, "captured", 1);

    // Edits of the searched texts, a merge (the target's goods grow, the absorbed
    // order leaves the list) and its split, saved column by column as the list does.
    QList<Order> edited = store.byIds({captured[0].id, captured[1].id, captured[2].id});
    edited[0].buyName = QStringLiteral("欧阳明军");
    edited[1].buyGoods += QStringLiteral("\r\n羊毛衫 1 128.00");
    edited[1].djType = 1;
    edited[1].hbDjId = QStringLiteral("|%1").arg(edited[2].id);
    edited[2].djType = -1;
    edited[2].buyAddress = QStringLiteral("Room_9 文三路");
    ASSERT_TRUE(store.update(edited));
    test::expectIndexAgreesWithScan(*m_database, "edited and merged", 2);
    edited[1].djType = 0;
    edited[1].buyGoods = captured[1].buyGoods;
    edited[2].djType = 0;
    edited[2].cfSign = 1;
    ASSERT_TRUE(m_database->inTransaction([&] {
        return store.updateInTransaction(
            edited,
            {QStringLiteral("buy_goods"), QStringLiteral("dj_type"), QStringLiteral("cf_sign")});
    }));
    test::expectIndexAgreesWithScan(*m_database, "split", 3);

    ASSERT_TRUE(store.remove(captured[3].id));
    ASSERT_TRUE(m_database->inTransaction(
        [&] { return store.setDelivery(captured[4].id, QStringLiteral("顺丰")); }));
    test::expectIndexAgreesWithScan(*m_database, "deleted one, courier set", 4);

    // A second batch, then most orders deleted by age.
    QList<Order> imported = made.many(100);
    ASSERT_TRUE(store.insert(imported, rule));
    exec(QStringLiteral("update order_data set time_get = datetime('now', 'localtime', "
                        "'-40 days') where id < %1")
             .arg(imported.first().id));
    EXPECT_GT(store.deleteOlderThan(30), 300);
    test::expectIndexAgreesWithScan(*m_database, "most deleted by age", 5);

    // Orders another program wrote: behind until the catch-up, found all the same.
    exec(QStringLiteral("insert into order_data (buy_name, buy_goods, dj_type) values "
                        "('外来', '外来的羊毛衫', 0)"));
    exec(QStringLiteral("update order_data set buy_name = '改名' where id = %1")
             .arg(imported.first().id));
    EXPECT_GT(OrderSearchIndex::behind(*m_database), 0);
    EXPECT_EQ(store
                  .listed(OrderSearchIndex::contains({QStringLiteral("buy_goods")},
                                                     QStringLiteral("外来"), true))
                  .size(),
              1);
    // A backlog this small is taken in without a word.
    ASSERT_TRUE(OrderSearchIndex::bringUpToDate(*m_database, [](qint64, qint64) {
        ADD_FAILURE() << "progress told of a small backlog";
        return true;
    }));
    test::expectIndexAgreesWithScan(*m_database, "caught up with another program", 6);
}

// A common key is found along the list's own order rather than looked up candidate by
// candidate; a rare one, or one found nowhere, is looked up, by its rare grams only, or by
// common ones that are rare together, and its page walked to when it has many candidates.
// How common is common follows the store's size: here one order in sixty is.
TEST_F(OrderSearchIndexTest, OnlyKeysWithFewCandidatesAreLookedUp) {
    QList<Order> orders;
    for (int i = 0; i < 12'000; ++i) {
        Order order;
        order.buyName = i == 7        ? QStringLiteral("欧阳明军")
                        : i == 9      ? QStringLiteral("李四王小二")
                        : i % 40 == 0 ? QStringLiteral("李四")
                        : i % 40 == 1 ? QStringLiteral("四王")
                        : i % 80 == 2 ? QStringLiteral("张三")
                        : i % 65 == 3 ? QStringLiteral("赵六")
                                      : QStringLiteral("王小二");
        orders.append(order);
    }
    OrderWriteRule rule;
    ASSERT_TRUE(OrderStore(*m_database).insert(orders, rule));
    const QStringList names{QStringLiteral("buy_name")};
    const auto candidates = [&](const char* key) -> std::optional<qint64> {
        const std::optional<OrderSearchIndex::Candidates> found =
            OrderSearchIndex::lookUp(*m_database, names, QString::fromUtf8(key));
        if (!found)
            return std::nullopt;
        EXPECT_EQ(OrderStore(*m_database)
                      .listed(OrderSearchIndex::contains(names, QString::fromUtf8(key), found)),
                  OrderStore(*m_database)
                      .listed(OrderSearchIndex::contains(names, QString::fromUtf8(key), false)))
            << key;
        return OrderStore(*m_database)
            .ids(QStringLiteral("select count(*) from order_text_grams where "
                                "order_text_grams match ?"),
                 {found->match})
            .front();
    };
    for (const char* common : {"王", "李四", "王小二"})
        EXPECT_EQ(candidates(common), std::nullopt) << common;
    EXPECT_EQ(candidates("张三"), 150);
    // Of the looked-up keys, one with as many candidates as 赵六 has its page walked to.
    const auto plan = [&](const char* key) {
        return OrderSearchIndex::lookUp(*m_database, names, QString::fromUtf8(key))->plan;
    };
    EXPECT_EQ(plan("张三"), OrderSearchIndex::Plan::LookUp);
    EXPECT_GE(candidates("赵六"), OrderSearchIndex::walkedFrom(12'000));
    EXPECT_EQ(plan("赵六"), OrderSearchIndex::Plan::WalkList);
    EXPECT_EQ(candidates("明军"), 1);
    EXPECT_EQ(candidates("羊毛衫"), 0);
    // 小二 is common, 二李 nowhere: only the rare one is asked for.
    EXPECT_EQ(candidates("小二李"), 0);
    EXPECT_EQ(candidates("李四王"), 1);
    // Fields the index does not answer and empty keys read every order.
    EXPECT_EQ(OrderSearchIndex::lookUp(*m_database, {QStringLiteral("seller_mem")},
                                       QStringLiteral("明军")),
              std::nullopt);
    EXPECT_EQ(candidates(""), std::nullopt);
}

// A key the newest orders hold often shows its first page from the head of the list, and
// how common it is in the whole store is weighed only when the count needs it: a new
// product's name, in the newest hundred orders alone, is then still counted by looking its
// orders up. A key rare among the newest orders is weighed at once.
TEST_F(OrderSearchIndexTest, AKeyCommonAmongTheNewestOrdersIsWeighedOnlyForTheCount) {
    QList<Order> orders;
    for (int i = 0; i < 12'000; ++i) {
        Order order;
        order.orderSign = QStringLiteral("淘宝:%1").arg(100'000 + i);
        order.numSign = numSignOf(order.orderSign);
        order.buyGoods = i >= 11'900 ? QStringLiteral("新品袜 2双") : QStringLiteral("毛衣 M码");
        if (i % 997 == 0)
            order.buyGoods += QStringLiteral(" 新品");
        if (i < 500)
            order.buyGoods += QStringLiteral(" 旧款");
        // The grams of ABC123 together, but the key itself in a few.
        if (i >= 11'800 && i < 11'900)
            order.buyGoods +=
                i % 25 == 0 ? QStringLiteral(" ABC123") : QStringLiteral(" ABC12 BC123");
        orders.append(order);
    }
    OrderWriteRule rule;
    ASSERT_TRUE(OrderStore(*m_database).insert(orders, rule));
    const QStringList goods{QStringLiteral("buy_goods")};
    const OrderStore store(*m_database);

    SqlCondition fresh = OrderSearchIndex::searched(*m_database, goods, QStringLiteral("新品袜"));
    ASSERT_TRUE(fresh.settle);
    int settled = 0;
    const auto settle = fresh.settle;
    fresh.settle = [&](const OrderDatabase& database) {
        ++settled;
        const SqlCondition condition = settle(database);
        // Weighed over the whole store, the key is rare: its orders are looked up.
        EXPECT_TRUE(condition.sql.contains(QStringLiteral("match"))) << condition.sql.toStdString();
        return condition;
    };
    const std::vector<qint64> scanned =
        store.listed(OrderSearchIndex::contains(goods, QStringLiteral("新品袜"), false));
    ASSERT_EQ(scanned.size(), 100);
    OrderCursor cursor;
    cursor.requery(store, fresh, 1, OrderCursor::Counting::Later);
    EXPECT_EQ(cursor.pageIds(1), QList<qint64>(scanned.begin(), scanned.begin() + 10));
    EXPECT_TRUE(cursor.countWaits());
    EXPECT_EQ(settled, 0) << "the first page weighed the key";
    cursor.countAhead(1);
    EXPECT_EQ(settled, 1);
    EXPECT_EQ(cursor.recordCount(), 100);
    EXPECT_EQ(cursor.pageIds(10), QList<qint64>(scanned.end() - 10, scanned.end()));

    // 新品 alone, in a few old orders too, and 毛衣, in all but the newest, are found
    // the same way, and so is ABC123, whose first page the head does not fill; 旧款 is in
    // none of the newest and 羊毛衫 nowhere: both are weighed at once.
    for (const char* common : {"新品", "毛衣", "abc123"}) {
        const QString key = QString::fromUtf8(common);
        const SqlCondition condition = OrderSearchIndex::searched(*m_database, goods, key);
        EXPECT_TRUE(condition.settle) << common;
        test::expectListedAs(store, condition,
                             store.listed(OrderSearchIndex::contains(goods, key, false)), common);
    }
    for (const char* rare : {"旧款", "羊毛衫"})
        EXPECT_FALSE(OrderSearchIndex::searched(*m_database, goods, QString::fromUtf8(rare)).settle)
            << rare;
}

// In a store of many orders a gram that many of the newest orders and of the middle ones hold
// is taken for common without reading its list through. A word of the newest orders alone,
// held by too many to look up at once but rare in the store, is still counted along the index.
TEST_F(OrderSearchIndexTest, AWordOfTheNewestOrdersAloneIsNotTakenForACommonOne) {
    const auto insert = [&](int count, const QString& goods) {
        QList<Order> orders(count);
        for (Order& order : orders)
            order.buyGoods = goods;
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*m_database).insert(orders, rule));
    };
    // Ids far apart, as years of orders and deletions by age leave them.
    insert(2'000, QStringLiteral("毛衣 M码"));
    exec(QStringLiteral("update sqlite_sequence set seq = 50000 where name = 'order_data'"));
    insert(2'000, QStringLiteral("毛衣 L码"));
    exec(QStringLiteral("update sqlite_sequence set seq = 100000 where name = 'order_data'"));
    insert(600, QStringLiteral("新款 毛衣 L码"));

    const QStringList goods{QStringLiteral("buy_goods")};
    const OrderStore store(*m_database);
    for (const char* word : {"新款", "新款毛", "毛衣", "L码"}) {
        const QString key = QString::fromUtf8(word);
        const SqlCondition condition = OrderSearchIndex::searched(*m_database, goods, key);
        test::expectListedAs(store, condition,
                             store.listed(OrderSearchIndex::contains(goods, key, false)), word);
    }
    const std::optional<OrderSearchIndex::Candidates> fresh =
        OrderSearchIndex::lookUp(*m_database, goods, QStringLiteral("新款"));
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->count, 600);
}

// A store whose index is of the version before (runs of letters and digits only three
// long, its own mark and triggers) opens with all of that gone; the new index starts empty and the
// catch-up takes every order in. An index whose mark was lost starts over the same way.
TEST_F(OrderSearchIndexTest, AnIndexOfTheVersionBeforeIsReplacedAndBuiltAgain) {
    const qint64 first = add(QStringLiteral("alpha_one"), QStringLiteral("555-1"));
    add(QStringLiteral("beta_two"));
    ASSERT_TRUE(OrderSearchIndex::catchUp(*m_database));
    for (const char* gone :
         {"drop trigger order_text_grams_delete", "drop trigger order_text_grams_update",
          "drop table order_text_grams_mark",
          "create virtual table order_column_grams using fts5(grams, content='', "
          "detail='none')",
          "create table order_column_grams_mark (indexed integer not null)",
          "insert into order_column_grams_mark values (2)",
          "create trigger order_column_grams_delete after delete on order_data "
          "begin select 1; end"})
        exec(QLatin1String(gone));
    exec(QStringLiteral("update order_data set buy_id = 'gamma_edited' where id = %1").arg(first));
    m_database.reset();
    QString message;
    m_database = OrderDatabase::open(m_data.folder().databasePath(), &message);
    ASSERT_TRUE(m_database) << message.toStdString();
    EXPECT_EQ(OrderStore(*m_database)
                  .ids(QStringLiteral("select count(*) from sqlite_master where name like "
                                      "'order_column_grams%'")),
              std::vector<qint64>{0});
    EXPECT_EQ(OrderSearchIndex::behind(*m_database), 2);
    EXPECT_TRUE(indexHolds(QStringLiteral("alpha")).empty());
    expectSameAsReading(true, kKeys, "before the catch-up");
    ASSERT_TRUE(OrderSearchIndex::bringUpToDate(*m_database));
    EXPECT_EQ(indexHolds(QStringLiteral("gamma")), std::vector<qint64>{first});
    EXPECT_TRUE(indexHolds(QStringLiteral("alpha")).empty());
    expectSameAsReading(true, kKeys, "caught up");
}
