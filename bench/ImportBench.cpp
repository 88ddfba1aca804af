// The import of a seller's workbook into a store of a million orders that
// came in the same way: ten workbooks of 100,000 rows imported one after the
// other, most of them printed since. The store is built once and kept in the
// temp folder; each run imports into a fresh copy of it. Then the write-back
// of the tracking numbers into that workbook, once its orders are printed.
#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "spreadsheet/ImportRun.h"
#include "spreadsheet/Workbook.h"
#include "spreadsheet/WriteBack.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

using namespace mldd;

namespace {

constexpr int kStoreWorkbooks = 10;
constexpr int kStoreRows = 100000;
const char* const kCities[] = {"贵州省贵阳市花溪区", "上海上海市徐汇区", "湖北省恩施州恩施市",
                               "广东省广州市天河区", "浙江省杭州市西湖区", "北京北京市海淀区",
                               "四川省成都市武侯区", "江苏省南京市鼓楼区"};

QString benchFolder() {
    return QDir::tempPath() + QStringLiteral("/mldd-bench-import-1m");
}

// The shape of the test maker's "big" workbook: buyers share names, every tenth
// row is a second order of the buyer above. Buyers of the first store workbook
// are those of the workbooks the benchmark imports, so some rows find their buyer.
QString storeWorkbook(int part) {
    const QString path = benchFolder() + QStringLiteral("/store%1.csv").arg(part);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream out(&file);
    out << "订单编号,收货人,电话,手机,省,收货地址,商品\r\n";
    for (int r = 1; r <= kStoreRows; ++r) {
        const int buyer = part * kStoreRows + (r % 10 == 0 ? r - 1 : r);
        out << (qint64(2000000000000000) + qint64(part) * kStoreRows + r) << ",买家"
            << buyer % 97 << ",,138" << QString::number(buyer).rightJustified(8, u'0') << ",,"
            << kCities[buyer % 8] << "幸福路" << buyer << "号,商品" << r << " 1\r\n";
    }
    return path;
}

ImportLayout layout() {
    ImportLayout layout;
    layout.sender = QStringLiteral("淘宝:墨岚小店");
    layout.templateName = QStringLiteral("圆通");
    layout.expressions[ImportLayout::OrderNumber] = *ColumnExpression::parse(QStringLiteral("A"));
    layout.expressions[ImportLayout::BuyerName] = *ColumnExpression::parse(QStringLiteral("B"));
    layout.expressions[ImportLayout::Phone1] = *ColumnExpression::parse(QStringLiteral("D"));
    layout.expressions[ImportLayout::Address] = *ColumnExpression::parse(QStringLiteral("F"));
    layout.expressions[ImportLayout::Goods] = *ColumnExpression::parse(QStringLiteral("G"));
    return layout;
}

std::unique_ptr<MainState> started(const QString& dataFolder) {
    auto state = std::make_unique<MainState>(DataFolder(dataFolder));
    QDir().mkpath(state->folder.file(QStringLiteral("code")));
    QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"),
                state->folder.file(QStringLiteral("code/Area.txt")));
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    if (!startUp(*state, QString(), hooks).ok)
        return nullptr;
    state->templates = {QStringLiteral("圆通")};
    return state;
}

SheetTable readSheet(const QString& path) {
    auto opened = Workbook::open(path);
    const Workbook& book = *std::get<std::unique_ptr<Workbook>>(opened);
    return std::get<SheetTable>(book.read(book.sheetNames().value(book.activeSheet())));
}

// From the file to committed orders, as one import of the window does it.
std::optional<ImportCount> import(MainState& state, const QString& path) {
    const SheetTable sheet = readSheet(path);
    auto begun = ImportRun::start(state, sheet, layout(), path);
    if (!std::holds_alternative<std::unique_ptr<ImportRun>>(begun))
        return std::nullopt;
    ImportRun& run = *std::get<std::unique_ptr<ImportRun>>(begun);
    while (run.step(250)) {
    }
    auto finished = run.finish();
    if (!std::holds_alternative<ImportCount>(finished))
        return std::nullopt;
    return std::get<ImportCount>(finished);
}

// A copy on disk before the clock starts: the run must not pay for writing out the copy.
void copyFlushed(const QString& from, const QString& to) {
    QFile::remove(to);
    QFile::copy(from, to);
    const int fd = ::open(QFile::encodeName(to).constData(), O_RDONLY);
    ::fsync(fd);
    ::close(fd);
}

// The million orders, imported once; all but the newest tenth printed since.
QString millionImported() {
    const QString data = benchFolder() + QStringLiteral("/store/data");
    const QString database = DataFolder(data).databasePath();
    if (QFile::exists(database)) {
        // A store kept from an older build is brought to the current schema and its
        // search index up to date once, by a start, not in every copy of it.
        started(data);
        return database;
    }
    QDir(benchFolder()).removeRecursively();
    QDir().mkpath(benchFolder());
    auto state = started(data);
    for (int part = 0; part < kStoreWorkbooks; ++part) {
        const QString path = storeWorkbook(part);
        import(*state, path);
        QFile::remove(path);
    }
    QSqlQuery(state->database->connection())
        .exec(QStringLiteral("update order_data set kd_sign = 1, fh_sign = 1, "
                             "wuliu_code = 'YT' || id where id <= 900000"));
    QSqlQuery(state->database->connection()).exec(QStringLiteral("ANALYZE"));
    return database;
}

QString workbook(int rows) {
    const QString path = benchFolder() + QStringLiteral("/import%1/big.xlsx").arg(rows);
    if (!QFile::exists(path)) {
        QDir().mkpath(QFileInfo(path).path());
        QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral(MLDD_SOURCE_DIR "/tests/spreadsheet/make_workbooks.py"),
                           QFileInfo(path).path(), QStringLiteral("big"), QString::number(rows)});
    }
    return path;
}

void BM_ImportIntoMillionOrders(benchmark::State& bench) {
    const QString stored = millionImported();
    const QString path = workbook(int(bench.range(0)));
    const QString data = benchFolder() + QStringLiteral("/run/data");
    for (auto _ : bench) {
        bench.PauseTiming();
        QDir(benchFolder() + QStringLiteral("/run")).removeRecursively();
        QDir().mkpath(data);
        copyFlushed(stored, DataFolder(data).databasePath());
        auto state = started(data);
        bench.ResumeTiming();
        const std::optional<ImportCount> count = import(*state, path);
        bench.counters["imported"] = count ? count->imported : -1;
        bench.counters["merged"] = count ? count->merged : -1;
    }
    QDir(benchFolder() + QStringLiteral("/run")).removeRecursively();
}
BENCHMARK(BM_ImportIntoMillionOrders)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// The million orders and the workbook imported into them, its orders printed since:
// kept in the temp folder, as the write-back reads the store and changes only the workbook.
QString printedImport(int rows) {
    const QString folder = benchFolder() + QStringLiteral("/writeback%1").arg(rows);
    const QString data = folder + QStringLiteral("/data");
    if (QFile::exists(DataFolder(data).databasePath()))
        return data;
    QDir(folder).removeRecursively();
    QDir().mkpath(data);
    copyFlushed(millionImported(), DataFolder(data).databasePath());
    const QString path = folder + QStringLiteral("/big.xlsx");
    QFile::copy(workbook(rows), path);
    auto state = started(data);
    import(*state, path);
    QSqlQuery(state->database->connection())
        .exec(QStringLiteral("update order_data set kd_sign = 1, wuliu_code = 'ZT' || id "
                             "where kd_sign = 0"));
    return data;
}

void BM_WriteBackFromMillionOrders(benchmark::State& bench) {
    const int rows = int(bench.range(0));
    const QString data = printedImport(rows);
    const QString path = QFileInfo(data).path() + QStringLiteral("/big.xlsx");
    auto state = started(data);
    for (auto _ : bench) {
        bench.PauseTiming();
        copyFlushed(workbook(rows), path);
        bench.ResumeTiming();
        const WriteBack::Result result =
            WriteBack::run(*state, path, layout(), QStringLiteral("订单"));
        bench.counters["written"] = result.written;
    }
}
BENCHMARK(BM_WriteBackFromMillionOrders)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
