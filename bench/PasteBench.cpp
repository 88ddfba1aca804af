// Batch paste: one block recognised, a thousand recognised and shown in the
// window's table, a thousand stored into a seller's store of a million orders.
#include "MillionOrders.h"
#include "PastedReceivers.h"

#include "BatchPasteDialog.h"

#include "address/PastedBatch.h"
#include "address/PlaceTable.h"
#include "capture/PastedOrders.h"
#include "core/OrderDatabase.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

const ErrorLog kLog(QStringLiteral("/nonexistent/ERR.TXT"));

const PlaceTable& shippedTable() {
    static const PlaceTable table =
        LoadPlaceTable(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"), kLog);
    return table;
}

void recognizeOneBlock(benchmark::State& state) {
    const QStringList blocks = test::pastedReceivers(400);
    qsizetype next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RecognizeReceiver(blocks.at(next), shippedTable(), kLog));
        next = (next + 1) % blocks.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(recognizeOneBlock)->Unit(benchmark::kMicrosecond);

// Cut into blocks and read, without a window.
void recognizeThousand(benchmark::State& state) {
    const QString text = test::pastedReceivers(1000).join(QStringLiteral("\n\n"));
    for (auto _ : state)
        benchmark::DoNotOptimize(RecognizeBatch(text, shippedTable(), kLog));
}
BENCHMARK(recognizeThousand)->Unit(benchmark::kMillisecond);

// The million-order store, with the shipped place table the window reads addresses by.
MainState& millionStore() {
    static const std::unique_ptr<MainState> state = [] {
        std::unique_ptr<MainState> started = bench::startMillionOrders();
        started->placeTable = std::make_shared<const PlaceTable>(shippedTable());
        return started;
    }();
    return *state;
}

// What the seller waits for after 识别: the thousand rows in the table, repeats marked.
void recognizeAndShowThousand(benchmark::State& state) {
    BatchPasteDialog dialog(millionStore());
    dialog.pasteBox()->setPlainText(test::pastedReceivers(1000).join(QStringLiteral("\n\n")));
    for (auto _ : state) {
        dialog.recognizeButton()->click();
        benchmark::DoNotOptimize(dialog.table()->rowCount());
    }
}
BENCHMARK(recognizeAndShowThousand)->Unit(benchmark::kMillisecond);

// Orders made, repeats looked up, stored in one transaction, the list queried again.
void storeThousand(benchmark::State& state) {
    MainState& main = millionStore();
    const QList<PastedBlock> blocks = RecognizeBatch(
        test::pastedReceivers(1000).join(QStringLiteral("\n\n")), *main.placeTable, kLog);
    const PasteChoices choices{main.profiles.isEmpty() ? QStringLiteral("淘宝:店")
                                                       : main.profiles.first().myIdh,
                               QString(), QStringLiteral("毛巾 2")};
    for (auto _ : state) {
        const PastedOrderMaker maker(main, choices);
        QList<Order> orders;
        for (const PastedBlock& block : blocks)
            orders.append(maker.make(block.receiver));
        const QList<bool> repeated = FindRepeatedReceivers(*main.database, orders);
        benchmark::DoNotOptimize(repeated);
        const PasteStoreResult result = StorePastedOrders(main, orders);
        state.PauseTiming();
        if (!result.stored)
            state.SkipWithError("not stored");
        QSqlQuery(main.database->connection())
            .exec(QStringLiteral("delete from order_data where id >= %1").arg(orders.first().id));
        state.ResumeTiming();
    }
}
BENCHMARK(storeThousand)->Unit(benchmark::kMillisecond);

} // namespace
