#include "shiplist/PickingListPages.h"
#include "shiplist/ShippingLists.h"
#include "waybill/PagedOutput.h"
#include "waybill/TextMetrics.h"

#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

Order order(int n) {
    Order order;
    order.myId = QStringLiteral("淘宝:墨岚小店");
    order.orderSign = QStringLiteral("淘宝:%1").arg(202612050000LL + n);
    order.buyId = QStringLiteral("星星%1").arg(n);
    order.buyName = QStringLiteral("王小二%1").arg(n);
    order.buyPhone1 = QStringLiteral("139%1").arg(n, 8, 10, QLatin1Char('0'));
    order.buyZipcode = QStringLiteral("510000");
    order.buyAddressSheng = QStringLiteral("广东省");
    order.buyAddressShi = QStringLiteral("广州市");
    order.buyAddressXian = QStringLiteral("天河区");
    order.buyAddress = QStringLiteral("天河路%1号粤海天河城大厦三十层").arg(n);
    order.wuliuCode = QStringLiteral("YT%1").arg(4021937465LL + n);
    order.buyLy = QStringLiteral("请用顺丰发货，谢谢");
    order.sellerMem = QStringLiteral("送小礼物");
    QStringList goods;
    for (int i = 1; i <= 5; ++i)
        goods.append(QStringLiteral("纯棉连衣裙夏季新款%1号 %2 59.9 5").arg(n * 5 + i).arg(i));
    order.buyGoods = goods.join(QStringLiteral("\r\n"));
    return order;
}

SenderProfile sender() {
    SenderProfile profile;
    profile.myIdh = QStringLiteral("淘宝:墨岚小店");
    return profile; // no design of its own: the default one
}

const QString kA4 = QStringLiteral("A4|210|297|11904|16840|0|0|1");

// One list of five goods rows composed, fonts already measured.
void BM_ComposeOneShippingList(benchmark::State& state) {
    ShippingLists lists({sender()}, kA4, QDate(2026, 12, 5));
    const Order one = order(0);
    lists.compose(one);
    for (auto _ : state)
        benchmark::DoNotOptimize(lists.compose(one));
}
BENCHMARK(BM_ComposeOneShippingList)->Unit(benchmark::kMicrosecond);

// A print run's worth: 1,000 lists of five goods rows composed and painted into one PDF.
void BM_ThousandShippingListsIntoOnePdf(benchmark::State& state) {
    QTemporaryDir dir;
    for (auto _ : state) {
        ShippingLists lists({sender()}, kA4, QDate(2026, 12, 5));
        QPdfWriter writer(dir.filePath(QStringLiteral("lists.pdf")));
        writer.setResolution(1200);
        PagedOutput output(writer);
        for (int n = 0; n < 1000; ++n) {
            const ShippingListPages composed = lists.compose(order(n));
            for (const PageModel& page : composed.pages)
                output.addPage(page);
        }
        output.finish();
    }
}
BENCHMARK(BM_ThousandShippingListsIntoOnePdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// A day's picking list: 1,000 orders of three goods lines each, 200 distinct items, some coded,
// read, summed, laid out and written as a PDF.
void BM_PickingListOfThousandOrdersToPdf(benchmark::State& state) {
    QList<Order> orders;
    for (int n = 0; n < 1000; ++n) {
        Order one;
        one.id = n + 1;
        one.myId = QStringLiteral("淘宝:墨岚小店");
        one.delivery = n % 3 == 0 ? QStringLiteral("圆通") : QStringLiteral("中通");
        QStringList goods;
        for (int i = 0; i < 3; ++i) {
            const int item = (n * 3 + i) % 200;
            goods.append(QStringLiteral("纯棉连衣裙夏季新款 %1号 %2 %3 59.9")
                             .arg(item)
                             .arg(item % 2 ? QStringLiteral("编码:LYQ%1").arg(item) : QString())
                             .arg(i + 1));
        }
        one.buyGoods = goods.join(QStringLiteral("\r\n"));
        orders.append(one);
    }
    QTemporaryDir dir;
    for (auto _ : state) {
        TextMetrics metrics;
        const QList<PageModel> pages =
            pickingListOf(orders, {sender()}, QDate(2026, 12, 7), true, metrics);
        writePdf(dir.filePath(QStringLiteral("picking.pdf")), pages);
    }
}
BENCHMARK(BM_PickingListOfThousandOrdersToPdf)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
