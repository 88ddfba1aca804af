// The order list of the main window on a seller's store of 1,000 and of 1,000,000
// orders (the stores of bench_seller_store, built there the first time): a page
// turn, a filter, a search, each drawn; and the window's start, from opening the
// store to the first page drawn. The stores' orders have no courier yet, so their
// cards show no waybill: bench_shiplist_tab measures cards with drawn pages.
#include "BatchCaptureState.h"
#include "MainWindow.h"
#include "OrderListPanel.h"

#include "core/MainState.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace mldd;

namespace {

/** The started program on a store bench_seller_store built; null when it is not there. */
bench::BatchCaptureState* sellerStore(int orders) {
    // Kept to the process's end: a store closed after the application is gone crashes.
    static auto* stores = new std::map<int, std::unique_ptr<bench::BatchCaptureState>>;
    std::unique_ptr<bench::BatchCaptureState>& kept = (*stores)[orders];
    if (!kept && QFile::exists(bench::sellerStoreFolder(orders) + QStringLiteral("/built")))
        kept = std::make_unique<bench::BatchCaptureState>(bench::sellerStoreFolder(orders));
    return kept.get();
}

/** The main window on the store, shown and drawn, or null (the run is skipped). */
std::unique_ptr<MainWindow> windowOn(benchmark::State& state) {
    bench::BatchCaptureState* store = sellerStore(int(state.range(0)));
    if (!store) {
        state.SkipWithError("no store: run bench_seller_store first");
        return nullptr;
    }
    auto window = std::make_unique<MainWindow>(store->state);
    window->show();
    window->repaint();
    return window;
}

void BM_ListPageTurn(benchmark::State& state) {
    const auto window = windowOn(state);
    if (!window)
        return;
    auto* next = qobject_cast<QPushButton*>(window->nextPageButton());
    auto* previous = qobject_cast<QPushButton*>(window->previousPageButton());
    int turn = 0;
    for (auto _ : state) {
        // Forth and back between the first two pages: never past an end, so no message box.
        (++turn % 2 ? next : previous)->click();
        window->repaint();
    }
}
BENCHMARK(BM_ListPageTurn)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ListFilter(benchmark::State& state) {
    const auto window = windowOn(state);
    if (!window)
        return;
    auto* filter = qobject_cast<QPushButton*>(window->filterButton());
    int round = 0;
    for (auto _ : state) {
        // Between two print states, so that every round queries anew.
        window->printStateList()->setCurrentText(++round % 2 ? QStringLiteral("两单均未打")
                                                             : QStringLiteral("快递单未打"));
        filter->click();
        window->repaint();
    }
}
BENCHMARK(BM_ListFilter)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ListSearch(benchmark::State& state) {
    const auto window = windowOn(state);
    if (!window)
        return;
    window->searchFieldList()->setCurrentText(QStringLiteral("买家ID"));
    auto* search = qobject_cast<QPushButton*>(window->searchButton());
    int round = 0;
    for (auto _ : state) {
        window->searchKey()->setText(++round % 2 ? QStringLiteral("buyer_77")
                                                 : QStringLiteral("buyer_5"));
        search->click();
        window->repaint();
    }
}
BENCHMARK(BM_ListSearch)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A seller looking one order up by its number: each key is found on a single order.
void BM_ListSearchOneOrder(benchmark::State& state) {
    const auto window = windowOn(state);
    if (!window)
        return;
    window->searchFieldList()->setCurrentText(QStringLiteral("订单标志"));
    auto* search = qobject_cast<QPushButton*>(window->searchButton());
    int round = 0;
    for (auto _ : state) {
        window->searchKey()->setText(++round % 2 ? QStringLiteral("20241205000777")
                                                 : QStringLiteral("20241205000555"));
        search->click();
        window->repaint();
    }
}
BENCHMARK(BM_ListSearchOneOrder)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The window's own part of a start: the store is open; the window is made, shown and drawn.
void BM_WindowStart(benchmark::State& state) {
    bench::BatchCaptureState* store = sellerStore(int(state.range(0)));
    if (!store) {
        state.SkipWithError("no store: run bench_seller_store first");
        return;
    }
    for (auto _ : state) {
        MainWindow window(store->state);
        window.show();
        window.repaint();
    }
}
BENCHMARK(BM_WindowStart)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The whole start as a seller waits for it: the program started on the store, then the window.
void BM_StartToFirstPage(benchmark::State& state) {
    const QString folder = bench::sellerStoreFolder(int(state.range(0)));
    if (!QFile::exists(folder + QStringLiteral("/built"))) {
        state.SkipWithError("no store: run bench_seller_store first");
        return;
    }
    for (auto _ : state) {
        bench::BatchCaptureState store(folder);
        MainWindow window(store.state);
        window.show();
        window.repaint();
    }
}
BENCHMARK(BM_StartToFirstPage)->Arg(1000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace
