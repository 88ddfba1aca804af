#include "address/AddressSplitter.h"

#include "core/TextFile.h"

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

const QString kArea = QStringLiteral(MLDD_SOURCE_ROOT "/data/code/Area.txt");
const ErrorLog kLog(QStringLiteral("/nonexistent/ERR.TXT"));

// The addresses of the quality set: every province, every writing habit.
QStringList sampleAddresses() {
    QStringList addresses;
    const TextFileContent cases =
        TextFile::read(QStringLiteral(MLDD_SOURCE_ROOT "/tests/address/data/split_cases.tsv"));
    for (const QString& line : cases.lines)
        addresses.append(line.section(u'\t', 0, 0));
    return addresses;
}

void loadTable(benchmark::State& state) {
    for (auto _ : state) {
        PlaceTable table = LoadPlaceTable(kArea, kLog);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(loadTable)->Unit(benchmark::kMillisecond);

void splitAddresses(benchmark::State& state) {
    const PlaceTable table = LoadPlaceTable(kArea, kLog);
    const QStringList addresses = sampleAddresses();
    qsizetype next = 0;
    for (auto _ : state) {
        PlaceFields fields;
        QString address = addresses.at(next);
        SplitAddress(table, fields, address, kLog);
        benchmark::DoNotOptimize(address);
        next = (next + 1) % addresses.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(splitAddresses);

// The slowest kind: a city without counties, so every county list of the
// province is searched through all shortening passes in vain.
void splitWithoutCounty(benchmark::State& state) {
    const PlaceTable table = LoadPlaceTable(kArea, kLog);
    for (auto _ : state) {
        PlaceFields fields;
        QString address = QStringLiteral("广东省东莞市长安镇振安中路188号");
        SplitAddress(table, fields, address, kLog);
        benchmark::DoNotOptimize(address);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(splitWithoutCounty);

} // namespace

BENCHMARK_MAIN();
