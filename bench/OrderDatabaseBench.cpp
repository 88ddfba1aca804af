// Start-up, paging and storing on a database of a million orders.
#include "MillionOrders.h"

#include "core/Startup.h"
#include "core/StoreBackup.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

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

// The first batch after a start, as the day's first capture: right after the first page,
// while the look at the orders table's indexes that the window begins behind that page
// may still run, and ten seconds later; on a store as this program closed it (no look
// needed), and on one another program wrote to since (its note taken away). Timed: the batch;
// counted: the start to the first page, as the window has it.
void BM_FirstBatchAfterStart(benchmark::State& bench) {
    bench::startMillionOrders();
    const auto later = std::chrono::seconds(bench.range(0));
    const bool leftByThisProgram = bench.range(1) != 0;
    const QString store = DataFolder(bench::millionOrdersFolder()).databasePath();
    double firstPageMs = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        if (!leftByThisProgram)
            QFile::remove(store + QStringLiteral("-seal"));
        {
            QElapsedTimer started;
            started.start();
            MainState state{DataFolder(bench::millionOrdersFolder())};
            startUp(state, QString());
            benchmark::DoNotOptimize(OrderStore(*state.database).byIds(state.cursor.pageIds(1)));
            state.database->beginIndexCheck();
            firstPageMs += double(started.nsecsElapsed()) / 1e6;
            std::this_thread::sleep_for(later);
            QList<Order> batch{bench::sampleOrder(bench::kMillion)};
            OrderWriteRule rule;
            bench.ResumeTiming();
            OrderStore(*state.database).insert(batch, rule);
            bench.PauseTiming();
            QSqlQuery(state.database->connection())
                .exec(QStringLiteral("delete from order_data where id > %1").arg(bench::kMillion));
        }
        bench.ResumeTiming();
    }
    bench.counters["first_page_ms"] = firstPageMs / double(bench.iterations());
}
BENCHMARK(BM_FirstBatchAfterStart)
    ->ArgsProduct({{0, 10}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Opening the store at start-up: a store this big has only its header and schema read.
void BM_OpenWithBoundedCheck(benchmark::State& bench) {
    bench::startMillionOrders();
    for (auto _ : bench) {
        QString message;
        const auto database =
            OrderDatabase::open(DataFolder(bench::millionOrdersFolder()).databasePath(), &message);
        benchmark::DoNotOptimize(database.get());
    }
}
BENCHMARK(BM_OpenWithBoundedCheck)->Unit(benchmark::kMillisecond);

// What the whole quick check would cost: why start-up leaves it to the daily check.
void BM_WholeQuickCheck(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    for (auto _ : bench) {
        QSqlQuery check(state->database->connection());
        check.exec(QStringLiteral("PRAGMA quick_check"));
        check.next();
        bench.counters["ok"] = check.value(0).toString() == QStringLiteral("ok") ? 1 : 0;
    }
}
BENCHMARK(BM_WholeQuickCheck)->Unit(benchmark::kMillisecond)->Iterations(1);

// The day's backup of a million orders, made once a day by the daily check.
void BM_DailyBackup(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    QTemporaryDir elsewhere;
    StoreBackup backups(DataFolder(elsewhere.path()));
    QDateTime day(QDate(2026, 1, 1), QTime(9, 0));
    for (auto _ : bench) {
        QString error;
        benchmark::DoNotOptimize(backups.make(*state->database, day, &error));
        day = day.addDays(1);
    }
}
BENCHMARK(BM_DailyBackup)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
