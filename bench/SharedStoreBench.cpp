// The shared store on a PostgreSQL server against a station's own SQLite file,
// a million orders each: the first list page, a print run's claim, the migration.
#include "MillionOrders.h"
#include "TestPostgres.h"

#include "core/OrderClaims.h"
#include "core/OrderCursor.h"
#include "core/Startup.h"
#include "core/OrderFilter.h"
#include "core/OrderStore.h"
#include "core/StoreMigration.h"

#include <QTemporaryDir>

#include <map>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

test::TestPostgres& server() {
    static test::TestPostgres instance;
    return instance;
}

// A station's own store of `orders` orders: the million of the fixture, or a
// smaller one made the same way in a folder of its own.
MainState& station(int orders) {
    static std::map<int, std::unique_ptr<MainState>> stations;
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    std::unique_ptr<MainState>& state = stations[orders];
    if (state)
        return *state;
    if (orders == bench::kMillion) {
        state = bench::startMillionOrders();
        return *state;
    }
    folders[orders] = std::make_unique<QTemporaryDir>();
    state = std::make_unique<MainState>(DataFolder(folders[orders]->path()));
    startUp(*state, QString());
    QList<Order> all;
    for (int i = 0; i < orders; ++i)
        all.append(bench::sampleOrder(i));
    OrderWriteRule rule;
    OrderStore(*state->database).insert(all, rule);
    return *state;
}

// The station's orders on the server, copied once by the migration.
OrderDatabase* serverStore(int orders) {
    static std::map<int, std::unique_ptr<OrderDatabase>> stores;
    std::unique_ptr<OrderDatabase>& store = stores[orders];
    const QString name = QStringLiteral("orders%1").arg(orders);
    if (!store && server().isRunning() && server().createDatabase(name)) {
        store = OrderDatabase::open(*StoreAddress::parseServer(server().address(name)), nullptr);
        if (store && !migrateStore(*station(orders).database, *store, nullptr))
            store.reset();
    }
    return store.get();
}

// The whole migration of a station, into a fresh database each time.
void BM_Migrate(benchmark::State& bench) {
    MainState& from = station(int(bench.range(0)));
    int run = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        const QString name = QStringLiteral("migrated%1_%2").arg(bench.range(0)).arg(++run);
        server().createDatabase(name);
        auto target =
            OrderDatabase::open(*StoreAddress::parseServer(server().address(name)), nullptr);
        bench.ResumeTiming();
        const std::optional<MigrationCount> count =
            target ? migrateStore(*from.database, *target, nullptr) : std::nullopt;
        bench.counters["orders"] = count ? double(count->orders) : -1;
        bench.PauseTiming();
        target.reset();
        server().psql(QStringLiteral("postgres"), QStringLiteral("drop database %1").arg(name));
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_Migrate)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(bench::kMillion)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// As the list shows it: the count and the first ten of the unprinted orders.
void firstUnprintedPage(benchmark::State& bench, OrderDatabase& database) {
    const OrderStore store(database);
    const OrderFilter filter = OrderFilter::initial();
    for (auto _ : bench) {
        OrderCursor cursor;
        cursor.requery(store, filter.condition);
        const QList<Order> page = store.byIds(cursor.pageIds(1));
        benchmark::DoNotOptimize(page);
        bench.counters["listed"] = double(cursor.recordCount());
    }
}

void BM_FirstUnprintedPageSQLite(benchmark::State& bench) {
    firstUnprintedPage(bench, *station(int(bench.range(0))).database);
}
BENCHMARK(BM_FirstUnprintedPageSQLite)
    ->Arg(1000)
    ->Arg(bench::kMillion)
    ->Unit(benchmark::kMillisecond);

void BM_FirstUnprintedPagePostgreSQL(benchmark::State& bench) {
    OrderDatabase* store = serverStore(int(bench.range(0)));
    if (!store) {
        bench.SkipWithError("no PostgreSQL server");
        return;
    }
    firstUnprintedPage(bench, *store);
}
BENCHMARK(BM_FirstUnprintedPagePostgreSQL)
    ->Arg(1000)
    ->Arg(bench::kMillion)
    ->Unit(benchmark::kMillisecond);

// A print run claims 300 listed orders and gives them back at its end.
void BM_ClaimAndRelease300(benchmark::State& bench) {
    if (!serverStore(bench::kMillion)) {
        bench.SkipWithError("no PostgreSQL server");
        return;
    }
    OrderDatabase& database = *serverStore(bench::kMillion);
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
