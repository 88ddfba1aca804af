// A seller's year: stores of 1,000 and 1,000,000 orders with as many captured
// numbers, built the way a seller gets them (by capturing batch pages), kept in
// the system's temp folder between runs. Measured on each: `mldd-cli orders`
// from process start to exit, the capture of a 5-order page (time in-process;
// time and peak memory of `mldd-cli capture`), and of 8k-, 16k- and 32k-order pages;
// the search index built from nothing (its share of the store, and the daily check's
// merge of its parts after), the first search after a captured page, a search of each
// field with keys of 1 to 6 characters on a store as the daily check leaves it, and
// the daily backup. The search, the index and the backup are measured at 100,000
// orders too, for how they grow; a search's first page and its count apart.
#include "BatchCaptureState.h"
#include "BatchPage.h"
#include "CliRun.h"

#include "capture/PageCapture.h"
#include "core/CapturedNumbers.h"
#include "core/DataFolder.h"
#include "core/MainState.h"
#include "core/OrderDatabase.h"
#include "core/OrderSearchIndex.h"
#include "core/StoreBackup.h"
#include "workbench/OrderSearch.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <sys/wait.h>

using namespace mldd;

namespace {

constexpr int kPageLimit = 32000;
// Numbers of the pages measured: above every stored one, so they are new each round.
constexpr int kMeasuredFirst = 50'000'000;

/**
 * Leaves a built store as the window leaves it at the end of a day: its indexes looked at
 * once and the file sealed, so that the next start's first batch needs no look.
 */
void closeAsTheWindowDoes(const QString& folder) {
    QString message;
    const auto database = OrderDatabase::open(DataFolder(folder).databasePath(), &message);
    if (database)
        database->inTransaction([] { return true; });
}

/** The started program on the store of `orders` orders, built the first time. */
bench::BatchCaptureState& sellerStore(int orders) {
    // Kept to the process's end: a store closed after the application is gone crashes.
    static auto* stores = new std::map<int, std::unique_ptr<bench::BatchCaptureState>>;
    std::unique_ptr<bench::BatchCaptureState>& kept = (*stores)[orders];
    if (kept)
        return *kept;
    const QString folder = bench::sellerStoreFolder(orders);
    const QString built = folder + QStringLiteral("/built");
    const bool fresh = !QFile::exists(built);
    if (fresh)
        QDir(folder).removeRecursively();
    else
        closeAsTheWindowDoes(folder);
    kept = std::make_unique<bench::BatchCaptureState>(folder);
    if (fresh) {
        const ServiceClient service;
        for (int first = 1; first <= orders; first += kPageLimit) {
            const int size = std::min(kPageLimit, orders - first + 1);
            capturePage(kept->state, bench::BatchCaptureState::kAddress,
                        bench::batchPage(size, first), service, true);
            std::fprintf(stderr, "built %d of %d orders\n", first + size - 1, orders);
        }
        QSqlQuery(kept->state.database->connection()).exec(QStringLiteral("ANALYZE"));
        QFile(built).open(QIODevice::WriteOnly);
    }
    // A store built before the index was kept current is brought up to date, as a start does.
    OrderSearchIndex::bringUpToDate(*kept->state.database);
    // mldd-cli would refetch the decode files at its first capture of the day.
    QFile stamp(kept->state.folder.file(QStringLiteral("code/date.txt")));
    stamp.open(QIODevice::WriteOnly);
    stamp.write(QDate::currentDate().toString(Qt::ISODate).toUtf8() + "\r\n");
    return *kept;
}

// Takes the measured page's orders and numbers out again, and out of the search index, so
// every round meets the same store and no round pays for the one before. One batch, as the
// window deletes orders: the store is then left as this program leaves it.
void forgetMeasuredPage(bench::BatchCaptureState& store) {
    QSqlDatabase db = store.state.database->connection();
    const QString from = QString::number(20241205000000LL + kMeasuredFirst);
    store.state.database->inTransaction([&] {
        return QSqlQuery(db).exec(
                   QStringLiteral("delete from captured_numbers where order_sign in "
                                  "(select order_sign from order_data where NumSign >= %1)")
                       .arg(from)) &&
               QSqlQuery(db).exec(
                   QStringLiteral("delete from order_data where NumSign >= %1").arg(from));
    });
    // The deleted orders leave the search index now, not in the next measured capture.
    OrderSearchIndex::catchUp(*store.state.database);
}

// mldd-cli to its end: wall time and its peak resident memory.
bench::ProcessRun runCli(const QStringList& args) {
    return bench::runToEnd(QStringLiteral(MLDD_CLI), args);
}

void BM_OrdersFirstPage(benchmark::State& bench) {
    const bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    const QStringList args{QStringLiteral("--data"), store.state.folder.dataPath(),
                           QStringLiteral("orders")};
    for (auto _ : bench) {
        const bench::ProcessRun run = runCli(args);
        bench.SetIterationTime(run.ms / 1000);
        bench.counters["exit"] = WEXITSTATUS(run.status);
    }
}
BENCHMARK(BM_OrdersFirstPage)
    ->Arg(1000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Iterations(10)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// The capture step itself, in the running program.
void BM_CapturePage(benchmark::State& bench) {
    bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    const QString page = bench::batchPage(int(bench.range(1)), kMeasuredFirst);
    const ServiceClient service;
    for (auto _ : bench) {
        const PageCaptureResult result =
            capturePage(store.state, bench::BatchCaptureState::kAddress, page, service, true);
        bench.counters["stored"] = result.count.newOrders;
        bench.PauseTiming();
        forgetMeasuredPage(store);
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_CapturePage)
    ->Args({1000, 5})
    ->Args({1'000'000, 5})
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CapturePage)
    ->Args({1000, 8000})
    ->Args({1000, 16000})
    ->Args({1000, 32000})
    ->Args({100'000, 32000})
    ->Args({1'000'000, 8000})
    ->Args({1'000'000, 16000})
    ->Args({1'000'000, 32000})
    ->Iterations(2)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// What the capture spends on refreshing the list afterwards (the seller's
// orders still to print, newest first): the list's share of the figures above.
void BM_ListRefreshAfterCapture(benchmark::State& bench) {
    bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    const ServiceClient service;
    capturePage(store.state, bench::BatchCaptureState::kAddress,
                bench::batchPage(5, kMeasuredFirst), service, true);
    forgetMeasuredPage(store);
    for (auto _ : bench)
        store.state.requery();
}
BENCHMARK(BM_ListRefreshAfterCapture)
    ->Arg(1000)
    ->Arg(1'000'000)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// The captured numbers' share of a page's capture: looking its numbers up and adding them.
void BM_CapturedNumbersOfPage(benchmark::State& bench) {
    bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    OrderDatabase& database = *store.state.database;
    const QString shop = QStringLiteral("其他:我的id");
    QStringList numbers;
    for (int i = 0; i < int(bench.range(1)); ++i)
        numbers.append(QString::number(20241205000000LL + kMeasuredFirst + i));
    for (auto _ : bench) {
        database.inTransaction([&] {
            CapturedNumbers captured(database);
            bench.counters["before"] = double(captured.capturedOf(shop, numbers).size());
            bench.counters["added"] = double(captured.add(shop, numbers));
            return false; // rolled back: every round meets the same store
        });
    }
}
BENCHMARK(BM_CapturedNumbersOfPage)
    ->Args({1000, 32000})
    ->Args({1'000'000, 32000})
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// The search index of a store that never had one, built once by the start's catch-up, a
// step of OrderSearchIndex::kCatchUpStep orders per transaction.
void BM_SearchIndexFirstBuild(benchmark::State& bench) {
    bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    OrderDatabase& database = *store.state.database;
    for (auto _ : bench) {
        // Timed too: a store of up to OrderSearchIndex::kBatchTakesIn orders is taken in
        // whole as the emptied index commits.
        OrderSearchIndex::startOver(database);
        int steps = 0;
        OrderSearchIndex::bringUpToDate(database, [&](qint64, qint64) { return ++steps, true; });
        bench.counters["steps"] = steps;
        // The next daily check merges the parts the steps left, on its own thread.
        QElapsedTimer merging;
        merging.start();
        OrderSearchIndex::mergeParts(database.handle(), store.state.folder.databasePath(),
                                     OrderDatabase::kBatchWaitMs);
        bench.counters["merge_s"] = double(merging.elapsed()) / 1000;
    }
    // What the index adds to the store's file.
    QSqlQuery pages(database.connection());
    pages.exec(
        QStringLiteral("select sum(case when name like 'order_text_grams%' then pgsize end), "
                       "sum(pgsize) from dbstat"));
    if (pages.next()) {
        bench.counters["index_MB"] = pages.value(0).toDouble() / (1024 * 1024);
        bench.counters["store_MB"] = pages.value(1).toDouble() / (1024 * 1024);
        bench.counters["index_share"] = pages.value(0).toDouble() / pages.value(1).toDouble();
    }
}
BENCHMARK(BM_SearchIndexFirstBuild)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The first search after a captured page (the capture took the page's orders into the index).
void BM_FirstSearchAfterCapture(benchmark::State& bench) {
    bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    const QString page = bench::batchPage(int(bench.range(1)), kMeasuredFirst);
    const ServiceClient service;
    for (auto _ : bench) {
        bench.PauseTiming();
        capturePage(store.state, bench::BatchCaptureState::kAddress, page, service, true);
        bench.ResumeTiming();
        OrderSearch::search(store.state, QStringLiteral("买家ID"), QStringLiteral("buyer_77"));
        bench.PauseTiming();
        forgetMeasuredPage(store);
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_FirstSearchAfterCapture)
    ->Args({1000, 5})
    ->Args({1'000'000, 5})
    ->Args({1000, 32000})
    ->Args({1'000'000, 32000})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The search box on each field, as the window runs it: the first page, shown before
// the results are counted. Keys of 1, 2, 3 and 6 characters, common and rare, and words
// found nowhere.
const std::pair<const char*, const char*> kSearches[] = {
    {"买家姓名", "张"},        {"买家姓名", "张7"},    {"买家姓名", "明军"},
    {"商品内容", "羊毛衫"},    {"商品内容", "运动袜"}, {"买家地址", "现代城"},
    {"买家地址", "建国路123"}, {"买家电话", "000777"}, {"买家电话", "7"},
    {"买家ID", "r_7777"},      {"订单标志", "0007"},   {"买家邮编", "100"},
};

/**
 * The store of the first argument as the day's check leaves it, its search index in one
 * part, labelled with the search of the second.
 */
bench::BatchCaptureState& searchedStore(benchmark::State& bench) {
    const auto& [field, key] = kSearches[bench.range(1)];
    bench.SetLabel(QStringLiteral("%1=%2")
                       .arg(QString::fromUtf8(field), QString::fromUtf8(key))
                       .toStdString());
    bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    static std::set<int> merged;
    if (merged.insert(int(bench.range(0))).second)
        OrderSearchIndex::mergeParts(store.state.database->handle(),
                                     store.state.folder.databasePath(),
                                     OrderDatabase::kBatchWaitMs);
    return store;
}

void search(bench::BatchCaptureState& store, benchmark::State& bench) {
    const auto& [field, key] = kSearches[bench.range(1)];
    OrderSearch::search(store.state, QString::fromUtf8(field), QString::fromUtf8(key));
}

void BM_SearchField(benchmark::State& bench) {
    bench::BatchCaptureState& store = searchedStore(bench);
    for (auto _ : bench) {
        search(store, bench);
        benchmark::DoNotOptimize(store.state.cursor.pageIds(1));
    }
    // Which way the page was read: from the list's head, or as weighed over the store.
    const auto& [field, key] = kSearches[bench.range(1)];
    const QStringList columns = *OrderSearch::columnsOf(QString::fromUtf8(field));
    bench.counters["head"] = double(bool(
        OrderSearchIndex::searched(*store.state.database, columns, QString::fromUtf8(key)).settle));
    const std::optional<OrderSearchIndex::Candidates> candidates =
        OrderSearchIndex::lookUp(*store.state.database, columns, QString::fromUtf8(key));
    bench.counters["walked"] =
        candidates ? double(candidates->plan == OrderSearchIndex::Plan::WalkList) : -1;
    bench.counters["candidates"] = candidates ? double(candidates->count) : -1;
}
BENCHMARK(BM_SearchField)
    ->ArgsProduct({{100'000, 1'000'000}, benchmark::CreateDenseRange(0, 11, 1)})
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// The count the window runs once the first page is shown, on its own.
void BM_SearchCount(benchmark::State& bench) {
    bench::BatchCaptureState& store = searchedStore(bench);
    for (auto _ : bench) {
        bench.PauseTiming();
        search(store, bench);
        bench.ResumeTiming();
        store.state.cursor.countAhead(1);
    }
    bench.counters["listed"] = double(store.state.cursor.recordCount());
}
BENCHMARK(BM_SearchCount)
    ->ArgsProduct({{100'000, 1'000'000}, benchmark::CreateDenseRange(0, 11, 1)})
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// The daily backup: SQLite's online copy, packed; its size against the store's.
void BM_DailyBackup(benchmark::State& bench) {
    bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    StoreBackup backups(store.state.folder);
    QDateTime when(QDate(2026, 1, 1), QTime(3, 0));
    for (auto _ : bench) {
        QString error;
        const std::optional<QString> made =
            backups.make(*store.state.database, when = when.addDays(1), &error);
        bench.counters["backup_MB"] = made ? double(QFileInfo(*made).size()) / (1024 * 1024) : 0;
    }
    const double storeBytes = double(QFileInfo(store.state.folder.databasePath()).size());
    bench.counters["store_MB"] = storeBytes / (1024 * 1024);
    bench.counters["backup_share"] = bench.counters["backup_MB"] * 1024 * 1024 / storeBytes;
}
BENCHMARK(BM_DailyBackup)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(1)
    ->Repetitions(2)
    ->Unit(benchmark::kMillisecond);

// A 5-order page captured as `mldd-cli capture` does: whole process, and its peak memory.
void BM_CliCaptureFiveOrders(benchmark::State& bench) {
    bench::BatchCaptureState& store = sellerStore(int(bench.range(0)));
    const QString pagePath = store.dir.filePath(QStringLiteral("five.txt"));
    QFile page(pagePath);
    page.open(QIODevice::WriteOnly);
    page.write(bench::batchPage(5, kMeasuredFirst).toUtf8());
    page.close();
    const QStringList args{QStringLiteral("--data"),
                           store.state.folder.dataPath(),
                           QStringLiteral("capture"),
                           QStringLiteral("--url"),
                           bench::BatchCaptureState::kAddress,
                           QStringLiteral("--page"),
                           pagePath};
    for (auto _ : bench) {
        const bench::ProcessRun run = runCli(args);
        bench.SetIterationTime(run.ms / 1000);
        bench.counters["peak_MB"] = double(run.peakKb) / 1024;
        bench.counters["exit"] = WEXITSTATUS(run.status);
        forgetMeasuredPage(store);
    }
}
BENCHMARK(BM_CliCaptureFiveOrders)
    ->Arg(1000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
