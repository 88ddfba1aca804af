#include "BrowserPanel.h"
#include "CupsDaemon.h"
#include "Eventually.h"
#include "ExcelImportDialog.h"
#include "ExpressPlanDialog.h"
#include "FolderCopy.h"
#include "MainWindow.h"
#include "MarketPages.h"
#include "ModalAnswers.h"
#include "OrderRowWidget.h"
#include "SellerClicks.h"
#include "SenderProfilesDialog.h"
#include "ServiceProcess.h"
#include "SpreadsheetFixture.h"
#include "TrackingNumberDialog.h"
#include "WindowFixture.h"

#include "address/PlaceTable.h"
#include "capture/ServiceClient.h"
#include "core/MainState.h"
#include "core/NumSign.h"
#include "core/OrderFilter.h"
#include "core/Startup.h"
#include "printing/PrintRun.h"
#include "printing/PrinterSetup.h"
#include "shiplist/CapitalAmount.h"
#include "shiplist/FaHuoSet.h"
#include "workbench/ProfileEditing.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <iostream>

using namespace mldd;
using test::ModalAnswers;

namespace {

const QString kPaipai = QStringLiteral("http://sell.paipai.com/order/detail.html");

QString textOf(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList jobFiles(const QString& folder, const QString& pattern) {
    QStringList files;
    for (const QString& name : QDir(folder).entryList({pattern}, QDir::Files))
        files.append(folder + u'/' + name);
    return files;
}

// The sender editor filled in as a new seller fills it: the shop, the name, the address and
// the contents name every parcel of the shop carries.
void fillSender(SenderProfilesDialog* editor, const QString& account, const QString& name) {
    if (editor->account()->text().isEmpty())
        test::typeText(editor->account(), account);
    test::typeText(editor->senderName(), name);
    test::typeText(editor->phone1(), QStringLiteral("13900001111"));
    test::typeText(editor->address(), QStringLiteral("贵州省贵阳市南明区花果园R1区8栋"));
    test::typeText(editor->defaultContentsName(), QStringLiteral("日用品"));
    QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
    editor->reject();
}

// Where a day's work happens: a private CUPS with the waybill queue "label" and the shipping-list
// queue "office" (each keeping its jobs in a folder), and a copy of the shipped data folder.
struct DayPlace {
    DayPlace() { test::copyFolder(QStringLiteral(MLDD_SOURCE_DIR "/data"), data); }

    test::CupsDaemon cups;
    QString waybillJobs = cups.addQueue(QStringLiteral("label"));
    QString listJobs = cups.addQueue(QStringLiteral("office"));
    QTemporaryDir dir;
    QString data = dir.path() + QStringLiteral("/data");
};

// Started as mldd starts, with the waybill printer "label" (its offsets set as the first-print
// guidance would) and the shipping-list printer "office".
void startWithPrinters(MainState& state) {
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    hooks.defaultShippingDesign = DefaultFaHuoSet;
    ASSERT_TRUE(startUp(state, QString(), hooks).ok);
    state.options.setValue(ProgramOptions::kCaptureHintShown, 3);
    state.options.setValue(5, 1); // the offset guidance was seen before
    state.saveOptions();
    const PrinterSetup printers(state.folder, state.log);
    ASSERT_FALSE(printers.chooseWaybillPrinter(QStringLiteral("label")));
    ASSERT_TRUE(printers.saveOffsets(QStringLiteral("label"), {283, 142}));
    ASSERT_TRUE(printers.saveListPrinter(QStringLiteral("office"), PrintDefaults::kPaperRecord));
}

// Four couriers in a few clicks: 圆通 for every province, the rest by exception.
void setUpPlan(ExpressPlanDialog* plan) {
    test::SellerClicks clicks;
    clicks.pick(plan->everyProvinceList(), QStringLiteral("圆通"));
    const auto& provinces = PlanPanel::provinces();
    for (const auto& [province, courier] :
         {std::pair{QStringLiteral("广东"), QStringLiteral("顺丰")},
          std::pair{QStringLiteral("北京"), QStringLiteral("中通")},
          std::pair{QStringLiteral("浙江"), QStringLiteral("申通")}}) {
        const int cell =
            int(std::find(provinces.begin(), provinces.end(), province) - provinces.begin());
        clicks.pick(plan->cellList(cell), courier);
    }
    clicks.click(plan->saveButton());
}

} // namespace

// A seller's first day on a fresh data folder, in the real window with a real mldd-service
// and a private CUPS: set up the sender, capture a page in the built-in browser and another
// handed over for a second shop, set the plan, fix orders, print waybills and shipping lists,
// import a wholesaler's workbook. Every dialog is opened by the window itself.
TEST(SellersDayTest, FromAFreshFolderToPrintedParcels) {
    test::ServiceProcess service{
        {QStringLiteral("--content"), QStringLiteral(MLDD_BIN "/service/content")}};
    ASSERT_NE(service.port(), 0);
    DayPlace place;
    const QString& waybillJobs = place.waybillJobs;
    const QString& listJobs = place.listJobs;
    ASSERT_FALSE(waybillJobs.isEmpty());
    const QString& data = place.data;
    {
        QFile url(data + QStringLiteral("/../g_url.dat"));
        ASSERT_TRUE(url.open(QIODevice::WriteOnly));
        url.write(QStringLiteral("http://127.0.0.1:%1\r\n").arg(service.port()).toUtf8());
    }
    MainState state{DataFolder(data)};
    startWithPrinters(state);

    MainWindow window(state);
    window.resize(1024, 768);
    window.show();
    int dialogs = 0;
    const QString workbook = place.dir.filePath(QStringLiteral("wholesaler.xlsx"));
    ASSERT_TRUE(test::TestWorkbooks::get().ok());
    ASSERT_TRUE(
        QFile::copy(test::TestWorkbooks::get().path(QStringLiteral("orders.xlsx")), workbook));
    QFile::setPermissions(workbook, QFile::ReadOwner | QFile::WriteOwner);
    ModalAnswers answers({}, [&](QDialog* dialog) {
        ++dialogs;
        if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
            auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(workbook);
            QTest::keyClick(name, Qt::Key_Return);
        } else if (auto* mapping = qobject_cast<ExcelImportDialog*>(dialog)) {
            const auto column = [&](ImportLayout::Field field, int index) {
                emit mapping->fieldCombo(field)->activated(index + 1);
            };
            column(ImportLayout::BuyerName, 1);
            column(ImportLayout::Address, 4);
            column(ImportLayout::Address, 5);
            column(ImportLayout::Goods, 6);
            mapping->senderList()->setCurrentText(QStringLiteral("淘宝:墨岚小店"));
            QTest::mouseClick(mapping->extractButton(), Qt::LeftButton);
        } else if (auto* editor = qobject_cast<SenderProfilesDialog*>(dialog))
            // A new sender starts without the page's shop: the seller names each of theirs.
            fillSender(editor,
                       state.profiles.isEmpty() ? QStringLiteral("墨岚小店")
                                                : QStringLiteral("墨岚二店"),
                       QStringLiteral("王小明"));
        else if (auto* plan = qobject_cast<ExpressPlanDialog*>(dialog))
            setUpPlan(plan);
        else if (auto* question = qobject_cast<QInputDialog*>(dialog)) {
            question->setTextValue(QStringLiteral("新建发件人…"));
            question->accept();
        } else
            ADD_FAILURE() << "unexpected " << dialog->metaObject()->className();
    });

    // 提取订单 on a fresh folder: the sender first, then the browser.
    window.menuAction(MainWindow::Capture)->trigger();
    ASSERT_NE(window.browserPanel(), nullptr);
    ASSERT_EQ(state.profiles.size(), 1);
    BrowserPanel* panel = window.browserPanel();
    const ServiceReply page = ServiceClient().get(QUrl(
        QStringLiteral("http://127.0.0.1:%1/mldd/samples/taobao-batch.html").arg(service.port())));
    ASSERT_TRUE(page.ok);
    QSignalSpy loaded(panel->currentView(), &QWebEngineView::loadFinished);
    panel->currentView()->setHtml(page.body, QUrl(test::kBatchSendPage));
    ASSERT_TRUE(loaded.wait(20000));
    QTest::mouseClick(panel->extractButton(), Qt::LeftButton);
    ASSERT_TRUE(test::becomes([&] { return state.cursor.recordCount(); }, 40, 30000));
    EXPECT_TRUE(answers.texts.contains(QStringLiteral("您需要设置快递方案！")));

    // A second shop's page handed over as mldd-do hands it: its sender is made on the way.
    QFile paipai(QStringLiteral(MLDD_SOURCE_DIR "/samples/paipai-detail.txt"));
    ASSERT_TRUE(paipai.open(QIODevice::ReadOnly));
    window.acceptRequest(kPaipai, QString::fromUtf8(paipai.readAll()));
    ASSERT_TRUE(test::becomes([&] { return state.profiles.size(); }, 2, 30000));

    // Every order of both shops, then the checks: a recognition, a courier changed by hand.
    window.senderFilterList()->setCurrentText(OrderFilter::kAll);
    QTest::mouseClick(window.filterButton(), Qt::LeftButton);
    const qsizetype listed = state.cursor.recordCount();
    EXPECT_EQ(listed, 41);
    OrderRowWidget* card = window.rows().at(0);
    const qint64 recognised = card->orderId();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    card->field(&Order::buyAddress)->setFocus();
    card->field(&Order::buyAddress)->selectAll();
    test::typeText(card->field(&Order::buyAddress),
                   QStringLiteral("王芳，13900001111，浙江省杭州市西湖区文三路478号，310012"));
    QTest::mouseClick(card->recognizeButton(), Qt::LeftButton);
    EXPECT_EQ(card->field(&Order::delivery)->text(), QStringLiteral("申通"));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.rows().at(1)->field(&Order::buyName)->setFocus(); // leaves the card: one question
    ASSERT_TRUE(
        test::becomes([&] { return OrderStore(*state.database).byId(recognised)->buyAddressShi; },
                      QStringLiteral("杭州市"), 5000));

    // Waybills of the whole list, after one question with the count.
    window.menuAction(MainWindow::PrintWaybills)->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.printRun() && !window.printRun()->isRunning(); }, 180000));
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    EXPECT_TRUE(answers.texts.contains(QStringLiteral("将打印41张快递单，继续吗？")))
        << answers.texts.join(u'|').toStdString();
    const QStringList waybills = jobFiles(waybillJobs, QStringLiteral("*.pdf"));
    EXPECT_EQ(waybills.size(), 41) << answers.texts.join(u'|').toStdString();
    int withContents = 0;
    for (const QString& pdf : waybills)
        withContents += textOf(pdf).contains(QStringLiteral("日用品"));
    EXPECT_EQ(withContents, 41) << "the sender's contents name prints on every waybill";

    // Shipping lists from the 发货单 tab: every sum is a real one, and the capitals agree.
    QTest::mouseClick(window.modeTabs(), Qt::LeftButton, {},
                      window.modeTabs()->tabRect(1).center());
    EXPECT_EQ(state.cursor.recordCount(), 41);
    window.menuAction(MainWindow::PrintLists)->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.printRun() && !window.printRun()->isRunning(); }, 180000));
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("office")));
    const QStringList lists = jobFiles(listJobs, QStringLiteral("*.pdf"));
    EXPECT_EQ(lists.size(), 41) << answers.texts.join(u'|').toStdString();
    static const QRegularExpression total(QStringLiteral("总价：\\s*(-?[0-9.]+)元"));
    for (const QString& pdf : lists) {
        const QString text = textOf(pdf);
        const QRegularExpressionMatch sum = total.match(text);
        ASSERT_TRUE(sum.hasMatch()) << pdf.toStdString();
        EXPECT_GT(sum.captured(1).toDouble(), 0) << text.toStdString();
        EXPECT_TRUE(
            QString(text).remove(u' ').contains(ToCapitalAmount(sum.captured(1).toDouble())))
            << text.toStdString();
    }

    // A wholesaler's workbook through 导入Excel, tracking numbers typed into the cards, their
    // waybills printed, and the numbers written back into the workbook when the run asks.
    QTest::mouseClick(window.modeTabs(), Qt::LeftButton, {},
                      window.modeTabs()->tabRect(0).center());
    window.menuAction(MainWindow::Import)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.importProgress(); }, 30000));
    ASSERT_EQ(state.cursor.recordCount(), 3) << window.statusLine()->text().toStdString();
    QStringList typed;
    for (int i = 0; i < 3; ++i) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QLineEdit* number = window.rows().at(i)->field(&Order::wuliuCode);
        typed.append(QStringLiteral("YT90%1").arg(i + 1));
        number->setFocus();
        test::typeText(number, typed.last());
        window.searchKey()->setFocus(); // leaves the card: saved after one question
    }
    window.menuAction(MainWindow::PrintWaybills)->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(answers.texts.begin(), answers.texts.end(), [](const QString& text) {
                return text.startsWith(QStringLiteral("已把"));
            });
        },
        60000));
    QProcess read;
    read.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import openpyxl,sys\n"
                               "s=openpyxl.load_workbook(sys.argv[1])['订单']\n"
                               "last=openpyxl.utils.get_column_letter(s.max_column)\n"
                               "print('|'.join(str(c.value) for c in s[last]))"),
                workbook});
    ASSERT_TRUE(read.waitForFinished(30000));
    const QString numbers = QString::fromUtf8(read.readAllStandardOutput()).trimmed();
    for (const QString& number : typed)
        EXPECT_TRUE(numbers.contains(number)) << numbers.toStdString();
    EXPECT_TRUE(numbers.startsWith(QStringLiteral("快递单号"))) << numbers.toStdString();
    EXPECT_EQ(dialogs, 6) << "two sender editors, the binding question, the plan, the file "
                             "dialog and the mapping window";
}

// The day's main job for 100 orders of four couriers, counting the seller's clicks and keys:
// the tracking numbers (three pads of consecutive forms, 顺丰 labels scanned), the waybills one
// courier at a time (as the paper question advises), then the shipping lists. A button, a list
// choice or an answered box is a click; a scanned or typed number is neither.
TEST(SellersDayTest, AHundredOrdersOfFourCouriersInUnderThirtyClicks) {
    DayPlace place;
    const QString& waybillJobs = place.waybillJobs;
    const QString& listJobs = place.listJobs;
    ASSERT_FALSE(waybillJobs.isEmpty());
    const QString& data = place.data;
    MainState state{DataFolder(data)};
    startWithPrinters(state);
    SenderProfile sender;
    sender.myIdh = QStringLiteral("淘宝:墨岚小店");
    sender.name = QStringLiteral("王小明");
    sender.address = QStringLiteral("贵州省贵阳市南明区花果园R1区8栋");
    ASSERT_FALSE(ProfileEditing::save(state, QString(), sender, DefaultFaHuoSet));
    // The forms downloaded from the board on the first day: the courier filter lists them.
    for (const QString& form : {QStringLiteral("圆通"), QStringLiteral("申通"),
                                QStringLiteral("中通"), QStringLiteral("顺丰")})
        if (!state.couriers.contains(form))
            state.couriers.append(form);
    const QStringList couriers{QStringLiteral("圆通"), QStringLiteral("申通"),
                               QStringLiteral("圆通"), QStringLiteral("中通"),
                               QStringLiteral("顺丰")};
    QList<Order> orders(100);
    for (int i = 0; i < 100; ++i) {
        orders[i].myId = sender.myIdh;
        orders[i].orderSign = QStringLiteral("淘宝:%1").arg(8000 + i);
        orders[i].numSign = numSignOf(orders[i].orderSign);
        orders[i].buyName = QStringLiteral("收货人%1").arg(i);
        orders[i].buyPhone1 = QStringLiteral("1390000%1").arg(i, 4, 10, QChar(u'0'));
        orders[i].buyAddress = QStringLiteral("花溪大道%1号").arg(i);
        orders[i].buyGoods = QStringLiteral("茶杯 1 25.00");
        orders[i].delivery = couriers.at(i % couriers.size());
    }
    OrderWriteRule rule;
    ASSERT_TRUE(OrderStore(*state.database).insert(orders, rule));
    state.requery();

    MainWindow window(state);
    window.resize(1024, 768);
    window.show();
    int clicks = 0;
    QStringList sfScanned;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* fill = qobject_cast<TrackingNumberDialog*>(dialog);
        ASSERT_NE(fill, nullptr) << dialog->metaObject()->className();
        // The first form of each pad of consecutive forms.
        const QMap<QString, QString> firstForm{
            {QStringLiteral("圆通"), QStringLiteral("YT7000000001")},
            {QStringLiteral("申通"), QStringLiteral("268000000001")},
            {QStringLiteral("中通"), QStringLiteral("731000000001")}};
        int sf = 0;
        while (fill->numberBox()->isEnabled()) {
            const QString waiting = fill->courierLine()->text();
            const auto pad =
                std::find_if(firstForm.keyValueBegin(), firstForm.keyValueEnd(),
                             [&](const auto& form) { return waiting.startsWith(form.first); });
            if (pad != firstForm.keyValueEnd()) {
                QTest::keyClicks(fill->numberBox(), (*pad).second);
                QTest::mouseClick(fill->runButton(), Qt::LeftButton);
                ++clicks;
            } else {
                sfScanned.append(QStringLiteral("%1").arg(100000000000LL + ++sf));
                QTest::keyClicks(fill->numberBox(), sfScanned.last());
                QTest::keyClick(fill->numberBox(), Qt::Key_Return);
            }
        }
        QTest::mouseClick(fill->closeButton(), Qt::LeftButton);
        ++clicks;
    });
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    int keys = 1; // Ctrl+T: 填写运单号
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
    int numbered = 0;
    for (const Order& order :
         OrderStore(*state.database)
             .byIds(QList<qint64>(state.cursor.ids().begin(), state.cursor.ids().end())))
        numbered += !order.wuliuCode.isEmpty();
    EXPECT_EQ(numbered, 100);
    EXPECT_EQ(sfScanned.size(), 20);

    test::SellerClicks filterPicks;
    for (const QString& courier : {QStringLiteral("圆通"), QStringLiteral("申通"),
                                   QStringLiteral("中通"), QStringLiteral("顺丰")}) {
        filterPicks.pick(window.courierList(), courier);
        // Back in the window after the last box closed, as the seller is.
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F5);                     // 筛选
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier); // 打印快递单
        keys += 2;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return window.printRun() && !window.printRun()->isRunning(); }, 600000));
        EXPECT_EQ(state.cursor.recordCount(), 0) << courier.toStdString();
    }
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    EXPECT_EQ(jobFiles(waybillJobs, QStringLiteral("*.pdf")).size(), 100);

    clicks += filterPicks.count() + 2; // 显示全部, the 发货单 tab
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("显示全部"))
            QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(window.modeTabs(), Qt::LeftButton, {},
                      window.modeTabs()->tabRect(1).center());
    EXPECT_EQ(state.cursor.recordCount(), 100);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ++keys;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.printRun() && !window.printRun()->isRunning(); }, 600000));
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("office")));
    EXPECT_EQ(jobFiles(listJobs, QStringLiteral("*.pdf")).size(), 100);

    clicks += int(answers.texts.size());
    std::cout << "[ clicks   ] the day's job for 100 orders of four couriers: " << clicks
              << " clicks and " << keys << " keys (" << answers.texts.join(u'|').toStdString()
              << ")\n";
    EXPECT_LT(clicks, 30);
}
