// A marketplace's per-goods-line export (抖店's layout, about 2.5 rows an order)
// recognised from its header row, and imported whole into an empty store with
// nothing mapped by hand: 10,000 and 100,000 rows, for the time and for how it
// grows. Run each size in a process of its own for its peak memory
// (--benchmark_filter=BM_ImportExport/100000).
#include "SheetReading.h"

#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "spreadsheet/ExportLayouts.h"
#include "spreadsheet/ImportRun.h"
#include "spreadsheet/Workbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>


using namespace mldd;
using bench::peakMegabytes;
using bench::readSheet;

namespace {

const char* const kPlaces[][3] = {{"贵州省", "贵阳市", "花溪区"}, {"湖北省", "武汉市", "洪山区"},
                                  {"广东省", "广州市", "天河区"}, {"浙江省", "杭州市", "西湖区"},
                                  {"四川省", "成都市", "武侯区"}, {"江苏省", "南京市", "鼓楼区"}};

// Orders of one to four goods lines, in the export's quirks: a byte order mark, tab-guarded
// numbers and "-" for empty cells.
QString exportFile(const QTemporaryDir& dir, int rows) {
    const QString path = dir.filePath(QStringLiteral("douyin%1.csv").arg(rows));
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream out(&file);
    out << "\xEF\xBB\xBF"
        << "主订单编号,子订单编号,选购商品,商品规格,商品数量,商品单价,商家编码,收件人,"
           "收件人手机号,省,市,区,街道,详细地址,快递公司,快递单号,买家留言\r\n";
    int order = 0;
    for (int row = 0; row < rows; ++order) {
        const int lines = 1 + (order * 7) % 4;
        const auto& place = kPlaces[order % 6];
        for (int line = 0; line < lines && row < rows; ++line, ++row) {
            out << "\t69" << QString::number(order).rightJustified(17, u'0') << ",\t70" << row
                << ",商品" << (row % 500) << ",规格" << line << ',' << 1 + line << ",19.9,SKU"
                << (row % 500) << ",买家" << order << ",\t158"
                << QString::number(order).rightJustified(8, u'0') << ',' << place[0] << ','
                << place[1] << ',' << place[2] << ",-,幸福路" << order << "号,-,-,-\r\n";
        }
    }
    return path;
}

std::unique_ptr<MainState> started(const QString& dataFolder) {
    auto state = std::make_unique<MainState>(DataFolder(dataFolder));
    QDir().mkpath(state->folder.file(QStringLiteral("code")));
    for (const char* name : {"Area.txt", "ExcelExports.txt"})
        QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/") + QString::fromUtf8(name),
                    state->folder.file(QStringLiteral("code/") + QString::fromUtf8(name)));
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    if (!startUp(*state, QString(), hooks).ok)
        return nullptr;
    state->templates = {QStringLiteral("圆通")};
    state->profiles = {SenderProfile{}};
    state->profiles.first().myIdh = QStringLiteral("抖店:墨岚小店");
    return state;
}

// The layout from the header row, as mldd-cli import --file and 导入Excel find it.
void BM_RecognizeExport(benchmark::State& bench) {
    QTemporaryDir dir;
    const SheetTable sheet = readSheet(exportFile(dir, int(bench.range(0))));
    const std::unique_ptr<MainState> state = started(dir.filePath(QStringLiteral("data")));
    for (auto _ : bench) {
        const ExportLayouts::Recognition found =
            ExportLayouts::forSheet(state->folder, state->log, sheet, state->profiles);
        if (!found.recognized)
            bench.SkipWithError("not recognised");
    }
}
BENCHMARK(BM_RecognizeExport)->Arg(100000)->Unit(benchmark::kMillisecond);

// From the file to committed orders, nothing mapped by hand.
void BM_ImportExport(benchmark::State& bench) {
    QTemporaryDir dir;
    const QString path = exportFile(dir, int(bench.range(0)));
    int run = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        const std::unique_ptr<MainState> state =
            started(dir.filePath(QStringLiteral("data%1").arg(run++)));
        bench.ResumeTiming();
        const SheetTable sheet = readSheet(path);
        const ImportLayout layout =
            ExportLayouts::forSheet(state->folder, state->log, sheet, state->profiles).layout;
        auto begun =
            std::get<std::unique_ptr<ImportRun>>(ImportRun::start(*state, sheet, layout, path));
        while (begun->step(250)) {
        }
        const ImportCount count = std::get<ImportCount>(begun->finish());
        bench.counters["orders"] = count.imported + count.merged;
    }
    bench.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ImportExport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
