#include "ShippingListSamples.h"

#include "shiplist/GoodsTable.h"
#include "shiplist/ShippingListPager.h"
#include "shiplist/ShippingLists.h"
#include "waybill/TestFolder.h"
#include "waybill/TextMetrics.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mldd;
using namespace mldd::test;

namespace {

const QDate kToday(2026, 12, 5);

QStringList textsOf(const PageModel& page) {
    QStringList texts;
    for (const TextLine& line : page.texts)
        texts.append(line.text);
    return texts;
}

// The texts of a page from left to right along each line, lines from the top.
QList<QStringList> rowsOf(const PageModel& page) {
    QMap<int, QMap<double, QString>> lines;
    for (const TextLine& line : page.texts)
        lines[qRound(line.top)].insert(line.left, line.text);
    QList<QStringList> rows;
    for (const auto& line : lines)
        rows.append(line.values());
    return rows;
}

class Compose : public testing::Test {
protected:
    ShippingListPages compose(const Order& order, const FaHuoSet& design,
                              const QString& paper = kA5) {
        return ComposeShippingList(order, design, ShippingPaper::fromRecord(paper), kToday,
                                   m_metrics);
    }
    TextMetrics m_metrics;
};

} // namespace

TEST_F(Compose, DefaultDesignPrintsEveryItemOnOnePage) {
    const ShippingListPages list = composed(compose(sampleOrder(3), FaHuoSet()));
    ASSERT_EQ(list.pages.size(), 1);
    const PageModel& page = list.pages[0];
    EXPECT_EQ(page.size, QSizeF(8390, 11905));
    const QStringList texts = textsOf(page);
    for (const QString expected :
         {"某某某店铺发货单", "淘宝:202631415927", "YT4021937401", "王小二1", "星星1",
          "13900000001", "510000", "广东省广州市天河区天河路1号", "2026-12-05", "卖家姓名:某某某",
          "欢迎您下次光临本店!", "宝贝名称及规格", "商品3", "36.5",
          "数量：6  优惠：3元  总价：72元  运费：0元", "柒拾贰元整", "请尽快发货",
          "卖家备注：送小礼物"})
        EXPECT_TRUE(texts.contains(expected)) << expected.toStdString();
    // Two barcodes with their numbers beneath: the order's own number and the tracking number.
    EXPECT_TRUE(texts.contains("202631415927"));
    EXPECT_EQ(texts.count("YT4021937401"), 2);
    ASSERT_EQ(page.barcodes.size(), 2);
    EXPECT_GT(page.barcodes[0].runs().size(), 20);
    for (const TextLine& line : page.texts) {
        EXPECT_GE(line.left, 0) << line.text.toStdString();
        EXPECT_LT(line.top, page.size.height()) << line.text.toStdString();
    }
    EXPECT_GT(list.spareHeights[0], 0);
}

TEST_F(Compose, DesignDecidesWhatAndHow) {
    FaHuoSet design;
    design.setItemField("标题", FaHuoSet::Shown, "0");
    design.setItemField("快递条码", FaHuoSet::Shown, "0");
    design.setItemField("订单条码", FaHuoSet::Shown, "0");
    design.setItemField("买家姓名", FaHuoSet::Bold, "1");
    design.setItemField("买家姓名", FaHuoSet::FontSize, "xx"); // no size: the common 10.5
    design.setItemField("卖家寄语", FaHuoSet::Alignment, "居右");
    const PageModel page = composed(compose(sampleOrder(1), design)).pages.value(0);
    EXPECT_FALSE(textsOf(page).contains("某某某店铺发货单"));
    EXPECT_TRUE(page.barcodes.isEmpty());
    for (const TextLine& line : page.texts) {
        if (line.text == u"王小二1") {
            EXPECT_TRUE(line.font.bold);
            EXPECT_EQ(line.font.pointSize, 10.5);
        }
        if (line.text == u"欢迎您下次光临本店!") {
            EXPECT_NEAR(line.left + m_metrics.width(line.font, line.text), 8390 - 567, 1);
        }
    }
}

TEST_F(Compose, SixtyRowsOnA5PaginateWhole) {
    const ShippingListPages list = composed(compose(sampleOrder(60), FaHuoSet()));
    ASSERT_GE(list.pages.size(), 3);
    ASSERT_EQ(list.spareHeights.size(), list.pages.size());
    QList<int> seen;
    for (qsizetype p = 0; p < list.pages.size(); ++p) {
        EXPECT_GE(list.spareHeights[p], 0);
        for (const TextLine& line : list.pages[p].texts)
            EXPECT_LE(line.top + m_metrics.lineHeight(line.font), 11905) << p;
        // A goods row is the row number followed by its five cells, all on one line of one page.
        for (const QStringList& row : rowsOf(list.pages[p])) {
            if (row.size() == 6 && row[1].startsWith(u"商品")) {
                EXPECT_EQ(row[1], QStringLiteral("商品") + row[0]);
                seen.append(row[0].toInt());
            }
        }
        // Every page repeats the fixed items and the table header.
        EXPECT_TRUE(textsOf(list.pages[p]).contains("某某某店铺发货单"));
        EXPECT_TRUE(textsOf(list.pages[p]).contains("宝贝名称及规格"));
    }
    QList<int> expected;
    for (int i = 1; i <= 60; ++i)
        expected.append(i);
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(textsOf(list.pages.last()).filter("数量：120").size() == 1);
}

TEST_F(Compose, PaperTooSmallIsToldWithItsPlace) {
    // A strip of paper no goods row fits below the fixed items: the fixed items stay in view.
    const ShippingListPages strip = compose(sampleOrder(2), FaHuoSet(), "00|100|50|5660|2830|1");
    ASSERT_TRUE(strip.stopped);
    EXPECT_EQ(strip.stopped->text,
              QStringLiteral("9-您好，发货单纸张小，内容打不下，设置大一点的纸张。"));
    ASSERT_EQ(strip.pages.size(), 1);
    EXPECT_TRUE(textsOf(strip.pages[0]).contains("王小二1"));
    EXPECT_FALSE(textsOf(strip.pages[0]).contains("商品1"));

    // More goods rows than the cell store holds: every cell up to the limit is laid out.
    const ShippingListPages crowded =
        compose(sampleOrder(400), FaHuoSet(), "A4|210|297|11904|16840|1");
    ASSERT_TRUE(crowded.stopped);
    EXPECT_EQ(crowded.stopped->text,
              QStringLiteral("9-您好，发货单纸张小，内容打不下，设置大一点的纸张。"));
    int rows = 0;
    for (const PageModel& page : crowded.pages)
        rows += textsOf(page).filter(QRegularExpression("^商品\\d+$")).size();
    EXPECT_GT(rows, 250);
    EXPECT_LT(rows, 333);
}

TEST_F(Compose, BadInputComposesWithoutCrash) {
    Order order = sampleOrder(0);
    // No goods: the summary line and the capitals still print.
    QStringList texts = textsOf(composed(compose(order, FaHuoSet())).pages.value(0));
    EXPECT_TRUE(texts.contains("数量：0  优惠：0元  总价：0元  运费：0元"));
    EXPECT_TRUE(texts.contains("元整"));

    order.buyGoods = QStringLiteral("  \r\n\r\nabc x y z w v u t\r\n好 1e999 -3 nan inf");
    order.orderSign = QStringLiteral("淘宝:号码");
    order.wuliuCode = QStringLiteral("中通");
    EXPECT_EQ(composed(compose(order, FaHuoSet())).pages.size(), 1);

    // Ten records, a broken one among them, and designs that are no design at all.
    QStringList ten = DefaultFaHuoSet().split("[FA]").mid(0, 10);
    ten[0] = "标题[FAHUO]墨岚";
    const PageModel page = composed(compose(order, FaHuoSet(ten.join("[FA]")))).pages.value(0);
    EXPECT_FALSE(textsOf(page).contains("墨岚"));
    EXPECT_TRUE(textsOf(page).contains("王小二1"));
    EXPECT_FALSE(textsOf(page).contains("卖家备注：送小礼物"));
    for (const QString design : {"[FA][FA]", "abc", "[FAHUO][FAHUO][FAHUO]"})
        EXPECT_EQ(composed(compose(order, FaHuoSet(design))).pages.size(), 1);
    EXPECT_EQ(ShippingPaper::fromRecord("A4|x|y|z").size, ShippingPaper::kA4);
    EXPECT_EQ(ShippingPaper::fromRecord("A4|1|1|-5|1e99|1").size, ShippingPaper::kA4);
}

TEST(ShippingListPager, TurnsWithinTheListOnly) {
    ShippingListPager pager(3);
    EXPECT_EQ(pager.label(), QStringLiteral("1/3"));
    ASSERT_TRUE(pager.previous());
    EXPECT_EQ(pager.previous()->text, QStringLiteral("已经是第一页了！"));
    EXPECT_FALSE(pager.next());
    EXPECT_FALSE(pager.next());
    EXPECT_EQ(pager.label(), QStringLiteral("3/3"));
    EXPECT_EQ(pager.next()->text, QStringLiteral("已经是最后一页了！"));
    EXPECT_EQ(pager.label(), QStringLiteral("3/3"));
    EXPECT_FALSE(pager.previous());
    EXPECT_EQ(pager.current(), 2);
    EXPECT_EQ(ShippingListPager(0).label(), QStringLiteral("1/1"));
}

TEST_F(Compose, EndlessGoodsStopAtTheCellStore) {
    Order order = sampleOrder(0);
    order.buyGoods = QStringLiteral("袜子 1 2\r\n").repeated(100000);
    const ShippingListPages list = compose(order, FaHuoSet());
    ASSERT_TRUE(list.stopped);
    EXPECT_TRUE(list.stopped->text.startsWith(QStringLiteral("9-")));
}

TEST(ShippingLists, EachOrderWithItsSendersDesign) {
    SenderProfile own;
    own.myIdh = QStringLiteral("淘宝:墨岚小店");
    FaHuoSet design;
    design.setItemField("标题", FaHuoSet::Text, "墨岚小店发货单");
    own.faHuoSet = design.value();
    SenderProfile without; // no design of its own yet
    without.myIdh = QStringLiteral("拍拍:墨岚");
    ShippingLists lists({own, without}, kA5, kToday);

    Order order = sampleOrder(1);
    EXPECT_TRUE(textsOf(composed(lists.compose(order)).pages.value(0)).contains("墨岚小店发货单"));
    for (const QString sender : {"拍拍:墨岚", "无此发件人"}) {
        order.myId = sender;
        EXPECT_TRUE(
            textsOf(composed(lists.compose(order)).pages.value(0)).contains("某某某店铺发货单"));
    }
}

// The profile's shop, name, account and phone stand where the design kept its placeholders; a
// text the seller wrote stays.
TEST(ShippingLists, TheSenderProfileFillsThePlaceholdersOnly) {
    SenderProfile shop;
    shop.myIdh = QStringLiteral("淘宝:墨岚小店");
    shop.company = QStringLiteral("墨岚家居");
    shop.name = QStringLiteral("林小岚");
    shop.phone2 = QStringLiteral("13800000077");
    SenderProfile written = shop;
    written.myIdh = QStringLiteral("拍拍:墨岚");
    FaHuoSet design;
    design.setItemField("卖家姓名", FaHuoSet::Text, "店主:阿岚");
    written.faHuoSet = design.value();
    ShippingLists lists({shop, written}, kA5, kToday);

    Order order = sampleOrder(1);
    order.myId = shop.myIdh;
    QStringList texts = textsOf(composed(lists.compose(order)).pages.value(0));
    for (const QString expected :
         {"墨岚家居发货单", "卖家姓名:林小岚", "卖家ID:墨岚小店", "卖家联系电话:13800000077"})
        EXPECT_TRUE(texts.contains(expected)) << expected.toStdString();
    EXPECT_TRUE(texts.filter("某某某").isEmpty() && texts.filter("XXXX").isEmpty())
        << texts.join(u'|').toStdString();

    order.myId = written.myIdh;
    texts = textsOf(composed(lists.compose(order)).pages.value(0));
    EXPECT_TRUE(texts.contains("店主:阿岚"));
    EXPECT_TRUE(texts.contains("墨岚家居发货单"));
    EXPECT_FALSE(texts.contains("卖家姓名:林小岚"));
}

// Label paper: four columns inside the page, every goods line once, continued under the order
// number, and the closing items after the last row.
TEST_F(Compose, ThermalLabelsHoldEveryGoodsLineAndContinueUnderTheOrderNumber) {
    for (const QString label :
         {"热敏100x150|100|150|5669|8504|1", "热敏76x130|76|130|4309|7370|1"}) {
        Order order = sampleOrder(30);
        order.buyGoods.replace(QStringLiteral("商品7 "),
                               QStringLiteral("商品7 加厚款 纯棉 超长的名字要在窄纸上折行显示 "));
        const ShippingListPages list = composed(compose(order, FaHuoSet(), label));
        ASSERT_GE(list.pages.size(), 2) << label.toStdString();
        const QSizeF size = ShippingPaper::fromRecord(label).size;
        QMap<QString, int> names;
        for (int p = 0; p < list.pages.size(); ++p) {
            const PageModel& page = list.pages[p];
            EXPECT_EQ(page.size, size);
            for (const TextLine& line : page.texts) {
                EXPECT_LE(line.left + m_metrics.width(line.font, line.text), size.width())
                    << line.text.toStdString();
                EXPECT_LE(line.top + m_metrics.lineHeight(line.font), size.height())
                    << line.text.toStdString();
                const QRegularExpressionMatch goods =
                    QRegularExpression(QStringLiteral("^商品(\\d+)")).match(line.text);
                if (goods.hasMatch())
                    ++names[goods.captured(1)];
            }
            const QStringList texts = textsOf(page);
            if (p > 0) {
                EXPECT_TRUE(texts.contains(order.orderSign + QStringLiteral("（续）")));
                EXPECT_FALSE(texts.contains(QStringLiteral("某某某店铺发货单")));
            }
            EXPECT_EQ(texts.contains(QStringLiteral("卖家备注：送小礼物")),
                      p == list.pages.size() - 1);
        }
        EXPECT_EQ(names.size(), 30);
        for (const int seen : names)
            EXPECT_EQ(seen, 1);
        // No discount column on a label: quantity and total stand beside the name, and every
        // caption on one line, on 76 mm as on 100 mm.
        const QStringList captions{QStringLiteral("序号"), QStringLiteral("宝贝名称及规格"),
                                   QStringLiteral("数量"), QStringLiteral("总价(元)")};
        EXPECT_TRUE(rowsOf(list.pages[0]).contains(captions)) << label.toStdString();
        EXPECT_FALSE(textsOf(list.pages[0]).contains(QStringLiteral("优惠(元)")));
    }
}
