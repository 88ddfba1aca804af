// The main of benchmarks that need only a core application (the database, files).
#include <QCoreApplication>

#include <benchmark/benchmark.h>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
