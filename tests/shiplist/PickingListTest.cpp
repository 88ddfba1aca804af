#include "shiplist/GoodsSku.h"
#include "shiplist/PickingListPages.h"
#include "waybill/TextMetrics.h"

#include <gtest/gtest.h>

using namespace mldd;

namespace {

Order order(qint64 id, const QString& goods, const QString& courier = QStringLiteral("圆通")) {
    Order made;
    made.id = id;
    made.myId = QStringLiteral("淘宝:墨岚小店");
    made.buyGoods = goods;
    made.delivery = courier;
    return made;
}

// The merge as the workbench leaves it: the target holds every goods line, the absorbed order
// keeps its own.
QList<Order> mergedPair(qint64 target, qint64 absorbed) {
    Order into = order(target, QStringLiteral("杯子 马克杯 350ml 3 20\r\n贴纸 2 1"));
    into.djType = 1;
    into.hbDjId = QStringLiteral("|%1").arg(absorbed);
    Order gone = order(absorbed, QStringLiteral("贴纸 2 1"));
    gone.djType = -1;
    gone.hbDjId = QString::number(target);
    return {into, gone};
}

QString row(const PickingList::Item& item) {
    return QStringLiteral("%1|%2|%3|%4")
        .arg(item.sku, item.name)
        .arg(item.quantity)
        .arg(item.orders);
}

QStringList rowsOf(const PickingList::Group& group) {
    QStringList rows;
    for (const PickingList::Item& item : group.items)
        rows.append(row(item));
    return rows;
}

} // namespace

TEST(PickingList, QuantitiesAreTheSumsOverTheOrdersGoodsReadAsTheShippingListReadsThem) {
    const QString shirt = QStringLiteral("T恤 白色 XL ") + GoodsSku::word(QStringLiteral("TS 01"));
    QList<Order> orders{
        order(1, shirt + QStringLiteral(" 2 59.00 0 118")),
        // Items joined by "；", the same article twice in one order: one order, three shirts.
        order(2,
              QStringLiteral("杯子 马克杯 350ml 1 20；") + shirt + QStringLiteral(" 1 59；") +
                  shirt + QStringLiteral(" x2 ￥59"),
              QStringLiteral("中通")),
        // An article without figures is one to fetch; an empty line is none.
        order(3, QStringLiteral("手写贺卡\r\n\r\n"), QStringLiteral("中通")),
    };
    orders += mergedPair(4, 5);

    const PickingList list = PickingList::of(orders);
    ASSERT_EQ(list.groups.size(), 1);
    // Coded items first by code, then the others by name.
    EXPECT_EQ(rowsOf(list.groups[0]), (QStringList{"TS01|T恤 白色 XL|5|2", "|手写贺卡|1|1",
                                                   "|杯子 马克杯 350ml|4|2", "|贴纸|2|1"}));
    EXPECT_EQ(list.quantity, 12);
    EXPECT_EQ(list.kinds, 4);
    EXPECT_EQ(list.parcels, 4);
    EXPECT_EQ(list.orders, 5);

    const PickingList byCourier = PickingList::of(orders, true);
    ASSERT_EQ(byCourier.groups.size(), 2);
    EXPECT_EQ(byCourier.groups[0].courier, QStringLiteral("圆通"));
    EXPECT_EQ(rowsOf(byCourier.groups[0]),
              (QStringList{"TS01|T恤 白色 XL|2|1", "|杯子 马克杯 350ml|3|1", "|贴纸|2|1"}));
    EXPECT_EQ(byCourier.groups[1].courier, QStringLiteral("中通"));
    EXPECT_EQ(byCourier.groups[1].quantity, 5);
    EXPECT_EQ(byCourier.quantity, list.quantity);
}

TEST(PickingListPages, ALongListContinuesOnA4PagesWithEveryItemOnceAndTheCaptionsOnEach) {
    QList<Order> orders;
    QStringList goods;
    for (int i = 1; i <= 120; ++i)
        goods.append(
            QStringLiteral("第%1号商品 带一个很长很长的规格说明：颜色、尺码、材质都写在名字里 ")
                .arg(i) +
            GoodsSku::word(QStringLiteral("SKU%1").arg(i, 3, 10, QLatin1Char('0'))) +
            QStringLiteral(" 1 9.9"));
    orders.append(order(1, goods.join(QStringLiteral("\r\n"))));
    orders.append(order(2, goods.mid(0, 10).join(QStringLiteral("；")), QStringLiteral("中通")));
    TextMetrics metrics;
    const QList<PageModel> pages = pickingListOf(orders, {}, QDate(2026, 12, 7), true, metrics);
    ASSERT_GE(pages.size(), 3);

    QMap<QString, int> codes;
    QStringList lastLines;
    for (int p = 0; p < pages.size(); ++p) {
        const PageModel& page = pages[p];
        EXPECT_EQ(page.size, QSizeF(11904, 16840));
        QStringList texts;
        for (const TextLine& line : page.texts) {
            texts.append(line.text);
            EXPECT_LT(line.top, page.size.height()) << line.text.toStdString();
            if (line.text.startsWith(u"SKU"))
                ++codes[line.text];
        }
        EXPECT_TRUE(texts.contains(QStringLiteral("商家编码"))) << p;
        EXPECT_TRUE(texts.contains(QStringLiteral("第%1/%2页").arg(p + 1).arg(pages.size())));
        lastLines = texts;
    }
    // Ten items in both couriers' groups, the rest in one.
    EXPECT_EQ(codes.size(), 120);
    EXPECT_EQ(codes.value(QStringLiteral("SKU001")), 2);
    EXPECT_EQ(codes.value(QStringLiteral("SKU120")), 1);
    EXPECT_TRUE(lastLines.contains(QStringLiteral("合计：130件，120种商品")))
        << lastLines.join(u'|').toStdString();
}
