// How fast and how lean a decode file walks a batch shipping page order by order.
#include "BatchPage.h"

#include "capture/DecodeRules.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <malloc.h>

#include <fstream>
#include <string>

namespace {

long statusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(field.size()));
    }
    return 0;
}

// Resets the peak resident size to the current one (Linux clear_refs).
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void decodeBatchPage(benchmark::State& state, bool withGoods) {
    const QString page = mldd::bench::batchPage(int(state.range(0)));
    const QString rules = mldd::bench::batchPageRules();
    const double pageBytes = double(page.toUtf8().size());
    // Peak memory of one run beyond what the process held before it, plus the page itself.
    malloc_trim(0);
    resetPeakMemory();
    const long before = statusKilobytes("VmRSS:");
    const int records = int(mldd::RunDecodeRules(page, rules, withGoods).records.count(u"{|D|}"));
    const double peakBytes = double(statusKilobytes("VmHWM:") - before) * 1024 + page.size() * 2;
    for (auto _ : state) {
        const mldd::DecodeResult result = mldd::RunDecodeRules(page, rules, withGoods);
        benchmark::DoNotOptimize(result.records.constData());
    }
    state.counters["records"] = records;
    state.counters["page_MB"] = pageBytes / 1e6;
    state.counters["peak_per_page"] = peakBytes / pageBytes;
}

} // namespace

BENCHMARK_CAPTURE(decodeBatchPage, walk, false)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeBatchPage, walk_with_goods, true)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
