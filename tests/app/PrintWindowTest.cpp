#include "WindowFixture.h"

#include "CupsDaemon.h"
#include "MainWindow.h"
#include "MenuEntry.h"
#include "OrderRowWidget.h"
#include "PagedPreview.h"
#include "PickingListDialog.h"
#include "PrintFileWriter.h"
#include "PrintProgressLine.h"
#include "PrintSettingsDialog.h"
#include "ServiceProcess.h"

#include "core/PrintDefaults.h"
#include "printing/PrintRun.h"
#include "printing/PrinterSetup.h"
#include "waybill/PdfReadBack.h"
#include "waybill/PrintSwitches.h"
#include "waybill/TemplateFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

namespace mldd {
namespace {

// The window starts its runs on the spooler CUPS_SERVER names: a cupsd of this test's own.
class PrintWindowTest : public test::WindowFixture {
protected:
    void SetUp() override {
        test::WindowFixture::SetUp();
        jobs = cups.addQueue(QStringLiteral("label"));
        ASSERT_FALSE(jobs.isEmpty());
        QDir().mkpath(m_state.folder.file(QStringLiteral("Delivery")));
        for (const QString form : {"圆通", "中通"})
            for (const QString extension : {".mlg", ".mlm"})
                QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/Delivery/") + form + extension,
                            m_state.folder.file(QStringLiteral("Delivery/") + form + extension));
        const PrinterSetup setup(m_state.folder, m_state.log);
        ASSERT_FALSE(setup.chooseWaybillPrinter(QStringLiteral("label")));
        ASSERT_TRUE(setup.saveOffsets(QStringLiteral("label"), {283, 142}));
        m_state.options.setValue(5, 1); // the offset guidance was seen before
    }

    void storeWaybillOrders(const QStringList& forms) {
        QList<Order> orders(forms.size());
        for (int i = 0; i < forms.size(); ++i) {
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(1001 + i);
            orders[i].numSign = numSignOf(orders[i].orderSign);
            orders[i].buyName = QStringLiteral("收货人%1").arg(i + 1);
            orders[i].wuliuCode = QStringLiteral("YT4021937%1").arg(i, 3, 10, QLatin1Char('0'));
            orders[i].delivery = forms[i];
        }
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*m_state.database).insert(orders, rule));
        m_state.requery();
    }

    static void waitForEnd(MainWindow& window) {
        for (int waited = 0; window.printRun() && window.printRun()->isRunning() && waited < 120000;
             waited += 20)
            QTest::qWait(20);
    }

    test::CupsDaemon cups;
    QString jobs;
};

TEST_F(PrintWindowTest, TwentyOrdersOfTwoFormsPrintInListOrderAskingForEachPaperOnce) {
    storeWaybillOrders(QStringList(10, QStringLiteral("圆通")) +
                       QStringList(10, QStringLiteral("中通")));
    MainWindow window(m_state);
    window.show();
    test::ModalAnswers answers;
    window.menuAction(MainWindow::PrintWaybills)->trigger();
    EXPECT_TRUE(window.printProgressLine()->isVisible());
    waitForEnd(window);
    EXPECT_FALSE(window.printProgressLine()->isVisible());

    // The list shows the newest order number first: 中通's ten, then 圆通's; with two forms in
    // the run the first is asked for too.
    const QStringList changes = answers.texts.filter(QStringLiteral("请将快递单打印纸更换成"));
    ASSERT_EQ(changes.size(), 2);
    EXPECT_TRUE(changes[0].contains(QStringLiteral("[中通]")));
    EXPECT_TRUE(changes[1].contains(QStringLiteral("[圆通]")));
    EXPECT_TRUE(answers.texts.last().startsWith(QStringLiteral("已打印20张快递单。")))
        << answers.texts.last().toStdString();

    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    const QStringList titles = QDir(jobs).entryList({"*.title"}, QDir::Files);
    ASSERT_EQ(titles.size(), 20);
    QList<std::pair<int, QString>> byJob;
    for (const QString& name : titles) {
        QFile file(jobs + u'/' + name);
        file.open(QIODevice::ReadOnly);
        byJob.append({name.chopped(6).toInt(), QString::fromUtf8(file.readAll())});
    }
    std::sort(byJob.begin(), byJob.end());
    for (int i = 0; i < byJob.size(); ++i)
        EXPECT_EQ(byJob[i].second, QStringLiteral("快递单-淘宝:%1").arg(1020 - i));
    QTemporaryDir images;
    EXPECT_EQ(test::barcodesOf(QStringLiteral("%1/%2.pdf").arg(jobs).arg(byJob.last().first),
                               images.path()),
              QStringList{QStringLiteral("YT4021937000")});

    QSqlQuery marks(m_state.database->connection());
    marks.exec("select kd_sign, kd_print from order_data");
    int marked = 0;
    while (marks.next())
        marked += marks.value(0).toInt() == 1 && marks.value(1).toInt() == 1;
    EXPECT_EQ(marked, 20);
}

// 打印设置 › 打印发货单 on: each printed waybill's shipping list follows on the list printer,
// and 打印发货单 afterwards asks before printing them again.
TEST_F(PrintWindowTest, WithShippingListsOnAWaybillRunIsFollowedByItsLists) {
    const QString lists = cups.addQueue(QStringLiteral("office"));
    ASSERT_TRUE(PrinterSetup(m_state.folder, m_state.log)
                    .saveListPrinter(QStringLiteral("office"), PrintDefaults::kPaperRecord));
    storeWaybillOrders(QStringList(3, QStringLiteral("圆通")));
    MainWindow window(m_state);
    window.show();
    {
        test::ModalAnswers answers({}, [](QDialog* dialog) {
            auto* settings = qobject_cast<PrintSettingsDialog*>(dialog);
            ASSERT_TRUE(settings);
            settings->switchBox(PrintSwitches::PrintShippingList)->setChecked(true);
            settings->save();
        });
        for (QAction* action : window.menu(MainWindow::Menu::Printing)->actions())
            if (action->text() == QStringLiteral("打印设置"))
                action->trigger();
    }
    test::ModalAnswers answers;
    window.menuAction(MainWindow::PrintWaybills)->trigger();
    waitForEnd(window);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return answers.texts.contains(QStringLiteral("已打印3张发货单。")); }, 60000));
    waitForEnd(window);
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("office")));
    EXPECT_EQ(QDir(jobs).entryList({"*.pdf"}, QDir::Files).size(), 3);
    EXPECT_EQ(QDir(lists).entryList({"*.pdf"}, QDir::Files).size(), 3);
    QSqlQuery marks(m_state.database->connection());
    marks.exec("select count(*) from order_data where kd_sign = 1 and fh_sign = 1");
    ASSERT_TRUE(marks.next());
    EXPECT_EQ(marks.value(0).toInt(), 3);
}

TEST_F(PrintWindowTest, CancelStopsTheRunAfterTheOrderInHand) {
    storeWaybillOrders(QStringList(30, QStringLiteral("圆通")));
    MainWindow window(m_state);
    test::ModalAnswers answers;
    window.menuAction(MainWindow::PrintWaybills)->trigger();
    for (int waited = 0; window.printRun()->result().printedIds.size() < 2 && waited < 60000;
         waited += 10)
        QTest::qWait(10);
    QTest::mouseClick(window.printProgressLine()->cancelButton(), Qt::LeftButton);
    waitForEnd(window);
    const int printed = int(window.printRun()->result().printedIds.size());
    EXPECT_GE(printed, 2);
    EXPECT_LT(printed, 30);
    EXPECT_TRUE(answers.texts.last().contains(QStringLiteral("打印已取消。")));
    // The seller stopped it: going on with the rest is not offered.
    EXPECT_TRUE(answers.texts.filter(QStringLiteral("现在继续打印")).isEmpty());
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    EXPECT_EQ(QDir(jobs).entryList({"*.title"}, QDir::Files).size(), printed);
}

TEST_F(PrintWindowTest, APrintFileShowsItsRecordsTenToAPageWhileTheyPrint) {
    QTemporaryDir dir;
    const QString path = test::writePrintFile(dir.filePath(QStringLiteral("早班.mlk")), 12);
    MainWindow window(m_state);
    test::ModalAnswers answers;
    window.handleCommand(handleCommandText(m_state, path, CommandSource::Request));
    QTest::qWait(50);
    const auto shown = [&window] {
        QStringList names;
        for (OrderRowWidget* row : window.rows())
            if (!row->isHidden())
                names.append(row->field(&Order::buyName)->text());
        return names;
    };
    EXPECT_EQ(shown().size(), 10);
    EXPECT_EQ(shown().first(), QStringLiteral("收件人1"));
    EXPECT_TRUE(window.informationLine()->text().contains(QStringLiteral("总计12条 共2页")));
    waitForEnd(window);
    // The run turned the list to its second page at the eleventh record.
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("收件人11"), QStringLiteral("收件人12")}));
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    EXPECT_EQ(QDir(jobs).entryList({"*.title"}, QDir::Files).size(), 12);

    QTest::mouseClick(window.filterButton(), Qt::LeftButton);
    EXPECT_TRUE(shown().isEmpty()); // the stored orders again: there are none
}

// A print file on a form this folder lacks: the form is fetched from the service before the run,
// which then prints every record; the page shown behind it asks for nothing more.
TEST_F(PrintWindowTest, APrintFileOnAMissingFormFetchesItBeforeItsRun) {
    const test::ServiceProcess service{
        {QStringLiteral("--content"), QStringLiteral(MLDD_BIN "/service/content")}};
    ASSERT_NE(service.port(), 0);
    m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(service.port());
    QTemporaryDir dir;
    const QString path =
        test::writePrintFile(dir.filePath(QStringLiteral("晚班.mlk")), 3, QStringLiteral("韵达"));
    MainWindow window(m_state);
    test::ModalAnswers answers;
    window.handleCommand(handleCommandText(m_state, path, CommandSource::Request));
    QTest::qWait(50);
    waitForEnd(window);
    ASSERT_GE(answers.texts.size(), 2) << answers.texts.join(u'|').toStdString();
    EXPECT_EQ(answers.texts.at(0), TemplateFiles::missingNotice(QStringLiteral("韵达")).text);
    EXPECT_EQ(answers.texts.at(1),
              QStringLiteral("快递模版：韵达已经成功下载，点[确定]后，继续刚才的工作！"));
    EXPECT_EQ(answers.texts.filter(QStringLiteral("韵达")).size(), 2)
        << answers.texts.join(u'|').toStdString();
    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    EXPECT_EQ(QDir(jobs).entryList({"*.title"}, QDir::Files).size(), 3);
}

// The first run of a new folder: the guidance after the first waybill stops it, the end says how
// many are left, and going on prints every one of them once.
TEST_F(PrintWindowTest, TheFirstRunGoesOnAfterThePositionGuideWithTheOrdersItLeft) {
    m_state.options.setValue(5, 0);
    storeWaybillOrders(QStringList(19, QStringLiteral("圆通")));
    MainWindow window(m_state);
    window.show();
    test::ModalAnswers answers;
    window.menuAction(MainWindow::PrintWaybills)->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !answers.texts.filter(QStringLiteral("已打印18张快递单。")).isEmpty(); },
        120000));
    waitForEnd(window);
    ASSERT_EQ(answers.texts.filter(QStringLiteral("下面将要调整打印偏移。")).size(), 1);
    const QStringList left = answers.texts.filter(QStringLiteral("已打印1张快递单。"));
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left[0].contains(QStringLiteral("还有18张快递单没有打印。")))
        << left[0].toStdString();
    EXPECT_TRUE(left[0].contains(QStringLiteral("现在继续打印这18个订单吗？")));

    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    EXPECT_EQ(QDir(jobs).entryList({"*.title"}, QDir::Files).size(), 19);
    QSqlQuery marks(m_state.database->connection());
    marks.exec("select count(*) from order_data where kd_sign = 1 and kd_print = 1");
    ASSERT_TRUE(marks.next());
    EXPECT_EQ(marks.value(0).toInt(), 19);
}

// 打印 › 打印拣货单 on the ticked-nothing list: the list's orders, printed on the printer the
// seller picks, and nothing marked.
TEST_F(PrintWindowTest, APickingListPrintsFromThePrintMenuAndReadsBackWithItsSums) {
    QList<Order> orders(3);
    const QStringList goods{QStringLiteral("保温杯 星空蓝 500ml 编码:BW500 2 39"),
                            QStringLiteral("保温杯 星空蓝 500ml 编码:BW500 1 39；帆布袋 1 15"),
                            QStringLiteral("帆布袋 3 15")};
    for (int i = 0; i < 3; ++i) {
        orders[i].orderSign = QStringLiteral("淘宝:%1").arg(2001 + i);
        orders[i].numSign = numSignOf(orders[i].orderSign);
        orders[i].buyName = QStringLiteral("收货人%1").arg(i + 1);
        orders[i].buyGoods = goods[i];
        orders[i].delivery = QStringLiteral("圆通");
    }
    OrderWriteRule rule;
    ASSERT_TRUE(OrderStore(*m_state.database).insert(orders, rule));
    m_state.requery();
    MainWindow window(m_state);
    window.show();

    int pages = 0;
    test::ModalAnswers answers({}, [&pages](QDialog* dialog) {
        auto* picking = qobject_cast<PickingListDialog*>(dialog);
        ASSERT_TRUE(picking);
        pages = picking->preview()->pageLabel()->text().section(u'/', 1).toInt();
        picking->printer()->setCurrentIndex(picking->printer()->findText(QStringLiteral("label")));
        QTest::mouseClick(picking->printButton(), Qt::LeftButton);
    });
    test::menuEntry(window, MainWindow::Menu::Printing, QStringLiteral("打印拣货单"))->trigger();
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("拣货单已交给打印机 label。")});

    ASSERT_TRUE(test::CupsDaemon::waitUntilIdle(QStringLiteral("label")));
    const QStringList pdfs = QDir(jobs).entryList({"*.pdf"}, QDir::Files);
    ASSERT_EQ(pdfs.size(), 1);
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), jobs + u'/' + pdfs[0], "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    QStringList lines;
    for (const QString& line : QString::fromUtf8(text.readAllStandardOutput()).split(u'\n'))
        lines.append(line.simplified());
    const auto lineWith = [&lines](const QString& words) { return lines.filter(words).value(0); };
    EXPECT_FALSE(lineWith(QStringLiteral("拣货单")).isEmpty());
    EXPECT_TRUE(lineWith(QStringLiteral("订单：3个")).contains(QStringLiteral("包裹：3个")));
    EXPECT_EQ(lineWith(QStringLiteral("BW500")), QStringLiteral("1 BW500 保温杯 星空蓝 500ml 3 2"));
    EXPECT_EQ(lineWith(QStringLiteral("帆布袋")), QStringLiteral("2 帆布袋 4 2"));
    EXPECT_FALSE(lineWith(QStringLiteral("合计：7件，2种商品")).isEmpty());

    QSqlQuery marks(m_state.database->connection());
    marks.exec("select count(*) from order_data where kd_sign = 0 and fh_sign = 0");
    ASSERT_TRUE(marks.next());
    EXPECT_EQ(marks.value(0).toInt(), 3);
}

} // namespace
} // namespace mldd
