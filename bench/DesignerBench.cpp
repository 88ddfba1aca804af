// The designer's redraw when one item of a full template (41 layout items and ten
// custom items) moves, against the 16.7 ms of a 60 Hz frame.
#include "DesignerScene.h"
#include "DesignerView.h"

#include "waybill/LayoutCodec.h"
#include "waybill/SampleOrder.h"
#include "waybill/TemplateFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace mldd;

namespace {

// 41 items in three columns over the shipped 圆通 form, and ten custom items.
std::unique_ptr<TemplateDocument> fullTemplate(const QTemporaryDir& dir) {
    const DataFolder folder(dir.filePath(QStringLiteral("data")));
    const QString delivery = folder.file(QStringLiteral("Delivery"));
    QDir().mkpath(delivery);
    QFile::copy(QStringLiteral(MLDD_SHIPPED_DATA "/Delivery/圆通.mlm"),
                delivery + QStringLiteral("/满.mlm"));
    const QStringList sources{"C|收件人:+B|ORDER_DATA:buy_name",
                              "B|ORDER_DATA:buy_phone1+C| +B|ORDER_DATA:buy_phone2",
                              "B|ORDER_DATA:buy_address_sheng+B|ORDER_DATA:buy_address_shi+B|"
                              "ORDER_DATA:buy_address_xian+B|ORDER_DATA:buy_address",
                              "C|寄件人:+B|MY_DATA:my_fjr",
                              "B|MY_DATA:my_address",
                              "B|SYS:Year+C|-+B|SYS:Month+C|-+B|SYS:Day",
                              "B|ORDER_DATA:buy_goods"};
    QStringList records;
    for (int i = 0; i < 40; ++i)
        records.append(QStringLiteral("Y{F}N{F}%1{F}项目%2{F}宋体{F}10.5{F}0{F}LT^%3^%4^4000^"
                                      "500{F}L^4000")
                           .arg(sources[i % sources.size()])
                           .arg(i + 1)
                           .arg(300 + (i % 3) * 4300)
                           .arg(300 + (i / 3) * 520));
    records.append(
        QStringLiteral("Y{F}N{F}T|ORDER_DATA:wuliu_code{F}条码{F}宋体{F}9{F}0{F}LT^567^794^4252^"
                       "1247{F}N^"));
    TemplateFiles(folder, QStringLiteral("满")).saveLayout(records.join(QStringLiteral("{D}")));
    QList<CustomItem> custom = CustomItems::load(QString());
    for (int i = 0; i < custom.size(); ++i) {
        custom[i].text = QStringLiteral("易碎品 请轻放 %1").arg(i + 1);
        custom[i].left = 9000;
        custom[i].top = 300 + i * 400;
    }
    CustomItems::save(TemplateFiles(folder, QStringLiteral("满")).customItemsPath(), custom);
    return std::move(TemplateDocument::open(folder, QStringLiteral("满")).document);
}

// Counts the paints of the view, so that a figure is known to include the repaint.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

struct Designer {
    QTemporaryDir dir;
    std::unique_ptr<TemplateDocument> document = fullTemplate(dir);
    Order order = SampleOrder::order();
    SenderProfile sender = SampleOrder::sender();
    WaybillRenderer renderer{WaybillSettings{}};
    DesignerScene scene{*document, renderer, WaybillInput{order, &sender, QDate(2026, 5, 1)}};
    DesignerView view;

    Designer() {
        view.setScene(&scene);
        view.resize(1024, 768);
        view.show();
        view.setZoom(view.fittingZoom(document->paper()));
        scene.setPixelsPerTwip(view.pixelsPerTwip());
        QApplication::processEvents();
    }
};

// The release of a drag: the document takes the new box, the item is laid out again by the
// renderer, and the view repaints what changed.
void BM_MoveOneItemOfFiftyOne(benchmark::State& state) {
    Designer designer;
    const ItemRef moved = ItemRef::layout(0);
    const QRectF box = *designer.document->box(moved);
    PaintCounter counter;
    designer.view.viewport()->installEventFilter(&counter);
    int step = 0;
    for (auto _ : state) {
        const double dx = (++step % 2) * kTwipsPerMillimetre;
        designer.document->setBoxes({{moved, box.translated(dx, 0)}}, QStringLiteral("移动"));
        QApplication::processEvents();
    }
    state.counters["items"] = double(designer.document->items().size());
    state.counters["paints"] =
        benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MoveOneItemOfFiftyOne)->Unit(benchmark::kMillisecond);

// One pointer step while dragging: snapping against the other fifty boxes and the repaint.
void BM_DragStepOfOneItem(benchmark::State& state) {
    Designer designer;
    QWidget* paper = designer.view.viewport();
    const QPoint grip =
        designer.view.mapFromScene(designer.document->box(ItemRef::layout(0))->center());
    QTest::mousePress(paper, Qt::LeftButton, {}, grip);
    int step = 0;
    for (auto _ : state) {
        QTest::mouseMove(paper, grip + QPoint(4 + (++step % 20), 2));
        QApplication::processEvents();
    }
    QTest::mouseRelease(paper, Qt::LeftButton, {}, grip);
}
BENCHMARK(BM_DragStepOfOneItem)->Unit(benchmark::kMillisecond);

// The worst frame: the whole view painted again, every box and the form picture.
void BM_RepaintWholeView(benchmark::State& state) {
    Designer designer;
    for (auto _ : state) {
        designer.view.viewport()->repaint();
    }
}
BENCHMARK(BM_RepaintWholeView)->Unit(benchmark::kMillisecond);

} // namespace
