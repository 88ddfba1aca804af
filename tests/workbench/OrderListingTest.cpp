#include "WorkbenchFixture.h"

#include "workbench/ConfirmationText.h"
#include "workbench/OrderDeletion.h"
#include "workbench/OrderListing.h"
#include "workbench/OrderMarks.h"
#include "workbench/OrderSearch.h"

#include <QSqlQuery>

using namespace mldd;

namespace {
using ListingTest = test::WorkbenchFixture;
}

TEST_F(ListingTest, PagesOfTwentyFiveOrdersAndTheirMessages) {
    storeOrders(25);
    EXPECT_EQ(m_state.informationLine(),
              QStringLiteral("筛选:所有的快递单未打印的订单  总计25条 共3页 第1页"));
    EXPECT_EQ(OrderListing::previousPage(m_state)->text, QStringLiteral("已经是第一页了！"));
    EXPECT_FALSE(OrderListing::nextPage(m_state));
    EXPECT_FALSE(OrderListing::nextPage(m_state));
    EXPECT_EQ(OrderListing::nextPage(m_state)->text, QStringLiteral("已经是最后一页了！"));
    EXPECT_EQ(m_state.currentPage, 3);
    EXPECT_EQ(OrderListing::currentRows(m_state).size(), 5);

    OrderListing::selectAllOrNone(m_state);
    EXPECT_EQ(m_state.selection.ids().size(), 5);
    OrderListing::selectAllOrNone(m_state);
    EXPECT_TRUE(m_state.selection.isEmpty());
}

TEST_F(ListingTest, SelectionKeepsTickingOrderAndRemovesWholeItems) {
    m_state.selection.toggle(2, true);
    m_state.selection.toggle(20, true);
    m_state.selection.toggle(2, false);
    EXPECT_EQ(m_state.selection.text(), QStringLiteral("|20"));
    m_state.selection.toggle(12, true);
    EXPECT_EQ(m_state.selection.text(), QStringLiteral("|20|12"));
    EXPECT_FALSE(m_state.selection.contains(2));
}

TEST_F(ListingTest, FiltersAndModeSwitchNarrowTheList) {
    const QList<qint64> ids = storeOrders(4);
    m_state.printStateChoice = QStringLiteral("所有");
    OrderListing::applyFilter(m_state);
    EXPECT_EQ(m_state.filter.caption, QStringLiteral("筛选:所有订单"));

    m_state.selection.toggle(ids[1], true);
    m_state.selection.toggle(ids[3], true);
    OrderListing::switchDisplayMode(m_state, MainState::DisplayMode::ShippingList);
    EXPECT_EQ(m_state.filter.caption, QStringLiteral("您选择订单的发货单"));
    EXPECT_EQ(m_state.cursor.ids(), (std::vector<qint64>{ids[3], ids[1]}));

    m_state.selection.clear();
    OrderListing::switchDisplayMode(m_state, MainState::DisplayMode::Waybill);
    EXPECT_EQ(m_state.printStateChoice, QStringLiteral("快递单未打"));
    EXPECT_EQ(m_state.cursor.recordCount(), 4);
    OrderListing::applyFilter(m_state, true);
    EXPECT_EQ(m_state.printStateChoice, OrderFilter::kAll);
}

TEST_F(ListingTest, MarksFlipBetweenPrintedAndNotButShippedStays) {
    const QList<qint64> ids = storeOrders(2);
    OrderStore store(*m_state.database);
    EXPECT_EQ(OrderMarks::toggle(store, ids[0], OrderMarks::Mark::Waybill), 1);
    EXPECT_EQ(OrderMarks::toggle(store, ids[0], OrderMarks::Mark::Waybill), 0);
    EXPECT_EQ(OrderMarks::toggle(store, ids[0], OrderMarks::Mark::ShippingList), 1);
    EXPECT_EQ(order(ids[0]).kdSign, 0);

    Order shipped = order(ids[1]);
    shipped.kdSign = 2;
    store.update({shipped});
    EXPECT_EQ(OrderMarks::toggle(store, ids[1], OrderMarks::Mark::Waybill), 2);
    EXPECT_EQ(OrderMarks::colourOf(2), OrderMarks::Colour::White);
    EXPECT_EQ(OrderMarks::colourOf(1), OrderMarks::Colour::Silver);
    EXPECT_FALSE(OrderMarks::toggle(store, 999, OrderMarks::Mark::Waybill));
}

TEST_F(ListingTest, SearchMatchesLiterallyInEveryColumnOfTheField) {
    QList<Order> orders(3);
    orders[0].buyName = QStringLiteral("O'Neil");
    orders[0].buyPhone2 = QStringLiteral("13812345678");
    orders[1].buyName = QStringLiteral("100%纯棉");
    orders[1].buyAddressShi = QStringLiteral("贵阳市");
    orders[2].buyPhone1 = QStringLiteral("0851-138");
    orders[2].djType = -1;
    store(orders);

    EXPECT_FALSE(OrderSearch::search(m_state, QStringLiteral("买家姓名"), QStringLiteral(" '")));
    EXPECT_EQ(m_state.cursor.recordCount(), 1);
    EXPECT_EQ(m_state.filter.caption, QStringLiteral("[买家姓名]含[']"));
    OrderSearch::search(m_state, QStringLiteral("买家姓名"), QStringLiteral("0%"));
    EXPECT_EQ(m_state.cursor.recordCount(), 1);
    OrderSearch::search(m_state, QStringLiteral("买家电话"), QStringLiteral("138"));
    EXPECT_EQ(m_state.cursor.recordCount(), 1); // the absorbed order never shows
    OrderSearch::search(m_state, QStringLiteral("买家地址"), QStringLiteral("贵阳"));
    EXPECT_EQ(m_state.cursor.recordCount(), 1);

    const auto refused = OrderSearch::search(m_state, QString(), QStringLiteral("x"));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text, QStringLiteral("条件不能为空，请选择！"));
    EXPECT_EQ(m_state.cursor.recordCount(), 2);
}

TEST_F(ListingTest, DeletingOneAndByAge) {
    const QList<qint64> ids = storeOrders(3);
    EXPECT_EQ(OrderDeletion::question(QStringLiteral("淘宝:1 张三\r\n")).text,
              QStringLiteral("您要删除的单据内容如下：\r\n淘宝:1 张三\r\n确定要删除纪录吗?"));
    EXPECT_FALSE(OrderDeletion::deleteOne(m_state, ids[0]));
    EXPECT_TRUE(OrderDeletion::deleteOne(m_state, ids[0]));
    EXPECT_EQ(m_state.cursor.recordCount(), 2);

    QSqlQuery(m_state.database->connection())
        .exec(QStringLiteral("update order_data set dj_type = -1 where id = %1").arg(ids[1]));
    EXPECT_EQ(OrderDeletion::deleteOlderThan(m_state, 1).text,
              QStringLiteral("本次共删除订单0条!"));
    EXPECT_EQ(OrderDeletion::deleteOlderThan(m_state, 0).text,
              QStringLiteral("本次共删除订单2条!"));
    EXPECT_EQ(m_state.cursor.recordCount(), 0);
}

TEST(ConfirmationText, PhonesGoodsAndTheMissingCourier) {
    Order order;
    order.buyPhone2 = QStringLiteral("13900000000");
    EXPECT_EQ(ConfirmationText::compose(order, {}).refusal->text,
              QStringLiteral("您还没有设置物流单据！\r\n请在订单的“快递单据”框里选好快递，或者在“设"
                             "置”›“快递方案”里设置。\r\n设置完成后才能核对订单信息。"));

    order.delivery = QStringLiteral("圆通");
    order.buyGoods = QStringLiteral("衬衫 1\r\n");
    const QString text = ConfirmationText::compose(order, {}).text;
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n您的电话:13900000000\r\n您的邮编:\r\n")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("您购买的商品:\r\n衬衫 1\r\n〓〓需确认的信息结束〓〓\r\n\r\n请您确认")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("【以下信息由『墨岚打单』软件自动生成】\r\n")));

    order.buyPhone1 = QStringLiteral("0851-1");
    order.buyGoods = QStringLiteral("衬衫 1");
    const QString both = ConfirmationText::compose(order, {}).text;
    EXPECT_TRUE(both.contains(QStringLiteral("您的电话1:0851-1\r\n您的电话2:13900000000\r\n")));
    EXPECT_TRUE(both.contains(QStringLiteral("衬衫 1\r\n〓〓需确认的信息结束〓〓")));
}
