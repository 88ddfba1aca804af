// The shared store on a PostgreSQL server against a station's own SQLite file,
// a million orders each: the first list page, a print run's claim, the migration.
#include "MillionOrders.h"
#include "TestPostgres.h"

#include "core/OrderClaims.h"
#include "core/OrderFilter.h"
#include "core/OrderStore.h"
#include "core/StoreMigration.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

test::TestPostgres& server() {
    static test::TestPostgres instance;
    return instance;
}

// The million orders on the server, copied once from the SQLite fixture by the migration.
std::unique_ptr<OrderDatabase>& serverStore() {
    static std::unique_ptr<OrderDatabase> store;
    if (!store && server().isRunning() && server().createDatabase(QStringLiteral("million"))) {
        auto station = bench::startMillionOrders();
        store = OrderDatabase::open(
            *StoreAddress::parseServer(server().address(QStringLiteral("million"))), nullptr);
        if (store && !migrateStore(*station->database, *store, nullptr))
            store.reset();
    }
    return store;
}

// The whole migration of a million orders, into a fresh database each time.
void BM_MigrateMillionOrders(benchmark::State& bench) {
    auto station = bench::startMillionOrders();
    int run = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        const QString name = QStringLiteral("migrated%1").arg(++run);
        server().createDatabase(name);
        auto target =
            OrderDatabase::open(*StoreAddress::parseServer(server().address(name)), nullptr);
        bench.ResumeTiming();
        const std::optional<MigrationCount> count =
            target ? migrateStore(*station->database, *target, nullptr) : std::nullopt;
        bench.counters["orders"] = count ? double(count->orders) : -1;
    }
}
BENCHMARK(BM_MigrateMillionOrders)->Unit(benchmark::kSecond)->Iterations(1);

void firstUnprintedPage(benchmark::State& bench, OrderDatabase& database) {
    const OrderStore store(database);
    const OrderFilter filter = OrderFilter::initial();
    for (auto _ : bench) {
        const std::vector<qint64> ids = store.listed(filter.condition);
        const QList<Order> page =
            store.byIds(QList<qint64>(ids.begin(), ids.begin() + std::min<size_t>(ids.size(), 10)));
        benchmark::DoNotOptimize(page);
        bench.counters["listed"] = double(ids.size());
    }
}

void BM_FirstUnprintedPageSQLite(benchmark::State& bench) {
    auto state = bench::startMillionOrders();
    firstUnprintedPage(bench, *state->database);
}
BENCHMARK(BM_FirstUnprintedPageSQLite)->Unit(benchmark::kMillisecond);

void BM_FirstUnprintedPagePostgreSQL(benchmark::State& bench) {
    if (!serverStore()) {
        bench.SkipWithError("no PostgreSQL server");
        return;
    }
    firstUnprintedPage(bench, *serverStore());
}
BENCHMARK(BM_FirstUnprintedPagePostgreSQL)->Unit(benchmark::kMillisecond);

// A print run claims 300 listed orders and gives them back at its end.
void BM_ClaimAndRelease300(benchmark::State& bench) {
    if (!serverStore()) {
        bench.SkipWithError("no PostgreSQL server");
        return;
    }
    OrderDatabase& database = *serverStore();
    const std::vector<qint64> listed =
        OrderStore(database).listed(OrderFilter::initial().condition);
    const QList<qint64> ids(listed.begin(), listed.begin() + 300);
    QTemporaryDir folder;
    OrderClaims claims(database, DataFolder(folder.path()), ErrorLog(folder.filePath("ERR.TXT")));
    for (auto _ : bench) {
        const std::optional<QList<qint64>> claimed =
            claims.claim(ids, OrderClaims::Print::Waybills);
        bench.counters["claimed"] = claimed ? double(claimed->size()) : -1;
        claims.release(ids);
    }
}
BENCHMARK(BM_ClaimAndRelease300)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
