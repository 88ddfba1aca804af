#include "address/AddressSplitter.h"

#include "core/TextFile.h"

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

const QString kArea = QStringLiteral(MLDD_SOURCE_ROOT "/data/code/Area.txt");
const ErrorLog kLog(QStringLiteral("/nonexistent/ERR.TXT"));

// The addresses in column `column` of a test set.
QStringList sampleAddresses(const char* file, int column) {
    QStringList addresses;
    const TextFileContent cases =
        TextFile::read(QStringLiteral(MLDD_SOURCE_ROOT "/tests/address/data/") + file);
    for (const QString& line : cases.lines)
        addresses.append(line.section(u'\t', column, column));
    return addresses;
}

void loadTable(benchmark::State& state) {
    for (auto _ : state) {
        PlaceTable table = LoadPlaceTable(kArea, kLog);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(loadTable)->Unit(benchmark::kMillisecond);

void splitEach(benchmark::State& state, const QStringList& addresses) {
    const PlaceTable table = LoadPlaceTable(kArea, kLog);
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

// The quality set: every province, the habits of order pages.
void splitAddresses(benchmark::State& state) {
    splitEach(state, sampleAddresses("split_cases.tsv", 0));
}
BENCHMARK(splitAddresses);

// Sellers' habits: repeated prefixes, no province, the county first.
void splitSellerAddresses(benchmark::State& state) {
    splitEach(state, sampleAddresses("seller_addresses.tsv", 1));
}
BENCHMARK(splitSellerAddresses);

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
