#include "printing/CupsDaemon.h"
#include "printing/PrintFolder.h"

#include "core/MainState.h"
#include "core/Startup.h"
#include "printing/CupsSpooler.h"
#include "printing/PrintJob.h"
#include "printing/PrintRun.h"
#include "waybill/PagedOutput.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

/** A print folder of `count` orders of one form, started, with a file queue of the daemon. */
struct Bench {
    Bench(test::CupsDaemon& cups, const QString& queue, int count) : state(folder.folder) {
        cups.addQueue(queue);
        ids = folder.addOrders(QStringList(count, QStringLiteral("圆通")));
        folder.setUpPrinter(queue);
        startUp(state, QString());
    }

    test::PrintFolder folder;
    MainState state;
    QList<qint64> ids;
};

void runToEnd(PrintRun& run) {
    if (run.start())
        return;
    QEventLoop loop;
    QObject::connect(&run, &PrintRun::finished, &loop, &QEventLoop::quit);
    if (run.isRunning())
        loop.exec();
}

void markAllUnprinted(MainState& state) {
    QSqlQuery(state.database->connection()).exec("update order_data set kd_sign = 0, kd_print = 0");
}

// What the run itself does for one order: its page, the PDF at printer resolution, the mark.
void BM_RunOwnWorkPerOrder(benchmark::State& state, test::CupsDaemon* cups) {
    Bench bench(*cups, QStringLiteral("own"), 1);
    PrintDocuments documents(bench.state, PrintDocuments::Kind::Waybills);
    const Order order = OrderStore(*bench.state.database).byId(bench.ids[0]).value();
    QTemporaryFile file;
    file.open();
    for (auto _ : state) {
        const auto document = std::get<PrintDocuments::Document>(documents.of(order));
        writePdf(file.fileName(), document.pages, nullptr, PrintPlacement{283, 142, 1.0});
        documents.mark(order);
    }
    state.SetItemsProcessed(state.iterations());
}

// The floor: one waybill PDF handed to the file queue and waited for, with nothing else to do.
void BM_CupsAlonePerJob(benchmark::State& state, test::CupsDaemon* cups) {
    Bench bench(*cups, QStringLiteral("alone"), 1);
    PrintDocuments documents(bench.state, PrintDocuments::Kind::Waybills);
    const Order order = OrderStore(*bench.state.database).byId(bench.ids[0]).value();
    QTemporaryFile file;
    file.open();
    writePdf(file.fileName(), std::get<PrintDocuments::Document>(documents.of(order)).pages);
    CupsSpooler spooler;
    for (auto _ : state) {
        spooler.submit(QStringLiteral("alone"), QStringLiteral("快递单-淘宝:1001"), file.fileName(),
                       newJobUuid(), {}, nullptr);
        while (!spooler.query(QStringLiteral("alone")).idle())
            QThread::usleep(500);
    }
    state.SetItemsProcessed(state.iterations());
}

// A run of `range(0)` orders to a file queue, pacing included: per order, all in.
void BM_RunToFileQueue(benchmark::State& state, test::CupsDaemon* cups) {
    const int count = int(state.range(0));
    Bench bench(*cups, QStringLiteral("queue%1").arg(count), count);
    CupsSpooler spooler;
    for (auto _ : state) {
        markAllUnprinted(bench.state);
        PrintRun run(bench.state, spooler, PrintDocuments::Kind::Waybills, bench.ids);
        runToEnd(run);
        if (run.result().printedIds.size() != count)
            state.SkipWithError("not every order was printed");
        // Kept jobs would be recovered, not printed, by the next iteration.
        test::CupsDaemon::tool("cancel", {"-x", "-a"});
    }
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    test::CupsDaemon cups;
    benchmark::RegisterBenchmark("BM_RunOwnWorkPerOrder", BM_RunOwnWorkPerOrder, &cups)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CupsAlonePerJob", BM_CupsAlonePerJob, &cups)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_RunToFileQueue", BM_RunToFileQueue, &cups)
        ->Arg(50)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_RunToFileQueue", BM_RunToFileQueue, &cups)
        ->Arg(1000)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
