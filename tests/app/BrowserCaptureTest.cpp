#include "BrowserPanel.h"
#include "CliRun.h"
#include "Eventually.h"
#include "FolderCopy.h"
#include "MainWindow.h"
#include "MarketPages.h"
#include "ServiceProcess.h"

#include "address/PlaceTable.h"
#include "browser/SingleWindow.h"
#include "capture/SellerBindings.h"
#include "capture/ServiceClient.h"
#include "core/MainState.h"
#include "core/Startup.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

// A fresh copy of the shipped data folder with one sender and a plan, set up as a seller
// would with mldd-cli; a real mldd-service serves the board, the decode files and the samples.
class BrowserCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_service.port(), 0);
        test::copyFolder(QStringLiteral(MLDD_SOURCE_DIR "/data"), m_data);
        cli({QStringLiteral("profile"), QStringLiteral("save"), QStringLiteral("--market"),
             QStringLiteral("淘宝"), QStringLiteral("--id"), QStringLiteral("墨岚旗舰店"),
             QStringLiteral("--name"), QStringLiteral("王小明"), QStringLiteral("--address"),
             QStringLiteral("贵州省贵阳市南明区花果园R1区8栋")});
        cli({QStringLiteral("plan"), QStringLiteral("圆通"), QStringLiteral("广东=顺丰")});
        QFile service(m_data + QStringLiteral("/../g_url.dat"));
        ASSERT_TRUE(service.open(QIODevice::WriteOnly));
        service.write(QStringLiteral("http://127.0.0.1:%1\r\n").arg(m_service.port()).toUtf8());
        service.close();
        StartupHooks hooks;
        hooks.loadPlaceTable = loadPlaceTableInto;
        ASSERT_TRUE(startUp(m_state, QString(), hooks).ok);
        // The hint would open the help page in the system browser.
        m_state.options.setValue(ProgramOptions::kCaptureHintShown, 3);
        m_state.saveOptions();

        // Boxes are answered as a seller would: OK, and the first sender offered.
        QObject::connect(&m_answerer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                m_told.append(box->text());
                box->accept();
            } else if (auto* dialog = qobject_cast<QInputDialog*>(modal)) {
                dialog->accept();
            }
        });
        m_answerer.start(20);
    }

    void cli(const QStringList& args) {
        const test::CliRun run = test::runCli(QStringList{QStringLiteral("--data"), m_data} + args);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    QString sample(const QString& name) {
        QFile file(QStringLiteral(MLDD_SOURCE_DIR "/samples/") + name);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }

    static bool waitForLoad(QWebEngineView* view) {
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        return loaded.wait(20000) && loaded.last().first().toBool();
    }

    /** Under Xvfb with MLDD_SCREENSHOT_DIR set, the screen as the seller sees it. */
    static void screenshot(const QString& name) {
        const QString folder = qEnvironmentVariable("MLDD_SCREENSHOT_DIR");
        if (folder.isEmpty())
            return;
        QTest::qWait(1500); // let the page paint
        QProcess::execute(QStringLiteral("scrot"), {QStringLiteral("-o"), folder + u'/' + name});
    }

    QList<Order> orders() {
        const std::vector<qint64> ids = OrderStore(*m_state.database).allById();
        return OrderStore(*m_state.database).byIds(QList<qint64>(ids.begin(), ids.end()));
    }

    void expectTheBatchStored() {
        ASSERT_TRUE(test::becomes([&] { return int(orders().size()); }, 40, 20000));
        for (const Order& order : orders()) {
            EXPECT_FALSE(order.buyName.isEmpty());
            EXPECT_FALSE(order.buyAddressSheng.isEmpty()) << order.buyAddress.toStdString();
            EXPECT_FALSE(order.delivery.isEmpty()) << order.buyAddressSheng.toStdString();
            EXPECT_EQ(order.myId, QStringLiteral("淘宝:墨岚旗舰店"));
        }
    }

    test::ServiceProcess m_service{
        {QStringLiteral("--content"), QStringLiteral(MLDD_BIN "/service/content")}};
    QTemporaryDir m_dir;
    QString m_data = m_dir.path() + QStringLiteral("/data");
    MainState m_state{DataFolder(m_data)};
    QTimer m_answerer;
    QStringList m_told;
};

} // namespace

TEST_F(BrowserCaptureTest, CaptureInTheBrowserPanelThenDownloadTwoTemplatesFromTheBoard) {
    QFile favourites(m_state.folder.file(QStringLiteral("code/IE.txt")));
    ASSERT_TRUE(favourites.open(QIODevice::WriteOnly));
    favourites.write(
        QStringLiteral("0[IE]快递单模版{IEF}http://127.0.0.1:%2/mldd/board/[IE]批量发货{IEF}%1"
                       "[IE]已卖出的宝贝{IEF}https://trade.taobao.com/"
                       "trade/itemlist/list_sold_items.htm[IE]拍拍订单{IEF}http://"
                       "sell.paipai.com/order/list.html\r\n")
            .arg(test::kBatchSendPage)
            .arg(m_service.port())
            .toUtf8());
    favourites.close();
    MainWindow window(m_state);
    window.show();
    window.openBrowser();
    BrowserPanel* panel = window.browserPanel();
    ASSERT_TRUE(panel);
    ASSERT_TRUE(waitForLoad(panel->currentView())); // the first favourite
    EXPECT_TRUE(panel->currentView()->url().toString().endsWith(QStringLiteral("/mldd/board/")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(m_state.folder.file(QStringLiteral("code/CODE_id.txt"))); },
        5000));

    // The batch page as the service shows it, under the marketplace's address.
    const ServiceReply page = ServiceClient().get(
        QUrl(QStringLiteral("http://127.0.0.1:%1/mldd/samples/taobao-batch.html")
                 .arg(m_service.port())));
    ASSERT_TRUE(page.ok);
    panel->currentView()->setHtml(page.body,
                                  QUrl(test::kBatchSendPage + QStringLiteral("?page=1")));
    ASSERT_TRUE(waitForLoad(panel->currentView()));
    ASSERT_TRUE(panel->favouriteLinks().at(3)->isVisibleTo(panel));
    screenshot(QStringLiteral("browser-panel.png"));
    QTest::mouseClick(panel->extractButton(), Qt::LeftButton);
    expectTheBatchStored();
    // The page's shop was bound to the sender offered first, without a box before the question.
    EXPECT_EQ(
        SellerBindings::load(m_state.folder, m_state.log).resolve(QStringLiteral("淘宝:墨岚小店")),
        QStringLiteral("淘宝:墨岚旗舰店"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.informationLine()->text().contains(QStringLiteral("总计40条")); },
        10000));

    panel->open(QStringLiteral("http://127.0.0.1:%1/mldd/board/").arg(m_service.port()));
    ASSERT_TRUE(waitForLoad(panel->currentView()));
    ASSERT_TRUE(panel->downloadButton()->isVisibleTo(panel));
    QSignalSpy ticked(panel, &BrowserPanel::templatesChanged);
    panel->currentView()->page()->runJavaScript(
        QStringLiteral("for (const n of ['中通', '韵达']) "
                       "document.querySelector(`input[Name='${n}']`).checked = true;"));
    QTest::qWait(200);
    QTest::mouseClick(panel->downloadButton(), Qt::LeftButton);
    ASSERT_TRUE(ticked.wait(20000));
    EXPECT_GE(window.courierList()->findText(QStringLiteral("中通")), 0);
    EXPECT_GE(window.courierList()->findText(QStringLiteral("韵达")), 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_told.contains(QStringLiteral("单据模版下载完成!")); }, 5000));
    screenshot(QStringLiteral("board-after-download.png"));
    EXPECT_EQ(panel->downloadButton()->text(), QStringLiteral("选择之后点此【下载单据】"));
}

TEST_F(BrowserCaptureTest, WithoutFavouritesTheBrowserOpensOnTheStepsAndGoesBackToTheOrders) {
    MainWindow window(m_state);
    window.resize(1024, 768);
    window.show();
    window.menuAction(MainWindow::Capture)->trigger();
    BrowserPanel* panel = window.browserPanel();
    ASSERT_TRUE(panel);
    ASSERT_TRUE(waitForLoad(panel->currentView()));
    QString text;
    panel->currentView()->page()->toPlainText([&text](const QString& page) { text = page; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text.isEmpty(); }, 5000));
    EXPECT_TRUE(text.contains(QStringLiteral("点【提取订单】：页面上的订单存进订单列表。")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("还没有收藏的网页")));
    // The decode files are still checked against the service's list, out of sight.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(m_state.folder.file(QStringLiteral("code/CODE_id.txt"))); },
        10000));
    EXPECT_FALSE(panel->currentView()->url().toString().contains(QStringLiteral("refreshcode")));
    screenshot(QStringLiteral("browser-start-page.png"));

    ASSERT_TRUE(panel->isVisible());
    QTest::mouseClick(panel->backButton(), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(window.rowArea()->isVisible());
}

TEST_F(BrowserCaptureTest, PageTextWithLinuxLineEndsCapturesTheSameOrders) {
    MainWindow window(m_state);
    QGuiApplication::clipboard()->setText(
        sample(QStringLiteral("taobao-batch.txt"))
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    window.handleCommand(handleCommandText(m_state, test::kBatchSendPage, CommandSource::Request));
    expectTheBatchStored();
}

TEST_F(BrowserCaptureTest, ASecondStartHandsItsPageToTheRunningWindowAndEnds) {
    MainWindow window(m_state);
    SingleWindow single(m_state.folder);
    ASSERT_TRUE(single.claim(QString()));
    QObject::connect(&single.server(), &HandOverServer::commandReceived, &window,
                     &MainWindow::acceptRequest);

    // A page far too big is refused before the rules see it.
    window.acceptRequest(test::kBatchSendPage, QString(7 * 1024 * 1024, u'页'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_told.isEmpty(); }, 5000));
    EXPECT_TRUE(m_told.last().contains(QStringLiteral("文字太多")));

    QGuiApplication::clipboard()->setText(sample(QStringLiteral("taobao-batch.txt")));
    QProcess second;
    second.start(QStringLiteral(MLDD_BIN "/mldd"),
                 {QStringLiteral("--data"), m_data, test::kBatchSendPage + QStringLiteral("?x=1")});
    ASSERT_TRUE(test::becomes([&] { return second.state(); }, QProcess::NotRunning, 20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    expectTheBatchStored();
}
