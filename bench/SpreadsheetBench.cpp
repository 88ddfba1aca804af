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
#include <QFileInfo>
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

// The same orders in the XML workbook format older exports use: numbers, text and a skipped cell.
QString bigXmlWorkbook(const QTemporaryDir& dir, int rows) {
    QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet"
 xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet"><Worksheet ss:Name="订单"><Table>
)";
    for (int row = 0; row < rows; ++row)
        xml += QStringLiteral("<Row><Cell><Data ss:Type=\"Number\">%1</Data></Cell>"
                              "<Cell><Data ss:Type=\"String\">买家%2</Data></Cell>"
                              "<Cell ss:Index=\"4\"><Data ss:Type=\"Number\">138%3</Data></Cell>"
                              "<Cell ss:Index=\"6\"><Data ss:Type=\"String\">浙江省杭州市西湖区"
                              "文三路%2号</Data></Cell><Cell><Data ss:Type=\"String\">手工皂 "
                              "%4</Data></Cell></Row>\n")
                   .arg(2851234567890000 + row)
                   .arg(row)
                   .arg(row, 8, 10, QChar(u'0'))
                   .arg(row % 5 + 1)
                   .toUtf8();
    xml += "</Table></Worksheet></Workbook>\n";
    const QString path = dir.filePath(QStringLiteral("big.xml"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(xml);
    return path;
}

void BM_ReadXmlWorkbook(benchmark::State& bench) {
    QTemporaryDir dir;
    const QString path = bigXmlWorkbook(dir, int(bench.range(0)));
    for (auto _ : bench)
        benchmark::DoNotOptimize(readSheet(path).rows.size());
    bench.counters["file_MB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
    bench.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ReadXmlWorkbook)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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
