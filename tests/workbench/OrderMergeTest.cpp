#include "WorkbenchFixture.h"

#include "workbench/GoodsLines.h"
#include "workbench/OrderMerge.h"

using namespace mldd;

namespace {

class OrderMergeTest : public test::WorkbenchFixture {
protected:
    void select(const QList<qint64>& ids) {
        m_state.selection.clear();
        for (qint64 id : ids)
            m_state.selection.toggle(id, true);
    }

    // Every merge target owns its first dj_type lines; its absorbed orders point back to it.
    void expectInvariant() {
        for (qint64 id : OrderStore(*m_state.database).allById()) {
            const Order target = order(id);
            if (target.djType <= 0)
                continue;
            for (const QString& part : target.hbDjId.split(u'|', Qt::SkipEmptyParts)) {
                const Order absorbed = order(part.toLongLong());
                EXPECT_EQ(absorbed.djType, -1) << "order " << absorbed.id;
                EXPECT_EQ(absorbed.hbDjId, QString::number(target.id));
            }
        }
    }
};

} // namespace

TEST_F(OrderMergeTest, MergeThenSplitRestoresBothOrders) {
    const QList<qint64> ids = storeOrders(2);
    setGoods(ids[0], QStringLiteral("a1"));
    setGoods(ids[1], QStringLiteral("b1\r\nb2"));
    select({ids[0], ids[1]});
    ASSERT_FALSE(OrderMerge::mergeSelected(m_state));

    Order a = order(ids[0]);
    EXPECT_EQ(a.djType, 1);
    EXPECT_EQ(a.buyGoods, QStringLiteral("a1\r\nb1\r\nb2"));
    EXPECT_EQ(a.hbDjId, u'|' + QString::number(ids[1]));
    EXPECT_EQ(order(ids[1]).djType, -1);
    EXPECT_EQ(m_state.cursor.recordCount(), 1);
    EXPECT_TRUE(m_state.selection.isEmpty());
    expectInvariant();

    ASSERT_FALSE(OrderMerge::split(m_state, ids[0]));
    a = order(ids[0]);
    const Order b = order(ids[1]);
    EXPECT_EQ(a.buyGoods, QStringLiteral("a1"));
    EXPECT_EQ(a.djType, 0);
    EXPECT_EQ(a.cfSign, 1);
    EXPECT_TRUE(a.hbDjId.isEmpty());
    EXPECT_EQ(b.djType, 0);
    EXPECT_EQ(b.cfSign, 1);
    EXPECT_EQ(b.buyGoods, QStringLiteral("b1\r\nb2"));
    EXPECT_EQ(m_state.cursor.recordCount(), 2);
}

TEST_F(OrderMergeTest, MergingAgainKeepsEarlierAbsorbedOrdersAndOwnLines) {
    const QList<qint64> ids = storeOrders(4);
    select({ids[0], ids[1]});
    ASSERT_FALSE(OrderMerge::mergeSelected(m_state));
    select({ids[0], ids[2]});
    ASSERT_FALSE(OrderMerge::mergeSelected(m_state));
    Order a = order(ids[0]);
    EXPECT_EQ(a.djType, 1);
    EXPECT_EQ(a.hbDjId, QStringLiteral("|%1|%2").arg(ids[1]).arg(ids[2]));
    EXPECT_EQ(GoodsLines::nonEmptyCount(a.buyGoods), 3);

    // The merged order is itself absorbed by D: its earlier orders move to D with it.
    select({ids[3], ids[0]});
    ASSERT_FALSE(OrderMerge::mergeSelected(m_state));
    const Order d = order(ids[3]);
    EXPECT_EQ(d.djType, 1);
    EXPECT_EQ(d.buyGoods.split(QStringLiteral("\r\n")),
              (QStringList{"商品4", "商品1", "商品2", "商品3"}));
    EXPECT_EQ(order(ids[0]).buyGoods, QStringLiteral("商品1"));
    expectInvariant();

    ASSERT_FALSE(OrderMerge::split(m_state, ids[3]));
    for (qint64 id : ids) {
        EXPECT_EQ(order(id).djType, 0);
        EXPECT_EQ(GoodsLines::nonEmptyCount(order(id).buyGoods), 1);
    }
}

TEST_F(OrderMergeTest, MessagesAndMemosAreJoinedAndGivenBackOnSplit) {
    const QList<qint64> ids = storeOrders(4);
    const QStringList messages{"请周末送", "不要放快递柜", "", "请周末送"};
    const QStringList memos{"", "送贴纸", "赠品：钥匙扣", ""};
    for (int i = 0; i < ids.size(); ++i) {
        Order changed = order(ids[i]);
        changed.buyLy = messages[i];
        changed.sellerMem = memos[i];
        OrderStore(*m_state.database).update({changed});
    }
    select({ids[1], ids[2]});
    ASSERT_FALSE(OrderMerge::mergeSelected(m_state));
    // The merged order is absorbed in turn: its own and its earlier orders' notes come along.
    select({ids[0], ids[1], ids[3]});
    ASSERT_FALSE(OrderMerge::mergeSelected(m_state));
    const Order merged = order(ids[0]);
    EXPECT_EQ(merged.buyLy, QStringLiteral("请周末送；不要放快递柜；请周末送"));
    EXPECT_EQ(merged.sellerMem, QStringLiteral("赠品：钥匙扣；送贴纸"));

    // Orders taken in by the import join the same way.
    Order newcomer = order(ids[2]);
    Order target = order(ids[3]);
    OrderMerge::absorb(target, newcomer);
    EXPECT_EQ(target.sellerMem, QStringLiteral("赠品：钥匙扣"));
    EXPECT_EQ(target.buyLy, QStringLiteral("请周末送"));

    ASSERT_FALSE(OrderMerge::split(m_state, ids[0]));
    for (int i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(order(ids[i]).buyLy, messages[i]) << "order " << i;
        EXPECT_EQ(order(ids[i]).sellerMem, memos[i]) << "order " << i;
    }
}

TEST_F(OrderMergeTest, SelectedIdsMatchAsWholeItems) {
    const QList<qint64> ids = storeOrders(20);
    select({2, 20});
    ASSERT_FALSE(OrderMerge::mergeSelected(m_state));
    EXPECT_EQ(order(2).djType, 1);
    EXPECT_EQ(order(20).djType, -1);
    EXPECT_EQ(order(12).djType, 0);
    EXPECT_EQ(order(12).buyGoods, QStringLiteral("商品12"));
    // The target's page is shown: order 2 is 18th of the 19 listed, on page 2.
    EXPECT_EQ(m_state.currentPage, 2);
}

TEST_F(OrderMergeTest, RefusedMergesChangeNothing) {
    const QList<qint64> ids = storeOrders(3);
    EXPECT_EQ(
        OrderMerge::mergeSelected(m_state)->text,
        QStringLiteral("请先选择合并的订单！\r\n单据的商品信息将被合并到您第一个选中的单据中！"));
    select({ids[0]});
    EXPECT_EQ(OrderMerge::mergeSelected(m_state)->text,
              QStringLiteral("至少选中两个订单，才能合并！"));

    select({ids[0], ids[1], 999});
    ASSERT_TRUE(OrderMerge::mergeSelected(m_state));
    setGoods(ids[2], QStringLiteral("\r\n"));
    select({ids[2], ids[0]});
    ASSERT_TRUE(OrderMerge::mergeSelected(m_state));
    for (qint64 id : ids)
        EXPECT_EQ(order(id).djType, 0);
    EXPECT_TRUE(OrderMerge::split(m_state, ids[0]));
}
