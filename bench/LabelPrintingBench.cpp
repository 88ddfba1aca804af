#include "printing/CupsDaemon.h"
#include "printing/PrintFolder.h"
#include "printing/ThermalTemplate.h"

#include "core/MainState.h"
#include "core/Startup.h"
#include "printing/CupsSpooler.h"
#include "printing/LabelJob.h"
#include "printing/PrintDocuments.h"
#include "printing/PrintJob.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace mldd;

namespace {

constexpr int kWaybills = 100;

/** A print folder of 100 orders on a 100 × 150 mm thermal form, started, with a raw queue. */
struct Bench {
    Bench(test::CupsDaemon& cups, const QString& queue) : state(folder.folder) {
        cups.addQueue(queue);
        test::writeThermalTemplate(folder.folder, QStringLiteral("热敏"));
        ids = folder.addOrders(QStringList(kWaybills, QStringLiteral("热敏")));
        folder.setUpPrinter(queue);
        startUp(state, QString());
    }

    test::PrintFolder folder;
    MainState state;
    QList<qint64> ids;
};

LabelSettings labelIn(LabelLanguage language) {
    LabelSettings settings;
    settings.language = language;
    return settings;
}

// 100 waybills rendered, drawn at 203 dpi, put in the language's commands and queued as raw
// jobs: the program's own work of a run, without the printer's time between jobs.
void BM_RenderAndQueue100Labels(benchmark::State& state, test::CupsDaemon* cups,
                                LabelLanguage language) {
    const QString queue = QStringLiteral("queue") + LabelLanguages::name(language);
    Bench bench(*cups, queue);
    PrintDocuments documents(bench.state, PrintDocuments::Kind::Waybills);
    QList<Order> orders;
    for (qint64 id : bench.ids)
        orders.append(OrderStore(*bench.state.database).byId(id).value());
    const LabelSettings settings = labelIn(language);
    const PrintPlacement placement =
        PrinterSetup(bench.state.folder, bench.state.log).placement(queue);
    CupsSpooler spooler;
    qint64 largest = 0;
    qint64 total = 0;
    test::CupsDaemon::tool("cupsdisable", {queue}); // queued, not printed: the run's part alone
    for (auto _ : state) {
        for (const Order& order : orders) {
            const auto document = std::get<PrintDocuments::Document>(documents.of(order));
            const auto bytes = labelJobBytes(settings, 203, placement, document.pages);
            const QByteArray& job = std::get<QByteArray>(bytes);
            largest = std::max(largest, qint64(job.size()));
            total += job.size();
            if (!spooler.submitRaw(queue, document.title, job, newJobUuid(), nullptr))
                state.SkipWithError("the queue did not take the job");
        }
        state.PauseTiming();
        test::CupsDaemon::tool("cancel", {"-a", queue});
        state.ResumeTiming();
    }
    state.counters["largest_job_KB"] = double(largest) / 1024;
    state.counters["mean_job_KB"] = double(total) / 1024 / double(state.iterations() * kWaybills);
    state.SetItemsProcessed(state.iterations() * kWaybills);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    test::CupsDaemon cups;
    for (LabelLanguage language : {LabelLanguage::Tspl, LabelLanguage::Zpl, LabelLanguage::Epl}) {
        const std::string name =
            ("BM_RenderAndQueue100Labels/" + LabelLanguages::name(language)).toStdString();
        benchmark::RegisterBenchmark(name.c_str(), BM_RenderAndQueue100Labels, &cups, language)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
