#include "LargePreview.h"
#include "MainWindow.h"
#include "OrderListPanel.h"
#include "OrderRowWidget.h"
#include "PagedPreview.h"
#include "WaybillPreview.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

class OrderListLayoutTest : public WindowFixture {
protected:
    static QString sender() { return QStringLiteral("淘宝:墨岚小店"); }

    void SetUp() override {
        WindowFixture::SetUp();
        addProfile(sender());
        installTemplates({QStringLiteral("中通")});
    }

    /** Orders as long as a seller meets them: the longest province, city and county names. */
    QList<qint64> storeLongOrders(int count) {
        const QList<qint64> ids = storeOrders(count, sender());
        QList<Order> orders = OrderStore(*m_state.database).byIds(ids);
        for (int i = 0; i < orders.size(); ++i) {
            Order& order = orders[i];
            // 微信小店's numbers run to 22 digits.
            order.orderSign = i == 0 ? QStringLiteral("微信小店:3720241205123456789012")
                                     : QStringLiteral("淘宝:32188773012%1").arg(10500 + i);
            order.buyId = QStringLiteral("xiaohong_lv%1").arg(8800 + i);
            order.buyName = QStringLiteral("欧阳小红");
            order.buyPhone1 = QStringLiteral("13812345%1").arg(600 + i);
            order.buyPhone2 = QStringLiteral("0851-8561234%1").arg(i % 10);
            order.buyZipcode = QStringLiteral("835221");
            order.buyAddressSheng = QStringLiteral("新疆维吾尔自治区");
            order.buyAddressShi = QStringLiteral("伊犁哈萨克自治州");
            order.buyAddressXian = QStringLiteral("霍尔果斯市");
            order.buyAddress = QStringLiteral("亚欧北路88号国际边境合作中心商务楼1205室");
            order.buyEnd = QStringLiteral("伊犁");
            order.delivery = QStringLiteral("中通");
            order.wuliuCode = QStringLiteral("YT40219374650%1").arg(10 + i);
            order.buyLy = QStringLiteral("请发圆通，周末也可以送");
            order.sellerMem = QStringLiteral("送小礼物");
            order.buyNjpm = QStringLiteral("衣服");
        }
        EXPECT_TRUE(OrderStore(*m_state.database).update(orders));
        m_state.requery();
        return ids;
    }

    /** Whether a line field is wide enough to show its whole text at once. */
    static bool showsWholeText(const QLineEdit* field) {
        QStyleOptionFrame option;
        option.initFrom(field);
        option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
        const QRect text =
            field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
        // The line edit keeps two pixels on each side of its text.
        return text.width() - 4 >= field->fontMetrics().horizontalAdvance(field->text());
    }

    static QList<OrderRowWidget*> shownCards(const MainWindow& window) {
        QList<OrderRowWidget*> cards;
        for (OrderRowWidget* row : window.rows())
            if (row->isVisibleTo(row->parentWidget()))
                cards.append(row);
        return cards;
    }
};

} // namespace

TEST_F(OrderListLayoutTest, AtTenTwentyFourPixelsEveryCardFitsAndShowsEachFieldWhole) {
    storeLongOrders(10);
    MainWindow window(m_state);
    window.resize(1024, 740);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.rowArea()->horizontalScrollBar()->isVisible());
    const QList<OrderRowWidget*> cards = shownCards(window);
    ASSERT_EQ(cards.size(), 10);
    for (OrderRowWidget* card : cards) {
        EXPECT_LE(card->geometry().right(), window.rowArea()->viewport()->width());
        for (QLineEdit* field : card->findChildren<QLineEdit*>()) {
            if (qobject_cast<QComboBox*>(field->parentWidget()))
                continue;
            EXPECT_TRUE(showsWholeText(field))
                << field->accessibleName().toStdString() << " cut: " << field->text().toStdString()
                << " in " << field->width() << " px";
        }
        const QComboBox* sender = card->senderList();
        EXPECT_GE(sender->width() - 24, sender->fontMetrics().horizontalAdvance(sender->currentText()));
    }
}

TEST_F(OrderListLayoutTest, TabGoesThroughACardLineByLine) {
    storeLongOrders(1);
    m_state.requery();
    MainWindow window(m_state);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    OrderRowWidget* card = window.rows().first();
    card->selectionBox()->setFocus();
    QStringList visited;
    for (QWidget* focused = card->selectionBox(); card->isAncestorOf(focused) && visited.size() < 40;
         focused = QApplication::focusWidget()) {
        if (auto* button = qobject_cast<QPushButton*>(focused))
            visited.append(button->text());
        else if (focused != card->selectionBox())
            visited.append(focused->accessibleName());
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    // The split button shows for merged orders only, so Tab passes it by here.
    const QStringList reading{
        QStringLiteral("订单编号"), QStringLiteral("我的ID"),   QStringLiteral("买家ID"),
        QStringLiteral("收货人"),   QStringLiteral("邮编"),     QStringLiteral("电话1"),
        QStringLiteral("电话2"),
        QStringLiteral("省"),       QStringLiteral("市"),       QStringLiteral("县"),
        QStringLiteral("目的地"),   QStringLiteral("地址"),     QStringLiteral("识别"),
        QStringLiteral("快递单据"), QStringLiteral("运单号"),   QStringLiteral("商品"),
        QStringLiteral("买家留言"), QStringLiteral("卖家备注"), QStringLiteral("内件品名"),
        QStringLiteral("▼"),        QStringLiteral("快递单"),   QStringLiteral("发货单"),
        QStringLiteral("核对"),     QStringLiteral("删除")};
    EXPECT_EQ(visited, reading);
}

TEST_F(OrderListLayoutTest, APageTurnFillsTheSameCardsWithTheNextOrders) {
    storeLongOrders(15);
    MainWindow window(m_state);
    window.show();
    const QList<OrderRowWidget*> before = window.rows();
    const QList<qint64> firstPage = [&] {
        QList<qint64> ids;
        for (OrderRowWidget* card : shownCards(window))
            ids.append(card->orderId());
        return ids;
    }();
    QTest::mouseClick(window.nextPageButton(), Qt::LeftButton);
    EXPECT_EQ(window.rows(), before);
    const QList<OrderRowWidget*> cards = shownCards(window);
    ASSERT_EQ(cards.size(), 5);
    for (OrderRowWidget* card : cards) {
        EXPECT_FALSE(firstPage.contains(card->orderId()));
        const Order shown = order(card->orderId());
        EXPECT_EQ(card->field(&Order::orderSign)->text(), shown.orderSign);
        EXPECT_EQ(card->field(&Order::wuliuCode)->text(), shown.wuliuCode);
    }
    // The list is ordered newest first: the second page goes on where the first stopped.
    EXPECT_LT(order(cards.first()->orderId()).numSign, order(firstPage.last()).numSign);
}

TEST_F(OrderListLayoutTest, OnAWideScreenTheLargePreviewFollowsTheCardTheSellerWorksIn) {
    storeLongOrders(15);
    MainWindow window(m_state);
    window.resize(1024, 740);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    LargePreview* large = window.orderList()->largePreview();
    EXPECT_FALSE(large->isVisible()) << "no room beside the cards at 1024 pixels";

    window.resize(1900, 1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return large->isVisible(); }));
    EXPECT_EQ(large->orderId(), window.rows().first()->orderId());
    OrderRowWidget* third = window.rows().at(2);
    third->field(&Order::buyName)->setFocus();
    EXPECT_EQ(large->orderId(), third->orderId());
    EXPECT_GT(large->pages()->page()->width(), 2 * third->preview()->width());

    QTest::mouseClick(window.nextPageButton(), Qt::LeftButton);
    EXPECT_EQ(large->orderId(), window.rows().first()->orderId());
}
