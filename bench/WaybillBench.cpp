#include "waybill/PagedOutput.h"
#include "waybill/WaybillPages.h"

#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

SenderProfile sender() {
    SenderProfile profile;
    profile.myIdh = QStringLiteral("淘宝:墨岚小店");
    profile.name = QStringLiteral("陈经理");
    profile.company = QStringLiteral("墨岚小店");
    profile.phone1 = QStringLiteral("0755-86001234");
    profile.address = QStringLiteral("深圳市宝安区西乡街道宝源路一百二十八号");
    profile.start = QStringLiteral("深圳");
    return profile;
}

// The shipped forms: the couriers' pre-printed ones, and the whole waybills on blank labels.
const QStringList kPrePrintedForms{"圆通", "申通", "中通", "韵达", "顺丰", "EMS"};
const QStringList kThermalForms{"热敏76x130", "热敏100x150", "热敏100x180"};

Order order(int n, const QStringList& couriers = kPrePrintedForms) {
    Order order;
    order.myId = QStringLiteral("淘宝:墨岚小店");
    order.delivery = couriers[n % couriers.size()];
    order.buyName = QStringLiteral("王小二%1").arg(n);
    order.buyPhone1 = QStringLiteral("139%1").arg(n, 8, 10, QLatin1Char('0'));
    order.buyAddressSheng = QStringLiteral("广东省");
    order.buyAddressShi = QStringLiteral("广州市");
    order.buyAddressXian = QStringLiteral("天河区");
    order.buyAddress = QStringLiteral("天河路%1号粤海天河城大厦三十层").arg(n);
    order.buyEnd = QStringLiteral("广州");
    order.buyNjpm = QStringLiteral("服装");
    order.wuliuCode = QStringLiteral("YT%1").arg(4021937465LL + n);
    return order;
}

WaybillPages pages() {
    const DataFolder folder(QStringLiteral(MLDD_SHIPPED_DATA));
    return WaybillPages(folder,
                        ErrorLog(QDir::temp().filePath(QStringLiteral("mldd-bench-ERR.TXT"))),
                        PrintSettings{}, {sender()}, QDate(2026, 5, 1));
}

// One order laid out on its template, the template already read.
void BM_LayOutOneWaybill(benchmark::State& state) {
    WaybillPages waybills = pages();
    const Order one = order(0);
    waybills.page(one);
    for (auto _ : state)
        benchmark::DoNotOptimize(waybills.page(one));
}
BENCHMARK(BM_LayOutOneWaybill)->Unit(benchmark::kMicrosecond);

// The same for an order without a contents name: the sender's default is read from its file.
void BM_LayOutOneWaybillWithTheSendersDefaultName(benchmark::State& state) {
    QTemporaryDir dir;
    const DataFolder folder(dir.filePath(QStringLiteral("data")));
    QDir().mkpath(folder.file(QStringLiteral("Delivery")));
    for (const QString extension : {".mlg", ".mlm"})
        QFile::copy(QStringLiteral(MLDD_SHIPPED_DATA "/Delivery/圆通") + extension,
                    folder.file(QStringLiteral("Delivery/圆通") + extension));
    QFile names(folder.file(QStringLiteral("淘宝;墨岚小店.njp")));
    names.open(QIODevice::WriteOnly);
    names.write(QStringLiteral("0日用品[NJF]日用品 服装 鞋\r\n").toUtf8());
    names.close();
    WaybillPages waybills(folder, ErrorLog(dir.filePath(QStringLiteral("ERR.TXT"))),
                          PrintSettings{}, {sender()}, QDate(2026, 5, 1));
    Order one = order(0);
    one.buyNjpm.clear();
    waybills.page(one);
    for (auto _ : state)
        benchmark::DoNotOptimize(waybills.page(one));
}
BENCHMARK(BM_LayOutOneWaybillWithTheSendersDefaultName)->Unit(benchmark::kMicrosecond);

// A print run's worth: 1,000 orders laid out and painted into one PDF, over the six pre-printed
// forms (0) or the three thermal ones (1), whose Code 128 is laid out for a 203 dpi printer.
void BM_ThousandWaybillsIntoOnePdf(benchmark::State& state) {
    const QStringList& forms = state.range(0) == 0 ? kPrePrintedForms : kThermalForms;
    state.SetLabel(state.range(0) == 0 ? "pre-printed forms" : "thermal labels");
    QTemporaryDir dir;
    for (auto _ : state) {
        WaybillPages waybills = pages();
        QPdfWriter writer(dir.filePath(QStringLiteral("run.pdf")));
        writer.setResolution(1200);
        PagedOutput output(writer, {}, kDefaultDotsPerInch);
        for (int n = 0; n < 1000; ++n)
            output.addPage(std::get<PageModel>(waybills.page(order(n, forms))));
        output.finish();
    }
}
BENCHMARK(BM_ThousandWaybillsIntoOnePdf)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
