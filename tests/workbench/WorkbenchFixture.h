#pragma once

#include "core/MainState.h"
#include "core/NumSign.h"
#include "core/Startup.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mldd::test {

/** A started program on a throw-away data folder, with helpers to store orders. */
class WorkbenchFixture : public ::testing::Test {
protected:
    WorkbenchFixture() : m_state(DataFolder(m_dir.path() + QStringLiteral("/data"))) {}

    void SetUp() override { ASSERT_TRUE(startUp(m_state, QString()).ok); }

    /** Stores orders numbered 1..count (order number = id) with the given goods. */
    QList<qint64> storeOrders(int count, const QString& goods = QStringLiteral("商品")) {
        QList<Order> orders(count);
        for (int i = 0; i < count; ++i) {
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(i + 1);
            orders[i].numSign = numSignOf(orders[i].orderSign);
            orders[i].buyGoods = goods + QString::number(i + 1);
        }
        return store(orders);
    }

    QList<qint64> store(QList<Order> orders) {
        OrderWriteRule rule;
        EXPECT_TRUE(OrderStore(*m_state.database).insert(orders, rule));
        QList<qint64> ids;
        for (const Order& order : orders)
            ids.append(order.id);
        m_state.requery();
        return ids;
    }

    Order order(qint64 id) { return OrderStore(*m_state.database).byId(id).value(); }

    void setGoods(qint64 id, const QString& goods) {
        Order changed = order(id);
        changed.buyGoods = goods;
        OrderStore(*m_state.database).update({changed});
    }

    QTemporaryDir m_dir;
    MainState m_state;
};

} // namespace mldd::test
