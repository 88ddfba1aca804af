#pragma once

#include "core/Order.h"
#include "core/OrderCursor.h"
#include "core/OrderDatabase.h"
#include "core/OrderSearchIndex.h"
#include "core/OrderStore.h"

#include <QList>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace mldd::test {

/** The columns of each field of the search box, in its order. */
inline const QList<QStringList> kSearchFields{
    {QStringLiteral("buy_id")},
    {QStringLiteral("my_id")},
    {QStringLiteral("delivery")},
    {QStringLiteral("order_sign")},
    {QStringLiteral("buy_name")},
    {QStringLiteral("buy_phone1"), QStringLiteral("buy_phone2")},
    {QStringLiteral("buy_zipcode")},
    {QStringLiteral("buy_address"), QStringLiteral("buy_address_sheng"),
     QStringLiteral("buy_address_shi"), QStringLiteral("buy_address_xian")},
    {QStringLiteral("buy_goods")},
};

/**
 * Orders as sellers get them, made up for the tests: Chinese names, addresses and
 * goods, mobile numbers, Latin buyer IDs in mixed case, now and then a % _ or quote.
 */
class MadeUpOrders {
public:
    explicit MadeUpOrders(quint32 seed) : m_random(seed) {}

    Order next() {
        Order order;
        order.orderSign = QStringLiteral("淘宝:%1").arg(2024120500000 + m_random.bounded(900000));
        order.myId = pick({"淘宝:墨岚小店", "拍拍:岚岚", "淘宝:Shop_A"});
        order.buyId = pick({"Moon", "lan_lan", "XiaoMing", "王小二", "a%b", "tea\"cup"}) +
                      QString::number(m_random.bounded(1000));
        order.buyName = pick({"王", "李", "张", "刘", "陈", "欧阳"}) +
                        pick({"明军", "军", "小红", "丽", "建国", "明"});
        order.buyPhone1 = QStringLiteral("1%1").arg(3800000000LL + m_random.bounded(99999999));
        if (m_random.bounded(3) == 0)
            order.buyPhone2 = QStringLiteral("0571-%1").arg(80000000 + m_random.bounded(999999));
        order.buyZipcode = QString::number(100000 + m_random.bounded(800000));
        order.buyAddressSheng = pick({"浙江省", "广东省", "北京市"});
        order.buyAddressShi = pick({"杭州市", "广州市", "北京市"});
        order.buyAddressXian = pick({"西湖区", "天河区", "朝阳区"});
        order.buyAddress = pick({"文三路", "天河路", "建国路", "明军街"}) +
                           QStringLiteral("%1号").arg(m_random.bounded(500)) +
                           pick({"", "3幢2单元", "B座_101"});
        order.buyGoods =
            pick({"羊毛衫 1 128.00", "羊绒围巾 2 99.5", "毛衣 M码 1 59", "T恤 XL 3 39"}) +
            (m_random.bounded(2) ? QStringLiteral("\r\n袜子 5 10%") : QString());
        order.delivery = pick({"圆通", "中通快递", "EMS"});
        return order;
    }

    QList<Order> many(int count) {
        QList<Order> orders;
        for (int i = 0; i < count; ++i)
            orders.append(next());
        return orders;
    }

    quint32 bounded(quint32 highest) { return m_random.bounded(highest); }

private:
    QString pick(std::initializer_list<const char*> choices) {
        return QString::fromUtf8(*(choices.begin() + m_random.bounded(int(choices.size()))));
    }

    QRandomGenerator m_random;
};

/**
 * A list read through the cursor as the window reads it (its first two pages
 * before the count, then the count and every id) gives `scanned`.
 */
inline void expectListedAs(const OrderStore& store, const SqlCondition& condition,
                           const std::vector<qint64>& scanned, const std::string& what) {
    OrderCursor cursor;
    cursor.requery(store, condition, 1, OrderCursor::Counting::Later);
    for (const int page : {1, 2}) {
        const auto from =
            scanned.begin() + std::min(qsizetype(page - 1) * 10, qsizetype(scanned.size()));
        EXPECT_EQ(cursor.pageIds(page),
                  QList<qint64>(from, from + std::min<std::ptrdiff_t>(10, scanned.end() - from)))
            << what << ", page " << page;
    }
    cursor.countAhead(1);
    EXPECT_EQ(cursor.recordCount(),
              std::min(qsizetype(scanned.size()), 10 + OrderCursor::kCountAhead))
        << what;
    EXPECT_EQ(cursor.ids(), scanned) << what;
}

/**
 * Keys of 1 to 6 characters cut from the stored texts of each field (and a few
 * that are nowhere), each searched along the index as the search box does and
 * by LIKE over every order: both must list the same orders. The index must hold
 * every order as it is now (nothing past its mark, nothing noted).
 */
inline void expectIndexAgreesWithScan(OrderDatabase& database, const std::string& when,
                                      quint32 seed = 7, int keysPerField = 12) {
    EXPECT_EQ(OrderSearchIndex::behind(database), 0) << when << ": the index is behind";
    const OrderStore store(database);
    QRandomGenerator random(seed);
    const std::vector<qint64> ids = store.allById();
    for (const QStringList& columns : kSearchFields) {
        QStringList keys{QStringLiteral("无此"), QStringLiteral("Zq9"), QStringLiteral("%"),
                         QStringLiteral("_1")};
        for (int i = 0; i < keysPerField && !ids.empty(); ++i) {
            const qint64 id = ids.at(random.bounded(qsizetype(ids.size())));
            const QString column = columns.at(random.bounded(columns.size()));
            QSqlQuery query(database.connection());
            query.prepare(QStringLiteral("select %1 from order_data where id = ?").arg(column));
            query.addBindValue(id);
            const QString text =
                query.exec() && query.next() ? query.value(0).toString() : QString();
            const std::u32string characters = text.toStdU32String();
            if (characters.empty())
                continue;
            const int length = 1 + int(random.bounded(6));
            const int from = int(random.bounded(int(characters.size())));
            const int taken = qMin(length, int(characters.size()) - from);
            QString key = QString::fromUcs4(characters.data() + from, taken).trimmed();
            // Upper case finds lower case as LIKE does.
            if (random.bounded(4) == 0)
                key = key.toUpper();
            if (!key.isEmpty())
                keys.append(key);
        }
        for (const QString& key : keys) {
            const std::vector<qint64> scanned =
                store.listed(OrderSearchIndex::contains(columns, key, false));
            const std::string what = std::string(when) + ": " + columns.join(u',').toStdString() +
                                     " [" + key.toStdString() + ']';
            EXPECT_EQ(store.listed(OrderSearchIndex::contains(columns, key, true)), scanned)
                << what;
            expectListedAs(store, OrderSearchIndex::searched(database, columns, key), scanned,
                           what + " as searched");
            // Pages walked to along the list: a stretch that holds them, one that may hold
            // a part, and one too short for any (read by looking the candidates up after all).
            for (const qint64 candidates :
                 {qint64(ids.size()), qint64(ids.size() / 20 + 1), qint64(1)}) {
                expectListedAs(store,
                               OrderSearchIndex::contains(columns, key, true,
                                                          OrderSearchIndex::Plan::WalkList,
                                                          candidates),
                               scanned, what + " walked over " + std::to_string(candidates));
            }
        }
    }
}

} // namespace mldd::test
