// Capturing batch pages whose decode file is already on disk: a 1,000-order page
// into a fresh folder, and pages of 1,000 to 32,000 orders for a seller who has
// captured 100,000 orders before (the cost must grow with the page, not the past).
#include "BatchPage.h"

#include "address/PlaceTable.h"
#include "capture/PageCapture.h"
#include "capture/PageKey.h"
#include "core/MainState.h"
#include "core/Startup.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace mldd;

namespace {

const QString kAddress = QStringLiteral("https://trade.taobao.com/trade/batch_send.htm");

constexpr int kEarlierNumbers = 100000;

/** A started program on a fresh data folder with the batch decode file and one sender. */
struct CaptureSetup {
    QTemporaryDir dir;
    MainState state{DataFolder(dir.path() + QStringLiteral("/data"))};

    CaptureSetup() {
        QDir().mkpath(state.folder.file(QStringLiteral("code")));
        QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"),
                    state.folder.file(QStringLiteral("code/Area.txt")));
        writeFile(state.folder.file(QStringLiteral("code/") + *pageKeyOf(kAddress) + ".dat"),
                  bench::batchPageRules().toUtf8());
        // Today's refetch of decode files after a goods fallback counts as done.
        writeFile(state.folder.file(QStringLiteral("code/date.txt")),
                  QDate::currentDate().toString(Qt::ISODate).toUtf8());
        StartupHooks hooks;
        hooks.loadPlaceTable = loadPlaceTableInto;
        startUp(state, QString(), hooks);
        QSqlDatabase db = state.database->connection();
        QSqlQuery(db).exec(QStringLiteral("insert into my_data (my_idh) values ('其他:我的id')"));
        state.profiles = SenderProfile::loadAll(db, state.log);
    }

    QString capturedList() const { return state.folder.file(QStringLiteral("其他;我的id.dat")); }

    /**
     * Forgets the orders, and gives the seller `earlier` captured numbers. The
     * heap goes back to the system, so that every capture starts on fresh memory
     * as a seller's does; else small pages would reuse the last one's buffers
     * while big ones (past glibc's mapping threshold) never can.
     */
    void reset(const QByteArray& earlier) {
        QSqlQuery(state.database->connection()).exec(QStringLiteral("delete from order_data"));
        writeFile(capturedList(), earlier);
        malloc_trim(0);
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
};

void BM_CaptureBatchPage(benchmark::State& bench) {
    CaptureSetup setup;
    const QString page = bench::batchPage(int(bench.range(0)));
    const ServiceClient service;
    for (auto _ : bench) {
        const PageCaptureResult result = capturePage(setup.state, kAddress, page, service, true);
        bench.counters["stored"] = result.count.newOrders;
        bench.PauseTiming();
        setup.reset(QByteArray());
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_CaptureBatchPage)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_CaptureAfter100000Numbers(benchmark::State& bench) {
    CaptureSetup setup;
    QByteArray earlier;
    for (int i = 0; i < kEarlierNumbers; ++i)
        earlier += QByteArray::number(90000000000000LL + i) + '|';
    const QString page = bench::batchPage(int(bench.range(0)));
    const ServiceClient service;
    setup.reset(earlier);
    for (auto _ : bench) {
        const PageCaptureResult result = capturePage(setup.state, kAddress, page, service, true);
        bench.counters["stored"] = result.count.newOrders;
        bench.PauseTiming();
        setup.reset(earlier);
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_CaptureAfter100000Numbers)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Arg(8000)
    ->Arg(16000)
    ->Arg(32000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
