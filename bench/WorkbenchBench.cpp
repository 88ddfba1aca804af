// The list's redraw after a filter or page change, and merging, on a million orders.
#include "MillionOrders.h"

#include "workbench/OrderListing.h"
#include "workbench/OrderMerge.h"
#include "workbench/TrackingQueue.h"

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

// The print-state filter changes and the first page of the new list is read.
void BM_ChangeFilterAndRedraw(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    const QStringList states{QStringLiteral("所有"), QStringLiteral("快递单未打"),
                             QStringLiteral("发货单已打")};
    int next = 0;
    for (auto _ : bench) {
        state->printStateChoice = states.at(next++ % states.size());
        OrderListing::applyFilter(*state);
        benchmark::DoNotOptimize(OrderListing::currentRows(*state));
    }
}
BENCHMARK(BM_ChangeFilterAndRedraw)->Unit(benchmark::kMillisecond);

void BM_NextPageAndRedraw(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    for (auto _ : bench) {
        if (OrderListing::nextPage(*state))
            state->currentPage = 1;
        benchmark::DoNotOptimize(OrderListing::currentRows(*state));
    }
}
BENCHMARK(BM_NextPageAndRedraw)->Unit(benchmark::kMillisecond);

// Ten listed orders merged into the first (list refreshed), then split again untimed.
void BM_MergeTenOrders(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    const QList<qint64> ten = state->cursor.pageIds(1);
    for (auto _ : bench) {
        for (qint64 id : ten)
            state->selection.toggle(id, true);
        benchmark::DoNotOptimize(OrderMerge::mergeSelected(*state));
        bench.PauseTiming();
        OrderMerge::split(*state, ten.first());
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_MergeTenOrders)->Unit(benchmark::kMillisecond);

// One scanned number in the 填写运单号 mode: checked against its courier and against every stored
// order's number, then given to the waiting order (taken back untimed).
void BM_ScanOneTrackingNumber(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    TrackingQueue queue(*state->database,
                        OrderStore(*state->database).byIds(state->cursor.pageIds(1)));
    for (auto _ : bench) {
        benchmark::DoNotOptimize(queue.offer(QStringLiteral("YT4021937465"), false));
        bench.PauseTiming();
        queue.takeBack();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_ScanOneTrackingNumber)->Unit(benchmark::kMillisecond);

// A hundred tracking numbers stored as one batch, then undone as one.
void BM_StoreAndUndoHundredNumbers(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    QList<TrackingBatch::Entry> entries;
    for (int page = 1; page <= 10; ++page)
        for (qint64 id : state->cursor.pageIds(page))
            entries.append({id, QStringLiteral("YT%1").arg(4021937000 + entries.size())});
    for (auto _ : bench) {
        std::variant<TrackingBatch, Notice> stored = TrackingBatch::store(*state->database, entries);
        benchmark::DoNotOptimize(std::get<TrackingBatch>(stored).undo(*state->database));
    }
}
BENCHMARK(BM_StoreAndUndoHundredNumbers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
