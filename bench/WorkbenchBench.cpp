// The list's redraw after a filter or page change, and merging, on a million orders.
#include "MillionOrders.h"

#include "workbench/OrderListing.h"
#include "workbench/OrderMerge.h"

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

} // namespace

BENCHMARK_MAIN();
