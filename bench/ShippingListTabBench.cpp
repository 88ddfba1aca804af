// A page turn of the order list in the 发货单 tab: ten orders read, each one's shipping
// list composed (thirty goods rows, two pages on A4) and drawn into its card.
#include "MainWindow.h"
#include "OrderRowWidget.h"
#include "PagedPreview.h"
#include "WaybillPreview.h"

#include "core/MainState.h"
#include "core/NumSign.h"
#include "core/Startup.h"
#include "shiplist/FaHuoSet.h"
#include "workbench/ProfileEditing.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

const QString kSender = QStringLiteral("淘宝:墨岚小店");

void storeOrders(MainState& state, int count) {
    QStringList goods;
    for (int i = 1; i <= 30; ++i)
        goods.append(QStringLiteral("纯棉连衣裙夏季新款%1号 %2 59.9 5").arg(i).arg(i % 3 + 1));
    QList<Order> orders(count);
    for (int n = 0; n < count; ++n) {
        orders[n].myId = kSender;
        orders[n].orderSign = QStringLiteral("淘宝:%1").arg(202612050000LL + n);
        orders[n].numSign = numSignOf(orders[n].orderSign);
        orders[n].buyName = QStringLiteral("王小二%1").arg(n);
        orders[n].buyAddress = QStringLiteral("天河路%1号粤海天河城大厦三十层").arg(n);
        orders[n].wuliuCode = QStringLiteral("YT%1").arg(4021937465LL + n);
        orders[n].buyGoods = goods.join(QStringLiteral("\r\n"));
    }
    OrderWriteRule rule;
    OrderStore(*state.database).insert(orders, rule);
}

void BM_ShippingListTabPageTurn(benchmark::State& state) {
    QTemporaryDir dir;
    MainState main{DataFolder(dir.filePath(QStringLiteral("data")))};
    StartupHooks hooks;
    hooks.defaultShippingDesign = DefaultFaHuoSet;
    if (!startUp(main, QString(), hooks).ok) {
        state.SkipWithError("start-up failed");
        return;
    }
    SenderProfile profile;
    profile.myIdh = kSender;
    ProfileEditing::save(main, QString(), profile, DefaultFaHuoSet);
    storeOrders(main, 100);
    MainWindow window(main);
    window.show();
    window.modeTabs()->setCurrentIndex(1);
    emit window.modeTabs()->tabBarClicked(1);
    QApplication::processEvents();
    auto* next = qobject_cast<QPushButton*>(window.nextPageButton());
    auto* previous = qobject_cast<QPushButton*>(window.previousPageButton());
    // range(0) 1: until every card's pages are drawn too (they are drawn on worker threads).
    const auto drawing = [&window] {
        for (OrderRowWidget* row : window.rows())
            if (row->isVisible() && row->preview()->isDrawing())
                return true;
        return false;
    };
    int turn = 0;
    for (auto _ : state) {
        // Forth and back between the first two pages: never past an end, so no message box.
        (++turn % 2 ? next : previous)->click();
        window.repaint();
        while (state.range(0) && drawing())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const QString label = window.rows().first()->pagedPreview()->pageLabel()->text();
    state.counters["pages"] = label.section(u'/', 1).toDouble();
}
BENCHMARK(BM_ShippingListTabPageTurn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
