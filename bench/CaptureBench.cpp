// Capturing batch pages whose decode file is already on disk: a 1,000-order page
// into a fresh folder, and pages of 1,000 to 32,000 orders for a seller who has
// captured 100,000 orders before (the cost must grow with the page, not the past).
#include "BatchCaptureState.h"
#include "BatchPage.h"

#include "capture/PageCapture.h"
#include "core/CapturedNumbers.h"
#include "core/MainState.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace mldd;

namespace {

constexpr int kEarlierNumbers = 100000;

// The seller's list of captured numbers before each round.
void giveEarlierNumbers(bench::BatchCaptureState& batch, const QStringList& numbers) {
    OrderDatabase& database = *batch.state.database;
    database.inTransaction(
        [&] { return CapturedNumbers(database).add(QStringLiteral("其他:我的id"), numbers); });
}

// Captures a page of bench.range(0) orders for a seller with `earlierCount` captured numbers.
void captureRounds(benchmark::State& bench, int earlierCount) {
    bench::BatchCaptureState batch;
    QStringList earlier;
    for (int i = 0; i < earlierCount; ++i)
        earlier.append(QString::number(90000000000000LL + i));
    const QString page = bench::batchPage(int(bench.range(0)));
    const ServiceClient service;
    giveEarlierNumbers(batch, earlier);
    for (auto _ : bench) {
        const PageCaptureResult result =
            capturePage(batch.state, bench::BatchCaptureState::kAddress, page, service, true);
        bench.counters["stored"] = result.count.newOrders;
        bench.PauseTiming();
        batch.clearOrders();
        giveEarlierNumbers(batch, earlier);
        // Every round starts on fresh memory, as a seller's capture does; else small
        // pages would reuse the last round's buffers while big ones (past glibc's
        // mapping threshold) never can, and the sizes would not compare.
        malloc_trim(0);
        bench.ResumeTiming();
    }
}

void BM_CaptureBatchPage(benchmark::State& bench) {
    captureRounds(bench, 0);
}
BENCHMARK(BM_CaptureBatchPage)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_CaptureAfter100000Numbers(benchmark::State& bench) {
    captureRounds(bench, kEarlierNumbers);
}
BENCHMARK(BM_CaptureAfter100000Numbers)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Arg(8000)
    ->Arg(16000)
    ->Arg(32000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace
