#pragma once

#include <QString>

namespace mldd::test {

// The marketplace pages a seller captures orders from: a day's list, and one order.
inline const QString kBatchSendPage = QStringLiteral("https://trade.taobao.com/trade/batch_send.htm");
inline const QString kOrderDetailPage = QStringLiteral("https://trade.taobao.com/trade/detail.htm");

} // namespace mldd::test
