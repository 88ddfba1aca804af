#include "CliRun.h"
#include "Eventually.h"
#include "ExpressPlanDialog.h"
#include "FolderCopy.h"
#include "MainWindow.h"
#include "MarketPages.h"
#include "MenuEntry.h"
#include "ModalAnswers.h"
#include "OrderRowWidget.h"
#include "SellerClicks.h"
#include "SenderProfilesDialog.h"
#include "ServiceProcess.h"
#include "ServiceWindowFixture.h"
#include "WindowFixture.h"

#include "address/PlaceTable.h"
#include "browser/SingleWindow.h"
#include "core/CapturedNumbers.h"
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
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace mldd;
using test::ModalAnswers;

namespace {

// Capturing in the window on a fresh copy of the shipped data folder, with a real
// mldd-service behind it, as a seller meets it on a new machine.
class CaptureWindowTest : public test::ServiceWindowFixture {
protected:
    /** The page handed over as mldd-do hands it: its address, its text on the clipboard. */
    void handOver(MainWindow& window, const QString& address, const QString& sample) {
        QFile page(QStringLiteral(MLDD_SOURCE_DIR "/samples/") + sample);
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        QGuiApplication::clipboard()->setText(QString::fromUtf8(page.readAll()));
        window.acceptRequest(address, QString());
    }

    /** Fills in the seller's own shop 淘宝:小红家居 in the sender editor, saves and closes it. */
    static void makeSender(SenderProfilesDialog& editor) {
        test::typeText(editor.account(), QStringLiteral("小红家居"));
        test::typeText(editor.senderName(), QStringLiteral("李小红"));
        test::typeText(editor.address(), QStringLiteral("浙江省杭州市西湖区文三路478号"));
        QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
        editor.reject();
    }

    /** A sender with a plan, the window shown, and the detail page's order captured. */
    std::unique_ptr<MainWindow> withTheDetailPageCaptured() {
        addSender(QStringLiteral("墨岚小店"));
        cli({QStringLiteral("plan"), QStringLiteral("圆通")});
        start();
        auto window = std::make_unique<MainWindow>(m_state);
        window->show();
        handOver(*window, test::kOrderDetailPage, QStringLiteral("taobao-detail.txt"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return orders().size() == 1; }, 20000));
        return window;
    }
};

} // namespace

// A shop no sender claims: one question, whose new sender starts with the page's marketplace
// only (the page's shop may be a decode file's, not the seller's), and the answer is kept.
TEST_F(CaptureWindowTest, ASecondShopGetsItsSenderFromTheBindingQuestion) {
    addSender(QStringLiteral("墨岚旗舰店"));
    cli({QStringLiteral("plan"), QStringLiteral("圆通")});
    start();
    MainWindow window(m_state);
    window.show();
    QStringList seen;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        if (auto* question = qobject_cast<QInputDialog*>(dialog)) {
            seen.append(question->labelText());
            EXPECT_TRUE(question->comboBoxItems().contains(QStringLiteral("淘宝:墨岚旗舰店")));
            question->setTextValue(QStringLiteral("新建发件人…"));
            question->accept();
        } else if (auto* editor = qobject_cast<SenderProfilesDialog*>(dialog)) {
            seen.append(QStringLiteral("editor ") + editor->marketplace()->currentText() + u':' +
                        editor->account()->text());
            makeSender(*editor);
        }
    });
    handOver(window, test::kBatchSendPage, QStringLiteral("taobao-batch.txt"));
    ASSERT_TRUE(test::becomes([&] { return int(orders().size()); }, 40, 20000));
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen.at(0).contains(QStringLiteral("用哪个发件人发货")));
    EXPECT_EQ(seen.at(1), QStringLiteral("editor 淘宝:"));
    EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join(u'|').toStdString();
    for (const Order& order : orders())
        EXPECT_EQ(order.myId, QStringLiteral("淘宝:小红家居"));
    EXPECT_GE(window.senderFilterList()->findText(QStringLiteral("淘宝:小红家居")), 0);

    // The shop's next page is taken without a question.
    handOver(window, test::kOrderDetailPage, QStringLiteral("taobao-detail.txt"));
    ASSERT_TRUE(test::becomes([&] { return int(orders().size()); }, 41, 20000));
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(orders().last().myId, QStringLiteral("淘宝:小红家居"));
}

// A new seller's first capture: the sender they make is the one the page's shop ships with.
TEST_F(CaptureWindowTest, ANewSellersFirstCaptureShipsWithTheSenderTheyMake) {
    cli({QStringLiteral("plan"), QStringLiteral("圆通")});
    start();
    MainWindow window(m_state);
    window.show();
    QStringList seen;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* editor = qobject_cast<SenderProfilesDialog*>(dialog);
        ASSERT_NE(editor, nullptr) << dialog->metaObject()->className();
        seen.append(editor->account()->text());
        makeSender(*editor);
    });
    handOver(window, test::kOrderDetailPage, QStringLiteral("taobao-detail.txt"));
    ASSERT_TRUE(test::becomes([&] { return int(orders().size()); }, 1, 20000));
    EXPECT_EQ(seen, QStringList{QString()});
    EXPECT_EQ(orders().first().myId, QStringLiteral("淘宝:小红家居"));
    EXPECT_EQ(answers.texts.size(), 1)
        << answers.texts.join(u'|').toStdString(); // set up a sender?
}

// No plan yet: the capture says so, opens the plan, and saving it gives the orders couriers.
TEST_F(CaptureWindowTest, AnEmptyPlanIsOpenedAfterTheCaptureAndFillsItsOrders) {
    addSender(QStringLiteral("墨岚小店"));
    start();
    MainWindow window(m_state);
    window.show();
    bool planOpened = false;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* plan = qobject_cast<ExpressPlanDialog*>(dialog);
        ASSERT_NE(plan, nullptr) << dialog->metaObject()->className();
        planOpened = true;
        test::SellerClicks clicks;
        clicks.pick(plan->everyProvinceList(), QStringLiteral("圆通"));
        clicks.click(plan->saveButton());
    });
    handOver(window, test::kOrderDetailPage, QStringLiteral("taobao-detail.txt"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return planOpened && !orders().isEmpty() &&
                   orders().first().delivery == QStringLiteral("圆通");
        },
        20000));
    EXPECT_TRUE(answers.texts.contains(QStringLiteral("您需要设置快递方案！")));
}

// 提取订单 on a fresh folder asks for the sender first, as a capture of a page does.
TEST_F(CaptureWindowTest, CaptureOnAFreshFolderAsksForTheSenderFirst) {
    start();
    MainWindow window(m_state);
    window.show();
    ModalAnswers answers({QMessageBox::No});
    window.menuAction(MainWindow::Capture)->trigger();
    ASSERT_EQ(answers.texts.size(), 1);
    EXPECT_EQ(window.browserPanel(), nullptr) << "no browser before a sender exists";
}

// A deleted order comes back once its shop's captured numbers are cleared from 设置.
TEST_F(CaptureWindowTest, ClearingAShopsCapturedNumbersLetsADeletedOrderBeCapturedAgain) {
    const std::unique_ptr<MainWindow> shown = withTheDetailPageCaptured();
    MainWindow& window = *shown;
    {
        ModalAnswers yes({QMessageBox::Yes});
        QTest::mouseClick(window.rows().first()->deleteButton(), Qt::LeftButton);
    }
    ASSERT_TRUE(orders().isEmpty());
    window.statusLine()->clear();
    handOver(window, test::kOrderDetailPage, QStringLiteral("taobao-detail.txt"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.statusLine()->text().startsWith(QStringLiteral("提示")); }, 20000));
    EXPECT_TRUE(orders().isEmpty()) << "a captured number is not taken twice";

    QAction* clear =
        test::menuEntry(window, MainWindow::Menu::Settings, QStringLiteral("清空已提取记录"));
    ASSERT_NE(clear, nullptr);
    {
        ModalAnswers answers({QMessageBox::Yes}, [](QDialog* dialog) {
            auto* shops = qobject_cast<QInputDialog*>(dialog);
            ASSERT_NE(shops, nullptr);
            EXPECT_EQ(shops->comboBoxItems().size(), 2) << "the shop and 所有店铺";
            shops->accept();
        });
        clear->trigger();
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts.first().startsWith(QStringLiteral("确定要清空")));
    }
    EXPECT_EQ(window.statusLine()->text(), QStringLiteral("已清空1个已提取记录。"));
    handOver(window, test::kOrderDetailPage, QStringLiteral("taobao-detail.txt"));
    ASSERT_TRUE(test::becomes([&] { return int(orders().size()); }, 1, 20000));
}

// A capture that fails says so in the status line instead of still "searching".
TEST_F(CaptureWindowTest, AFailedDownloadSaysWhyInTheStatusLine) {
    addSender(QStringLiteral("墨岚小店"));
    QDir(m_data + QStringLiteral("/code")).removeRecursively();
    pointAtService(1); // nothing answers there
    start();
    MainWindow window(m_state);
    window.show();
    ModalAnswers answers;
    handOver(window, test::kOrderDetailPage, QStringLiteral("taobao-detail.txt"));
    ASSERT_TRUE(test::becomes(
        [&] { return window.statusLine()->text(); },
        QStringLiteral("没有提取：没有取到本类页面的解码文件，请检查网络后再提取。"), 20000));
}

// A form the orders need but the folder lacks is fetched from the board before the run.
TEST_F(CaptureWindowTest, APrintRunFetchesTheFormItsOrdersLackFirst) {
    const std::unique_ptr<MainWindow> shown = withTheDetailPageCaptured();
    MainWindow& window = *shown;
    ASSERT_EQ(orders().first().delivery, QStringLiteral("圆通"));
    const QString form = m_data + QStringLiteral("/Delivery/圆通.mlg");
    ASSERT_TRUE(QFile::remove(form));
    ASSERT_TRUE(QFile::remove(m_data + QStringLiteral("/Delivery/圆通.mlm")));
    ModalAnswers answers({QMessageBox::Yes});
    window.menuAction(MainWindow::PrintWaybills)->trigger();
    EXPECT_TRUE(answers.texts.contains(
        QStringLiteral("快递单据模版-圆通 文件丢失，点[确定]后,软件将尝试下载！")))
        << answers.texts.join(u'|').toStdString();
    EXPECT_TRUE(QFile::exists(form));
}

// The browser sends one page over and over, and then another, while the window
// asks about the first: the sendings wait behind the open box, and the other page
// is captured after the answer; sent over and over again, the page is told about
// in one box and then in the status line. Neither boxes nor what waits pile up.
TEST_F(CaptureWindowTest, PagesSentWhileTheWindowAsksWaitForTheAnswer) {
    const std::unique_ptr<MainWindow> window = withTheDetailPageCaptured();
    SingleWindow single(m_state.folder);
    ASSERT_TRUE(single.claim(QString()));
    single.server().setReady([] { return !QApplication::activeModalWidget(); });
    QObject::connect(&single.server(), &HandOverServer::commandReceived, window.get(),
                     &MainWindow::acceptRequest);
    const auto sample = [](const QString& name) {
        QFile file(QStringLiteral(MLDD_SOURCE_DIR "/samples/") + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString page = sample(QStringLiteral("taobao-detail.txt"));
    const QString otherPage = sample(QStringLiteral("taobao-batch.txt"));

    // The seller answers a box only once the browser is done.
    int told = 0; // boxes saying the page was captured before, answered
    qsizetype storedWhileAsked = -1;
    qsizetype mostOpen = 0;
    qsizetype mostWaiting = 0;
    std::atomic<bool> sent = false;
    QTimer seller;
    QObject::connect(&seller, &QTimer::timeout, [&] {
        qsizetype open = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                ++open;
                if (!sent)
                    continue;
                if (storedWhileAsked < 0)
                    storedWhileAsked = orders().size();
                told += box->text().startsWith(QStringLiteral("提取过的订单"));
                box->button(QMessageBox::Ok)->click();
            }
        mostOpen = std::max(mostOpen, open);
        mostWaiting = std::max(mostWaiting, single.server().waiting());
    });
    seller.start(10);
    // Sends the page `times` times, then `then` when given; how many were taken.
    const auto browser = [&](int times, const QString& then) {
        sent = false;
        std::atomic<int> accepted = 0;
        std::thread sending([&] {
            for (int i = 0; i < times; ++i)
                accepted += HandOver::sendToWindow(m_state.folder, test::kOrderDetailPage, page).ok;
            if (!then.isEmpty())
                accepted += HandOver::sendToWindow(m_state.folder, test::kBatchSendPage, then).ok;
            sent = true;
        });
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return sent && single.server().waiting() == 0 && !QApplication::activeModalWidget();
            },
            120000));
        sending.join();
        return int(accepted);
    };

    EXPECT_EQ(browser(300, otherPage), 301);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(storedWhileAsked, 1);
    EXPECT_GT(orders().size(), 1);

    EXPECT_EQ(browser(300, QString()), 300);
    EXPECT_EQ(told, 2);
    EXPECT_TRUE(window->statusLine()->text().startsWith(QStringLiteral("提取过的订单有[1]个")))
        << window->statusLine()->text().toStdString();
    EXPECT_EQ(mostOpen, 1);
    EXPECT_LE(mostWaiting, 2);
}
