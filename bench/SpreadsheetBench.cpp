// A 10,000-row .xlsx (written by python3-xlsxwriter) read and imported into
// stored orders, addresses split against the shipped place table.
#include "SheetReading.h"

#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "spreadsheet/ImportRun.h"
#include "spreadsheet/Workbook.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>


using namespace mldd;
using bench::peakMegabytes;
using bench::readSheet;

namespace {

QString bigWorkbook(const QTemporaryDir& dir, int rows) {
    QProcess::execute(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral(MLDD_SOURCE_DIR "/tests/spreadsheet/make_workbooks.py"),
                       dir.path(), QStringLiteral("big"), QString::number(rows)});
    return dir.filePath(QStringLiteral("big.xlsx"));
}

void BM_ReadXlsx(benchmark::State& bench) {
    QTemporaryDir dir;
    const QString path = bigWorkbook(dir, int(bench.range(0)));
    for (auto _ : bench)
        benchmark::DoNotOptimize(readSheet(path).rows.size());
    bench.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ReadXlsx)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ImportXlsx(benchmark::State& bench) {
    QTemporaryDir dir;
    const QString path = bigWorkbook(dir, int(bench.range(0)));
    MainState state{DataFolder(dir.path() + QStringLiteral("/data"))};
    QDir().mkpath(state.folder.file(QStringLiteral("code")));
    QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"),
                state.folder.file(QStringLiteral("code/Area.txt")));
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    startUp(state, QString(), hooks);
    state.templates = {QStringLiteral("圆通")};
    ImportLayout layout;
    layout.sender = QStringLiteral("淘宝:墨岚小店");
    layout.templateName = QStringLiteral("圆通");
    layout.expressions[ImportLayout::OrderNumber] = *ColumnExpression::parse(QStringLiteral("A"));
    layout.expressions[ImportLayout::BuyerName] = *ColumnExpression::parse(QStringLiteral("B"));
    layout.expressions[ImportLayout::Phone1] = *ColumnExpression::parse(QStringLiteral("D"));
    layout.expressions[ImportLayout::Address] = *ColumnExpression::parse(QStringLiteral("F"));
    layout.expressions[ImportLayout::Goods] = *ColumnExpression::parse(QStringLiteral("G"));

    for (auto _ : bench) {
        // From the file to committed orders, as one import of the window does it.
        const SheetTable sheet = readSheet(path);
        auto run =
            std::get<std::unique_ptr<ImportRun>>(ImportRun::start(state, sheet, layout, path));
        while (run->step(250)) {
        }
        const ImportCount count = std::get<ImportCount>(run->finish());
        bench.counters["stored"] = count.imported + count.merged;
        bench.PauseTiming();
        QSqlQuery(state.database->connection()).exec(QStringLiteral("delete from order_data"));
        bench.ResumeTiming();
    }
    bench.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ImportXlsx)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
