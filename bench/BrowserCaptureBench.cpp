// The built-in browser's road for a 1,000-order batch page: the body's text as
// QtWebEngine gives it, then that text to stored orders.
#include "BatchCaptureState.h"
#include "BatchPage.h"

#include "address/PlaceTable.h"
#include "browser/CapturedPage.h"
#include "capture/PageCapture.h"
#include "capture/PageKey.h"
#include "core/MainState.h"
#include "core/Startup.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWebEnginePage>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

// What innerText gives for the page: its lines, with LF line ends.
QString browserText(int orders) {
    return bench::batchPage(orders).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void BM_BrowserTextToStoredOrders(benchmark::State& bench) {
    bench::BatchCaptureState batch;
    const QString text = browserText(int(bench.range(0)));
    const ServiceClient service;
    for (auto _ : bench) {
        const CapturedPage page = CapturedPage::fromBrowser(
            bench::BatchCaptureState::kAddress + QStringLiteral("?p=1"), text);
        const PageCaptureResult result =
            capturePage(batch.state, page.address, page.text, service, true);
        bench.counters["stored"] = result.count.newOrders;
        bench.PauseTiming();
        batch.clearOrders();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_BrowserTextToStoredOrders)->Arg(1000)->Unit(benchmark::kMillisecond);

// The body's text of the loaded page, as 提取订单 asks QtWebEngine for it.
void BM_BodyTextOfLoadedPage(benchmark::State& bench) {
    QTemporaryDir dir;
    QString html =
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>");
    for (const QString& line : bench::batchPage(int(bench.range(0))).split(QStringLiteral("\r\n")))
        html += QStringLiteral("<div>%1</div>").arg(line.toHtmlEscaped());
    QFile file(dir.filePath(QStringLiteral("batch.html")));
    file.open(QIODevice::WriteOnly);
    file.write((html + QStringLiteral("</body></html>")).toUtf8());
    file.close();
    QWebEnginePage page;
    QEventLoop loop;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, &QEventLoop::quit);
    page.load(QUrl::fromLocalFile(file.fileName()));
    loop.exec();
    for (auto _ : bench) {
        qsizetype size = 0;
        page.runJavaScript(
            QStringLiteral("JSON.stringify([document.URL, document.body.innerText])"),
            [&](const QVariant& result) {
                size = result.toString().size();
                loop.quit();
            });
        loop.exec();
        bench.counters["chars"] = double(size);
    }
}
BENCHMARK(BM_BodyTextOfLoadedPage)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
