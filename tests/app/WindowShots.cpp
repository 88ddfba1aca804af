// Opens each window a seller fills in over the main window, on a data folder
// made by scripts/screenshot-windows, and writes a picture of the whole screen
// for each into the folder given: for looking at them as a seller would.
#include "BatchPasteDialog.h"
#include "ChineseLocale.h"
#include "DatabaseSettingsDialog.h"
#include "DecodeFileEditor.h"
#include "ExcelImportDialog.h"
#include "ExpressPlanDialog.h"
#include "MainWindow.h"
#include "ManualEntryDialog.h"
#include "MenuSettingsDialog.h"
#include "OffsetAdjustDialog.h"
#include "PickingListDialog.h"
#include "PrintPreviewDialog.h"
#include "PrintSettingsDialog.h"
#include "PrinterSetupDialog.h"
#include "SenderProfilesDialog.h"
#include "ShippingListDesigner.h"
#include "TrackingNumberDialog.h"

#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "printing/CupsSpooler.h"
#include "printing/LabelSettings.h"
#include "printing/PaperRecords.h"
#include "printing/PrintRun.h"
#include "printing/PrinterSetup.h"
#include "shiplist/FaHuoSet.h"
#include "waybill/WaybillPages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QThread>
#include <QTimer>

using namespace mldd;

namespace {

void shoot(QWidget& window, const QString& path) {
    window.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window.move(screen.center() - window.rect().center());
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    QThread::msleep(300);
    QCoreApplication::processEvents();
    QGuiApplication::primaryScreen()->grabWindow(0).save(path);
    window.hide();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    mldd::installChineseLocale(app);
    if (argc < 4)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[2]);
    MainState state{DataFolder(QString::fromLocal8Bit(argv[1]))};
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    hooks.defaultShippingDesign = DefaultFaHuoSet;
    if (!startUp(state, QString(), hooks).ok)
        return 1;
    QFile page(QString::fromLocal8Bit(argv[3]));
    if (!page.open(QIODevice::ReadOnly))
        return 1;

    MainWindow main(state);
    main.setGeometry(0, 0, 1024, 740);
    main.show();
    SenderProfilesDialog senders(state, &main);
    senders.profileList()->setCurrentRow(1);
    shoot(senders, out + QStringLiteral("/SenderProfilesDialog.png"));
    ShippingListDesigner design(state, state.profiles.first().myIdh, &main);
    shoot(design, out + QStringLiteral("/ShippingListDesigner.png"));
    ManualEntryDialog entry(state, &main);
    entry.address()->setPlainText(
        QStringLiteral("王小明，13800001111，，贵州省贵阳市南明区花果园R1区8栋，550002"));
    shoot(entry, out + QStringLiteral("/ManualEntryDialog.png"));
    BatchPasteDialog batch(state, &entry);
    batch.pasteBox()->setPlainText(QStringLiteral(
        "收货人：李小红\n手机号码：13812345678\n所在地区：贵州省 贵阳市 花溪区\n"
        "详细地址：花溪大道北段218号\n\n张伟，86-13900001111，上海市 徐汇区 "
        "漕溪北路88号，200030\n\n"
        "林** 186****2222 湖北省恩施州恩施市航空大道56号\n\n王芳 北京市朝阳区建国路88号"));
    batch.recognizeButton()->click();
    shoot(batch, out + QStringLiteral("/BatchPasteDialog.png"));
    DecodeFileEditor decode(state, QStringLiteral("https://trade.taobao.com/trade/detail.htm"),
                            QString::fromUtf8(page.readAll()), &main);
    shoot(decode, out + QStringLiteral("/DecodeFileEditor.png"));
    MenuSettingsDialog menu(state, main.menuEntryCaptions(), &main);
    shoot(menu, out + QStringLiteral("/MenuSettingsDialog.png"));
    DatabaseSettingsDialog store(
        QStringLiteral("连不上订单数据库服务器 postgresql://mldd@db.shop/orders：服务器没有"
                       "运行，或者地址不对。\r\n请检查服务器和设置里的数据库地址；"
                       "已经保存的订单没有改动。"),
        QStringLiteral("postgresql://mldd@db.shop/orders"), &main);
    shoot(store, out + QStringLiteral("/DatabaseSettingsDialog.png"));
    // 填写运单号 with the waiting order large and a scanned number it questions.
    TrackingNumberDialog tracking(state, &main);
    tracking.numberBox()->setText(QStringLiteral("12345"));
    emit tracking.numberBox()->returnPressed();
    shoot(tracking, out + QStringLiteral("/TrackingNumberDialog.png"));
    ExpressPlanDialog plan(state, &main);
    shoot(plan, out + QStringLiteral("/ExpressPlanDialog.png"));
    if (argc > 4) {
        // A marketplace's export with the columns chosen as a seller would choose them.
        ExcelImportDialog mapping(state, &main);
        if (!mapping.openWorkbook(QString::fromLocal8Bit(argv[4])))
            return 1;
        const QList<std::pair<ImportLayout::Field, int>> chosen{
            {ImportLayout::OrderNumber, 0}, {ImportLayout::BuyerName, 1},
            {ImportLayout::Phone1, 2},      {ImportLayout::Phone2, 3},
            {ImportLayout::Province, 4},    {ImportLayout::Address, 5},
            {ImportLayout::Goods, 6},       {ImportLayout::BuyerMessage, 7}};
        // Chosen anew: the columns the headers placed would otherwise be named twice.
        for (const auto& [field, column] : chosen) {
            mapping.clearButton(field)->click();
            emit mapping.fieldCombo(field)->activated(column + 1);
        }
        shoot(mapping, out + QStringLiteral("/ExcelImportDialog.png"));
    }
    PrintSettingsDialog printSettings(state, &main);
    shoot(printSettings, out + QStringLiteral("/PrintSettingsDialog.png"));
    // The printers of the cupsd scripts/screenshot started; a label printer adjusted once.
    const PrinterSetup setup(state.folder, state.log);
    setup.chooseWaybillPrinter(QStringLiteral("Label"));
    setup.saveOffsets(QStringLiteral("Label"), {57, -28});
    // Label prints TSPL on 100×150 labels; lists and picking lists go to Office's A4.
    LabelSettings labels;
    labels.language = LabelLanguage::Tspl;
    labels.paperMm = QSizeF(100, 150);
    LabelSetup(setup).save(QStringLiteral("Label"), labels);
    setup.saveListPrinter(QStringLiteral("Office"), PaperRecords::kDefaultRecord);
    CupsSpooler spooler;
    PrinterSetupDialog printers(state, spooler, &main);
    shoot(printers, out + QStringLiteral("/PrinterSetupDialog.png"));
    // 打印 › 打印拣货单 over the listed orders, grouped by courier.
    PickingListDialog picking(
        state, spooler,
        OrderStore(*state.database)
            .byIds(QList<qint64>(state.cursor.ids().begin(), state.cursor.ids().end())),
        &main);
    picking.byCourier()->setChecked(true);
    shoot(picking, out + QStringLiteral("/PickingListDialog.png"));
    // The first order's waybill large, and in the offset adjustment moved a little right.
    const Order first =
        OrderStore(*state.database).byIds({state.cursor.pageIds(1).value(0)}).value(0);
    WaybillPages waybills(state.folder, state.log, state.settings, state.profiles,
                          QDate::currentDate());
    const std::variant<PageModel, Notice> waybill = waybills.page(first);
    if (const auto* page = std::get_if<PageModel>(&waybill)) {
        PrintPreviewDialog larger(first.orderSign, {*page},
                                  setup.placement(QStringLiteral("Label")), &main);
        shoot(larger, out + QStringLiteral("/PrintPreviewDialog.png"));
        // The same order on a whole waybill of 100×150 thermal label stock.
        Order onLabel = first;
        onLabel.delivery = QStringLiteral("热敏100x150");
        if (const auto label = waybills.page(onLabel); std::holds_alternative<PageModel>(label)) {
            PrintPreviewDialog thermal(first.orderSign, {std::get<PageModel>(label)}, {}, &main);
            shoot(thermal, out + QStringLiteral("/PrintPreviewDialog_Thermal.png"));
        }
        OffsetAdjustDialog adjusting(setup, QStringLiteral("Label"), *page, &main);
        for (int i = 0; i < 4; ++i)
            adjusting.button(QStringLiteral("右"))->click();
        shoot(adjusting, out + QStringLiteral("/OffsetAdjustDialog.png"));
    }
    shoot(main, out + QStringLiteral("/MainWindow.png"));
    // The 发货单 tab: each card shows its order's shipping list with the page label.
    main.modeTabs()->setCurrentIndex(1);
    emit main.modeTabs()->tabBarClicked(1);
    shoot(main, out + QStringLiteral("/MainWindow_ShippingLists.png"));

    // The window during a run of the listed waybills: the progress line under the paper question
    // that comes between two forms. Every box is answered as a seller would.
    main.modeTabs()->setCurrentIndex(0);
    emit main.modeTabs()->tabBarClicked(0);
    state.options.setValue(5, 1); // the first-print guidance was seen
    main.printStateList()->setCurrentText(QStringLiteral("所有"));
    qobject_cast<QPushButton*>(main.filterButton())->click(); // every order, of three couriers
    main.show();
    main.move(QGuiApplication::primaryScreen()->geometry().center() - main.rect().center());
    bool shot = false;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (!shot) {
            QThread::msleep(300);
            QCoreApplication::processEvents();
            QGuiApplication::primaryScreen()->grabWindow(0).save(out + "/MainWindow_Printing.png");
            shot = true;
        }
        modal->close();
    });
    answerer.start(100);
    main.menuAction(MainWindow::PrintWaybills)->trigger();
    for (int waited = 0; main.printRun() && main.printRun()->isRunning() && waited < 30000;
         waited += 20) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return 0;
}
