// Start-up, paging and storing on a database of a million orders.
#include "MillionOrders.h"

#include "core/Startup.h"

#include <QSqlQuery>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

void BM_StartUpToFirstUnprintedPage(benchmark::State& bench) {
    bench::startMillionOrders(); // built outside the timing
    for (auto _ : bench) {
        MainState state{DataFolder(bench::millionOrdersFolder())};
        startUp(state, QString());
        const QList<Order> page = OrderStore(*state.database).byIds(state.cursor.pageIds(1));
        benchmark::DoNotOptimize(page);
        bench.counters["listed"] = double(state.cursor.recordCount());
    }
}
BENCHMARK(BM_StartUpToFirstUnprintedPage)->Unit(benchmark::kMillisecond);

void BM_MoveToPage5000(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    const OrderStore store(*state->database);
    for (auto _ : bench) {
        state->currentPage = state->cursor.clampPage(5000);
        const QList<Order> page = store.byIds(state->cursor.pageIds(state->currentPage));
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(BM_MoveToPage5000)->Unit(benchmark::kMillisecond);

void BM_StoreBatchOf1000(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    QList<Order> batch;
    for (int i = 0; i < 1000; ++i)
        batch.append(bench::sampleOrder(bench::kMillion + i));
    for (auto _ : bench) {
        QList<Order> orders = batch;
        OrderWriteRule rule;
        OrderStore(*state->database).insert(orders, rule);
        bench.PauseTiming();
        QSqlQuery(state->database->connection())
            .exec(QStringLiteral("delete from order_data where id > %1").arg(bench::kMillion));
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_StoreBatchOf1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
