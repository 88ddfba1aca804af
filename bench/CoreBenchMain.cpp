// The main of benchmarks that need only a core application (the database, files).
#include "core/ProcessHeap.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

int main(int argc, char* argv[]) {
    mldd::ProcessHeap::keepFreedMemoryForReuse();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
