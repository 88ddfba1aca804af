#include "MainWindow.h"
#include "BrowserPanel.h"
#include "DailyStoreCheck.h"
#include "Eventually.h"
#include "MenuEntry.h"
#include "ModalAnswers.h"
#include "OrderRowWidget.h"
#include "SellerClicks.h"
#include "WindowFixture.h"

#include "core/MainState.h"
#include "core/NumSign.h"
#include "core/Startup.h"
#include "core/StoreBackup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace mldd;
using mldd::test::ModalAnswers;

namespace {

class MainWindowTest : public mldd::test::WindowFixture {
protected:
    static int visibleRows(const MainWindow& window) {
        int visible = 0;
        for (OrderRowWidget* row : window.rows())
            visible += row->isVisibleTo(row->parentWidget()) ? 1 : 0;
        return visible;
    }

    static OrderRowWidget* rowOf(const MainWindow& window, qint64 id) {
        for (OrderRowWidget* row : window.rows()) {
            if (row->isVisibleTo(row->parentWidget()) && row->orderId() == id)
                return row;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(MainWindowTest, TwentyFiveOrdersMakeThreePagesWithFiveRowsOnTheLast) {
    storeOrders(25);
    MainWindow window(m_state);
    window.show();
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("筛选:所有的快递单未打印的订单  总计25条 共3页 第1页"));
    EXPECT_EQ(visibleRows(window), 10);
    QTest::mouseClick(window.nextPageButton(), Qt::LeftButton);
    QTest::mouseClick(window.nextPageButton(), Qt::LeftButton);
    EXPECT_EQ(visibleRows(window), 5);
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("筛选:所有的快递单未打印的订单  总计25条 共3页 第3页"));
    QTest::mouseClick(window.previousPageButton(), Qt::LeftButton);
    EXPECT_EQ(visibleRows(window), 10);
}

TEST_F(MainWindowTest, MergeAndSplitByClicks) {
    const QList<qint64> ids = storeOrders(3);
    MainWindow window(m_state);
    window.show();
    QTest::mouseClick(rowOf(window, ids[0])->selectionBox(), Qt::LeftButton);
    QTest::mouseClick(rowOf(window, ids[2])->selectionBox(), Qt::LeftButton);
    {
        ModalAnswers answers; // two receivers: the merge asks first
        window.menuAction(MainWindow::Merge)->trigger();
        EXPECT_EQ(answers.texts.size(), 1);
    }

    EXPECT_EQ(order(ids[0]).djType, 1);
    EXPECT_EQ(order(ids[2]).djType, -1);
    EXPECT_EQ(visibleRows(window), 2);
    OrderRowWidget* merged = rowOf(window, ids[0]);
    ASSERT_TRUE(merged);
    ASSERT_TRUE(merged->splitButton()->isVisibleTo(merged));
    EXPECT_FALSE(merged->selectionBox()->isChecked());

    QTest::mouseClick(merged->splitButton(), Qt::LeftButton);
    EXPECT_EQ(order(ids[0]).djType, 0);
    EXPECT_EQ(order(ids[2]).djType, 0);
    EXPECT_EQ(order(ids[2]).cfSign, 1);
    EXPECT_EQ(visibleRows(window), 3);
}

TEST_F(MainWindowTest, MarkClicksFlipUnprintedOrdersAndLeaveShippedOnes) {
    const QList<qint64> ids = storeOrders(2);
    Order shipped = order(ids[1]);
    shipped.kdSign = 2;
    OrderStore(*m_state.database).update({shipped});
    m_state.printStateChoice = OrderFilter::kAll;
    m_state.filter =
        OrderFilter::fromLists(OrderFilter::kAll, OrderFilter::kAll, OrderFilter::kAll);
    m_state.requery();
    MainWindow window(m_state);
    window.show();

    QTest::mouseClick(rowOf(window, ids[1])->markButton(OrderMarks::Mark::Waybill), Qt::LeftButton);
    EXPECT_EQ(order(ids[1]).kdSign, 2);
    QTest::mouseClick(rowOf(window, ids[0])->markButton(OrderMarks::Mark::Waybill), Qt::LeftButton);
    EXPECT_EQ(order(ids[0]).kdSign, 1);
    EXPECT_TRUE(rowOf(window, ids[0])
                    ->markButton(OrderMarks::Mark::Waybill)
                    ->styleSheet()
                    .contains(QStringLiteral("192,192,192")));
}

// Most orders are old: they are cleared in one go (their indexes set aside and
// built again), and the list, the count and a later search stay right.
TEST_F(MainWindowTest, DeletingOldOrdersFromTheToolbarLeavesTheRecentOnesListed) {
    const QList<qint64> ids = storeOrders(25);
    QSqlQuery age(m_state.database->connection());
    age.prepare(QStringLiteral("update order_data set time_get = "
                               "datetime('now', 'localtime', '-40 days') where id <= ?"));
    age.addBindValue(ids[19]);
    ASSERT_TRUE(age.exec());
    MainWindow window(m_state);
    window.show();

    ModalAnswers answers({QMessageBox::Ok}, [](QDialog* dialog) {
        auto* days = dialog->findChild<QSpinBox*>();
        ASSERT_TRUE(days);
        days->selectAll();
        QTest::keyClicks(days, QStringLiteral("30"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_TRUE(buttons);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    QTest::mouseClick(
        window.findChild<QToolBar*>()->widgetForAction(window.menuAction(MainWindow::DeleteOld)),
        Qt::LeftButton);
    ASSERT_TRUE(test::becomes([&] { return answers.texts; },
                              QStringList{QStringLiteral("本次共删除订单20条!")}));
    EXPECT_FALSE(QApplication::overrideCursor());
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("筛选:所有的快递单未打印的订单  总计5条 共1页 第1页"));
    EXPECT_EQ(rowOf(window, ids[24])->orderId(), ids[24]);
    EXPECT_EQ(allOrders().size(), 5);

    window.searchFieldList()->setCurrentText(QStringLiteral("买家姓名"));
    window.searchKey()->setText(QStringLiteral("收货人22"));
    QTest::mouseClick(window.searchButton(), Qt::LeftButton);
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("[买家姓名]含[收货人22]  总计1条 共1页 第1页"));
}

// The seller narrows the list by picking in the filter lists and searching, as with the mouse.
TEST_F(MainWindowTest, FilterListsAndSearchNarrowTheList) {
    installTemplates({QStringLiteral("申通")});
    const QList<qint64> ids = storeOrders(12);
    QSqlQuery(m_state.database->connection())
        .exec(QStringLiteral("UPDATE order_data SET delivery = '申通' WHERE id IN (%1, %2, %3)")
                  .arg(ids[0])
                  .arg(ids[4])
                  .arg(ids[8]));
    MainWindow window(m_state);
    window.show();
    test::SellerClicks seller;

    seller.pick(window.courierList(), QStringLiteral("申通"));
    QTest::keyClick(&window, Qt::Key_F5); // 筛选
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("筛选:单据为[申通]的快递单未打印的订单  总计3条 共1页 第1页"));
    EXPECT_EQ(visibleRows(window), 3);

    seller.pick(window.courierList(), QStringLiteral("所有"));
    seller.pick(window.printStateList(), QStringLiteral("快递单已打"));
    seller.click(window.filterButton());
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("筛选:所有的快递单已打印的订单  总计0条 共0页 第1页"));
    EXPECT_EQ(visibleRows(window), 0);

    seller.pick(window.searchFieldList(), QStringLiteral("买家姓名"));
    test::typeText(window.searchKey(), QStringLiteral("收货人1"));
    QTest::keyClick(window.searchKey(), Qt::Key_Return);
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("[买家姓名]含[收货人1]  总计4条 共1页 第1页"));

    QTest::mouseClick(window.modeTabs(), Qt::LeftButton, {},
                      window.modeTabs()->tabRect(1).center());
    EXPECT_EQ(window.printStateList()->currentText(), QStringLiteral("发货单未打"));
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("筛选:所有的发货单未打印的订单  总计12条 共2页 第1页"));

    // Back with the keys, as a seller without a mouse or a screen reader's user switches.
    window.modeTabs()->setFocus();
    QTest::keyClick(window.modeTabs(), Qt::Key_Left);
    EXPECT_EQ(window.printStateList()->currentText(), QStringLiteral("快递单未打"));
    EXPECT_TRUE(window.informationLine()->text().startsWith(
        QStringLiteral("筛选:所有的快递单未打印的订单")))
        << window.informationLine()->text().toStdString();
}

// A search shows its first page at once, counted only to the next page, and counts on when
// the window is free: the line under the list then tells the whole.
TEST_F(MainWindowTest, ASearchShowsItsFirstPageBeforeItIsCounted) {
    storeOrders(25);
    MainWindow window(m_state);
    window.show();
    test::SellerClicks seller;
    seller.pick(window.searchFieldList(), QStringLiteral("买家姓名"));
    test::typeText(window.searchKey(), QStringLiteral("收货人"));
    QTest::keyClick(window.searchKey(), Qt::Key_Return);
    EXPECT_EQ(visibleRows(window), 10);
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("[买家姓名]含[收货人]  总计20多条 共2多页 第1页"));
    ASSERT_TRUE(test::becomes([&] { return window.informationLine()->text(); },
                              QStringLiteral("[买家姓名]含[收货人]  总计25条 共3页 第1页")));
    seller.click(window.nextPageButton());
    seller.click(window.nextPageButton());
    EXPECT_EQ(visibleRows(window), 5);
}

TEST_F(MainWindowTest, HiddenMenuEntriesFollowTheMenuSetting) {
    m_state.menu = MenuVisibility::fromText(QStringLiteral("111111011111"));
    MainWindow window(m_state);
    window.show();
    EXPECT_FALSE(window.menuAction(MainWindow::Merge)->isVisible());
    EXPECT_TRUE(window.menuAction(MainWindow::SelectAll)->isVisible());

    // Every box of 菜单设置 has its entry: unticking 浏览器 hides it, ticking shows it again.
    const auto tickBrowser = [&window](bool shown) {
        ModalAnswers answers({}, [shown](QDialog* dialog) {
            QList<QCheckBox*> boxes;
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
                if (box->text() == QStringLiteral("浏览器"))
                    boxes.append(box);
            ASSERT_EQ(boxes.size(), 1);
            if (boxes.first()->isChecked() != shown)
                QTest::mouseClick(boxes.first(), Qt::LeftButton);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
        test::menuEntry(window, MainWindow::Menu::Settings, QStringLiteral("菜单设置"))->trigger();
    };
    QAction* browser = window.menuAction(MainWindow::Browser);
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->isVisible());
    tickBrowser(false);
    EXPECT_FALSE(browser->isVisible());
    EXPECT_EQ(m_state.menu.toText(), QStringLiteral("111111011101"));
    tickBrowser(true);
    ASSERT_TRUE(browser->isVisible());
    browser->trigger();
    ASSERT_TRUE(window.browserPanel());
    EXPECT_TRUE(window.browserPanel()->isVisible());
}

TEST_F(MainWindowTest, ACommandTextCapturesThePageOnTheClipboard) {
    const QString address = QStringLiteral("https://trade.taobao.com/trade/detail.htm");
    const QString code = m_state.folder.file(QStringLiteral("code"));
    QDir().mkpath(code);
    QFile::copy(
        QStringLiteral(MLDD_SOURCE_DIR
                       "/service/content/code/https))trade-taobao-com)trade)detail-htm.dat"),
        code + QStringLiteral("/https))trade-taobao-com)trade)detail-htm.dat"));
    QSqlQuery(m_state.database->connection())
        .exec(QStringLiteral("insert into my_data (my_idh) values ('淘宝:墨岚小店')"));
    QSqlDatabase db = m_state.database->connection();
    m_state.profiles = SenderProfile::loadAll(db, m_state.log);
    QFile page(QStringLiteral(MLDD_SOURCE_DIR "/samples/taobao-detail.txt"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    QGuiApplication::clipboard()->setText(QString::fromUtf8(page.readAll()));

    // Without templates or a plan the capture says so; the box is answered here.
    QStringList told;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&told] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told.append(box->text());
            box->accept();
        }
    });
    answer.start(20);

    MainWindow window(m_state);
    CommandAction action;
    action.kind = CommandAction::Kind::Capture;
    action.text = address;
    window.handleCommand(action);
    ASSERT_TRUE(test::becomes([&] { return m_state.cursor.recordCount(); }, 1, 5000));
    EXPECT_EQ(window.statusLine()->text(),
              QStringLiteral("提示:本次提取订单1个，重复订单0个，有效订单1个。  "));
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("筛选:ID为[淘宝:墨岚小店]的快递单未打印的订单  总计1条 共1页 第1页"));
    EXPECT_EQ(told, QStringList{QStringLiteral("您需要下载快递模版！")});
}

// The 设置 menu's backup entry tells when the last backup was made and how big it is; chosen,
// it makes one behind the window.
TEST_F(MainWindowTest, TheBackupEntryShowsTheLastBackupAndMakesOneOnRequest) {
    storeOrders(30);
    MainWindow window(m_state);
    window.show();
    // The day's first start makes the day's backup behind the first page.
    const StoreBackup backups(m_state.folder);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return backups.list().size() == 1 && !window.dailyCheck()->isRunning(); }, 30000));

    QMenu* settings = window.menu(MainWindow::Menu::Settings);
    settings->popup(window.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return settings->isVisible(); }));
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    EXPECT_TRUE(
        window.backupEntry()->text().startsWith(QStringLiteral("备份订单数据库（上次 ") + today))
        << window.backupEntry()->text().toStdString();
    EXPECT_TRUE(window.backupEntry()->text().endsWith(QStringLiteral(" KB）")));

    QTest::qWait(1100); // a backup of another second
    QTest::mouseClick(settings, Qt::LeftButton, {},
                      settings->actionGeometry(window.backupEntry()).center());
    EXPECT_TRUE(window.dailyCheck()->isRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.dailyCheck()->isRunning(); }, 30000));
    const QStringList made = backups.list();
    ASSERT_EQ(made.size(), 2);
    EXPECT_TRUE(made.first().endsWith(QStringLiteral(".db.zst")));
    EXPECT_EQ(window.backupEntry()->text(), backups.entryCaption());
}
