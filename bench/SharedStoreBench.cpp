// The shared store on a PostgreSQL server against a station's own SQLite file,
// on a seller's year of orders (the store bench_seller_store builds, a million
// orders and a million captured numbers) and on its first 1,000 and 100,000
// orders: the migration, the first list page in the library and through
// `mldd-cli orders`, a print run's claim.
#include "BatchCaptureState.h"
#include "CliRun.h"
#include "TestPostgres.h"

#include "core/OrderClaims.h"
#include "core/OrderCursor.h"
#include "core/OrderFilter.h"
#include "core/OrderStore.h"
#include "core/StoreMigration.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <map>

#include <sys/wait.h>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

constexpr int kMillion = 1'000'000;

// The server, the stations and their copies on it, closed by main() while
// QtSql is still there: closed at the program's exit they crash it.
struct Stores {
    test::TestPostgres server;
    std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    std::map<int, std::unique_ptr<OrderDatabase>> stations;
    std::map<int, std::unique_ptr<OrderDatabase>> onServer;
};

std::unique_ptr<Stores>& kept() {
    static std::unique_ptr<Stores> stores = std::make_unique<Stores>();
    return stores;
}

test::TestPostgres& server() {
    return kept()->server;
}

// A station's own store: the first `orders` orders of the seller's year with
// their captured numbers, in a folder of its own (the year itself for a
// million). Null when bench_seller_store has not built the year yet.
OrderDatabase* station(int orders) {
    std::unique_ptr<OrderDatabase>& database = kept()->stations[orders];
    const QString year = bench::sellerStoreFolder(kMillion) + QStringLiteral("/mlddsj.db");
    if (database || !QFile::exists(bench::sellerStoreFolder(kMillion) + QStringLiteral("/built")))
        return database.get();
    if (orders == kMillion) {
        database = OrderDatabase::open(year, nullptr);
        return database.get();
    }
    auto& folder = kept()->folders[orders];
    folder = std::make_unique<QTemporaryDir>();
    database = OrderDatabase::open(folder->filePath(QStringLiteral("mlddsj.db")), nullptr);
    QSqlQuery copy(database->connection());
    copy.exec(QStringLiteral("attach database '%1' as year").arg(year));
    copy.exec(QStringLiteral("insert into order_data select * from year.order_data where id <= %1")
                  .arg(orders));
    copy.exec(QStringLiteral("insert into captured_numbers select * from year.captured_numbers "
                             "where order_sign in (select order_sign from order_data)"));
    copy.exec(QStringLiteral("insert into my_data select * from year.my_data"));
    copy.exec(QStringLiteral("detach database year"));
    return database.get();
}

QString serverName(int orders) {
    return QStringLiteral("orders%1").arg(orders);
}

// The station's orders on the server, copied once by the migration.
OrderDatabase* serverStore(int orders) {
    std::unique_ptr<OrderDatabase>& store = kept()->onServer[orders];
    if (!store && station(orders) && server().isRunning() &&
        server().createDatabase(serverName(orders))) {
        store = OrderDatabase::open(
            *StoreAddress::parseServer(server().address(serverName(orders))), nullptr);
        if (store && !migrateStore(*station(orders), *store, nullptr))
            store.reset();
    }
    return store.get();
}

// The whole migration of a station, into a fresh database each time.
void BM_Migrate(benchmark::State& bench) {
    OrderDatabase* from = station(int(bench.range(0)));
    if (!from) {
        bench.SkipWithError("no seller's store: run bench_seller_store first");
        return;
    }
    int run = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        const QString name = QStringLiteral("migrated%1_%2").arg(bench.range(0)).arg(++run);
        server().createDatabase(name);
        auto target =
            OrderDatabase::open(*StoreAddress::parseServer(server().address(name)), nullptr);
        bench.ResumeTiming();
        const std::optional<MigrationCount> count =
            target ? migrateStore(*from, *target, nullptr) : std::nullopt;
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
    ->Arg(kMillion)
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
    OrderDatabase* store = station(int(bench.range(0)));
    if (!store) {
        bench.SkipWithError("no seller's store: run bench_seller_store first");
        return;
    }
    firstUnprintedPage(bench, *store);
}
BENCHMARK(BM_FirstUnprintedPageSQLite)->Arg(1000)->Arg(kMillion)->Unit(benchmark::kMillisecond);

void BM_FirstUnprintedPagePostgreSQL(benchmark::State& bench) {
    OrderDatabase* store = serverStore(int(bench.range(0)));
    if (!store) {
        bench.SkipWithError("no PostgreSQL server or no seller's store");
        return;
    }
    firstUnprintedPage(bench, *store);
}
BENCHMARK(BM_FirstUnprintedPagePostgreSQL)->Arg(1000)->Arg(kMillion)->Unit(benchmark::kMillisecond);

// `mldd-cli orders` on the shared store, from process start to exit.
void BM_CliFirstPagePostgreSQL(benchmark::State& bench) {
    if (!serverStore(int(bench.range(0)))) {
        bench.SkipWithError("no PostgreSQL server or no seller's store");
        return;
    }
    const QStringList args{QStringLiteral("--database"),
                           server().address(serverName(int(bench.range(0)))),
                           QStringLiteral("orders")};
    for (auto _ : bench) {
        const bench::ProcessRun run = bench::runToEnd(QStringLiteral(MLDD_CLI), args);
        bench.SetIterationTime(run.ms / 1000);
        bench.counters["exit"] = WEXITSTATUS(run.status);
    }
}
BENCHMARK(BM_CliFirstPagePostgreSQL)
    ->Arg(1000)
    ->Arg(kMillion)
    ->UseManualTime()
    ->Iterations(10)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// A print run claims 300 listed orders and gives them back at its end.
void BM_ClaimAndRelease300(benchmark::State& bench) {
    if (!serverStore(kMillion)) {
        bench.SkipWithError("no PostgreSQL server or no seller's store");
        return;
    }
    OrderDatabase& database = *serverStore(kMillion);
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

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    kept().reset();
    return 0;
}
