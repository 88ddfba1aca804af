#include "MillionOrders.h"

#include "core/NumSign.h"
#include "core/Startup.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

namespace mldd::bench {

QString millionOrdersFolder() {
    return QDir::tempPath() + QStringLiteral("/mldd-bench-1m/data");
}

Order sampleOrder(int i) {
    Order order;
    order.orderSign = QStringLiteral("淘宝:%1").arg(qint64(180000000000) + i * 7);
    order.numSign = numSignOf(order.orderSign);
    order.myId = QStringLiteral("淘宝:墨岚小店");
    order.buyId = QStringLiteral("buyer_%1").arg(i % 50000);
    order.buyName = QStringLiteral("张三%1").arg(i % 1000);
    order.buyPhone1 = QStringLiteral("138%1").arg(10000000 + i % 90000000);
    order.buyZipcode = QStringLiteral("550025");
    order.buyAddressSheng = QStringLiteral("贵州省");
    order.buyAddressShi = QStringLiteral("贵阳市");
    order.buyAddressXian = QStringLiteral("花溪区");
    order.buyAddress = QStringLiteral("花溪大道%1号%2栋").arg(i % 3000).arg(i % 30);
    order.buyGoods = QStringLiteral("棉麻衬衫 1 89.00\r\n帆布包 2 35.50");
    order.delivery = (i % 3) ? QStringLiteral("圆通") : QStringLiteral("顺丰");
    order.kdSign = (i % 5 < 2) ? 0 : 1;
    order.fhSign = (i % 5 < 3) ? 0 : 1;
    return order;
}

std::unique_ptr<MainState> startMillionOrders() {
    const DataFolder folder(millionOrdersFolder());
    const bool fresh = !QFile::exists(folder.databasePath());
    auto state = std::make_unique<MainState>(folder);
    if (!startUp(*state, QString()).ok)
        return nullptr;
    if (fresh) {
        constexpr int kBatch = 20000;
        for (int first = 0; first < kMillion; first += kBatch) {
            QList<Order> batch;
            batch.reserve(kBatch);
            for (int i = first; i < first + kBatch; ++i)
                batch.append(sampleOrder(i));
            OrderWriteRule rule;
            OrderStore(*state->database).insert(batch, rule);
        }
        QSqlQuery(state->database->connection()).exec(QStringLiteral("ANALYZE"));
        state->requery();
    }
    return state;
}

} // namespace mldd::bench
