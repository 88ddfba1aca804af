// Capturing a 1,000-order batch page whose decode file is already on disk.
#include "BatchCaptureState.h"
#include "BatchPage.h"

#include "address/PlaceTable.h"
#include "capture/PageCapture.h"
#include "capture/PageKey.h"
#include "core/MainState.h"
#include "core/Startup.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

void BM_CaptureBatchPage(benchmark::State& bench) {
    bench::BatchCaptureState batch;
    const QString page = bench::batchPage(int(bench.range(0)));
    const ServiceClient service;
    for (auto _ : bench) {
        const PageCaptureResult result =
            capturePage(batch.state, bench::BatchCaptureState::kAddress, page, service, true);
        bench.counters["stored"] = result.count.newOrders;
        bench.PauseTiming();
        batch.clearOrders();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_CaptureBatchPage)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
