// Capturing a 1,000-order batch page whose decode file is already on disk.
#include "BatchPage.h"

#include "address/PlaceTable.h"
#include "capture/PageCapture.h"
#include "capture/PageKey.h"
#include "core/MainState.h"
#include "core/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

const QString kAddress = QStringLiteral("https://trade.taobao.com/trade/batch_send.htm");

void BM_CaptureBatchPage(benchmark::State& bench) {
    QTemporaryDir dir;
    MainState state{DataFolder(dir.path() + QStringLiteral("/data"))};
    QDir().mkpath(state.folder.file(QStringLiteral("code")));
    QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"),
                state.folder.file(QStringLiteral("code/Area.txt")));
    QFile rules(state.folder.file(QStringLiteral("code/") + *pageKeyOf(kAddress) + ".dat"));
    rules.open(QIODevice::WriteOnly);
    rules.write(bench::batchPageRules().toUtf8());
    rules.close();
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    startUp(state, QString(), hooks);
    QSqlDatabase db = state.database->connection();
    QSqlQuery(db).exec(QStringLiteral("insert into my_data (my_idh) values ('其他:我的id')"));
    state.profiles = SenderProfile::loadAll(db, state.log);

    const QString page = bench::batchPage(int(bench.range(0)));
    const ServiceClient service;
    for (auto _ : bench) {
        const PageCaptureResult result = capturePage(state, kAddress, page, service, true);
        bench.counters["stored"] = result.count.newOrders;
        bench.PauseTiming();
        QSqlQuery(db).exec(QStringLiteral("delete from order_data"));
        QFile::remove(state.folder.file(QStringLiteral("其他;我的id.dat")));
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_CaptureBatchPage)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
