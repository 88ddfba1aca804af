// The order database at a seller's scale: a million stored orders.
// The fixture is built once (about a minute) and kept in the system's temp folder.
#include "core/MainState.h"
#include "core/NumSign.h"
#include "core/Startup.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

constexpr int kOrders = 1'000'000;

QString fixtureFolder() {
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
    order.kdSign = (i % 5 < 2) ? 0 : 1; // four in ten still to print
    order.fhSign = (i % 5 < 3) ? 0 : 1;
    return order;
}

void insertOrders(OrderDatabase& database, int first, int count) {
    QList<Order> batch;
    batch.reserve(count);
    for (int i = first; i < first + count; ++i)
        batch.append(sampleOrder(i));
    OrderWriteRule rule;
    OrderStore(database).insert(batch, rule);
}

/** Opens the million-order fixture, building it the first time. */
std::unique_ptr<MainState> startFixture() {
    const DataFolder folder(fixtureFolder());
    const bool fresh = !QFile::exists(folder.databasePath());
    auto state = std::make_unique<MainState>(folder);
    if (!startUp(*state, QString()).ok)
        return nullptr;
    if (fresh) {
        constexpr int kBatch = 20000;
        for (int first = 0; first < kOrders; first += kBatch)
            insertOrders(*state->database, first, kBatch);
        QSqlQuery(state->database->connection()).exec(QStringLiteral("ANALYZE"));
        state->requery();
    }
    return state;
}

void BM_StartUpToFirstUnprintedPage(benchmark::State& bench) {
    startFixture(); // built outside the timing
    for (auto _ : bench) {
        MainState state{DataFolder(fixtureFolder())};
        startUp(state, QString());
        const QList<Order> page = OrderStore(*state.database).byIds(state.cursor.pageIds(1));
        benchmark::DoNotOptimize(page);
        bench.counters["listed"] = double(state.cursor.recordCount());
    }
}
BENCHMARK(BM_StartUpToFirstUnprintedPage)->Unit(benchmark::kMillisecond);

void BM_MoveToPage5000(benchmark::State& bench) {
    auto state = startFixture();
    const OrderStore store(*state->database);
    for (auto _ : bench) {
        state->currentPage = state->cursor.clampPage(5000);
        const QList<Order> page = store.byIds(state->cursor.pageIds(state->currentPage));
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(BM_MoveToPage5000)->Unit(benchmark::kMillisecond);

void BM_RequeryAllOrders(benchmark::State& bench) {
    auto state = startFixture();
    state->filter = OrderFilter::fromLists(OrderFilter::kAll, OrderFilter::kAll, OrderFilter::kAll);
    for (auto _ : bench) {
        state->requery();
        bench.counters["listed"] = double(state->cursor.recordCount());
    }
}
BENCHMARK(BM_RequeryAllOrders)->Unit(benchmark::kMillisecond);

void BM_StoreBatchOf1000(benchmark::State& bench) {
    auto state = startFixture();
    QList<Order> batch;
    for (int i = 0; i < 1000; ++i)
        batch.append(sampleOrder(kOrders + i));
    for (auto _ : bench) {
        QList<Order> orders = batch;
        OrderWriteRule rule;
        OrderStore(*state->database).insert(orders, rule);
        bench.PauseTiming();
        QSqlQuery(state->database->connection())
            .exec(QStringLiteral("delete from order_data where id > %1").arg(kOrders));
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_StoreBatchOf1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
