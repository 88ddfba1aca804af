#pragma once

#include "shiplist/ComposeShippingList.h"

#include <gtest/gtest.h>

namespace mldd::test {

inline const QString kA5 = QStringLiteral("A5|148|210|8390|11905|1");

/** An order whose goods text has `rows` article lines of five parts. */
inline Order sampleOrder(int rows, int n = 1) {
    Order order;
    order.id = n;
    order.myId = QStringLiteral("淘宝:墨岚小店");
    order.orderSign = QStringLiteral("淘宝:2026%1").arg(31415926 + n);
    order.buyId = QStringLiteral("星星%1").arg(n);
    order.buyName = QStringLiteral("王小二%1").arg(n);
    order.buyPhone1 = QStringLiteral("1390000%1").arg(n, 4, 10, QLatin1Char('0'));
    order.buyZipcode = QStringLiteral("510000");
    order.buyAddressSheng = QStringLiteral("广东省");
    order.buyAddressShi = QStringLiteral("广州市");
    order.buyAddressXian = QStringLiteral("天河区");
    order.buyAddress = QStringLiteral("天河路%1号").arg(n);
    order.wuliuCode = QStringLiteral("YT40219374%1").arg(n, 2, 10, QLatin1Char('0'));
    order.buyLy = QStringLiteral("请尽快发货");
    order.sellerMem = QStringLiteral("送小礼物");
    QStringList goods;
    for (int i = 1; i <= rows; ++i)
        goods.append(QStringLiteral("商品%1 %2 12.5 1 %3")
                         .arg(i)
                         .arg(i % 3 + 1)
                         .arg(12.5 * (i % 3 + 1) - 1));
    order.buyGoods = goods.join(QStringLiteral("\r\n"));
    return order;
}

/** The pages of a composition that must have run to its end. */
inline ShippingListPages composed(const ShippingListPages& result) {
    if (result.stopped)
        ADD_FAILURE() << result.stopped->text.toStdString();
    return result;
}

} // namespace mldd::test
