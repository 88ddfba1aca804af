// The cost an installed program's start pays to bring the package's defaults
// (the shipped data folder) into the seller's folder: once when the folder is
// made, and on every later start when nothing changed.
#include "core/DataDefaults.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace mldd;

static void BM_FirstStartLaysEveryDefault(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir home;
        const DataFolder folder(home.path() + QStringLiteral("/mldd"));
        QDir().mkpath(folder.dataPath());
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            DataDefaults(QStringLiteral(MLDD_SHIPPED_DATA), QStringLiteral(MLDD_DEFAULTS_MANIFEST))
                .bringInto(folder));
    }
}
BENCHMARK(BM_FirstStartLaysEveryDefault)->Unit(benchmark::kMillisecond);

static void BM_LaterStartWithTheSameDefaults(benchmark::State& state) {
    QTemporaryDir home;
    const DataFolder folder(home.path() + QStringLiteral("/mldd"));
    QDir().mkpath(folder.dataPath());
    const DataDefaults defaults{QStringLiteral(MLDD_SHIPPED_DATA),
                                QStringLiteral(MLDD_DEFAULTS_MANIFEST)};
    defaults.bringInto(folder);
    for (auto _ : state)
        benchmark::DoNotOptimize(defaults.bringInto(folder));
}
BENCHMARK(BM_LaterStartWithTheSameDefaults)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
