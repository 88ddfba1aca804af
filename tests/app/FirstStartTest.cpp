#include "BrowserPanel.h"
#include "CupsDaemon.h"
#include "ExpressPlanDialog.h"
#include "FirstStartChecklist.h"
#include "MainWindow.h"
#include "ManualEntryDialog.h"
#include "PrinterSetupDialog.h"
#include "SellerClicks.h"
#include "SenderProfilesDialog.h"
#include "ServiceProcess.h"
#include "WindowFixture.h"

#include "printing/PrintRun.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace mldd;
using namespace mldd::test;
using FirstStartSteps::Step;

namespace {

// A seller's first day in an empty folder: a real mldd-service serves the template board,
// and a cupsd of the test's own has one queue, CUPS's default.
class FirstStartTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_NE(m_service.port(), 0);
        m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(m_service.port());
        m_jobs = m_cups.addQueue(QStringLiteral("Label"));
        CupsDaemon::tool(QStringLiteral("lpadmin"),
                         {QStringLiteral("-d"), QStringLiteral("Label")});
        m_state.options.setValue(5, 1); // the offset guidance was seen before
    }

    // Clicks a step's button in the strip; the window it opens is worked by `work`.
    static void take(QPushButton* button, const std::function<void(QDialog*)>& work) {
        ASSERT_TRUE(button) << "the step is not offered";
        ModalAnswers answers({}, work);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static QStringList ticked(const FirstStartChecklist& checklist) {
        QStringList done;
        for (Step step : FirstStartSteps::kSteps) {
            if (step == Step::Orders) {
                if (checklist.ordersLabel()->accessibleDescription() == QStringLiteral("已完成"))
                    done.append(checklist.ordersLabel()->text());
            } else if (checklist.stepButton(step)->accessibleDescription() ==
                       QStringLiteral("已完成")) {
                done.append(checklist.stepButton(step)->text());
            }
        }
        return done;
    }

    // Whether the page shown has an element `selector` finds, once it loaded.
    static bool shows(QWebEngineView* view, const QString& selector) {
        bool found = false;
        for (int waited = 0; !found && waited < 20000; waited += 100) {
            bool answered = false;
            view->page()->runJavaScript(
                QStringLiteral("document.querySelector(\"%1\") !== null").arg(selector),
                [&](const QVariant& result) {
                    found = result.toBool();
                    answered = true;
                });
            for (int i = 0; !answered && i < 500; ++i)
                QTest::qWait(10);
            if (!found)
                QTest::qWait(100);
        }
        return found;
    }

    ServiceProcess m_service{
        {QStringLiteral("--content"), QStringLiteral(MLDD_BIN "/service/content")}};
    CupsDaemon m_cups;
    QString m_jobs;
};

} // namespace

TEST_F(FirstStartTest, TheChecklistLeadsFromAnEmptyFolderToAFirstPrintedWaybill) {
    MainWindow window(m_state);
    window.resize(1024, 768);
    window.show();
    FirstStartChecklist* checklist = window.firstStartChecklist();
    ASSERT_TRUE(checklist);
    ASSERT_TRUE(checklist->isVisible());
    EXPECT_EQ(ticked(*checklist), QStringList());
    EXPECT_EQ(checklist->stepButton(Step::Sender)->text(), QStringLiteral("1. 填写发件人信息"));

    take(checklist->stepButton(Step::Sender), [](QDialog* dialog) {
        auto* editor = qobject_cast<SenderProfilesDialog*>(dialog);
        ASSERT_TRUE(editor) << dialog->metaObject()->className();
        typeText(editor->account(), QStringLiteral("墨岚小店"));
        typeText(editor->address(), QStringLiteral("贵州省贵阳市南明区花果园R1区8栋"));
        typeText(editor->senderName(), QStringLiteral("王小明"));
        QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
        editor->accept();
    });
    EXPECT_EQ(ticked(*checklist), QStringList{QStringLiteral("✔ 填写发件人信息")});

    take(checklist->stepButton(Step::Printer), [](QDialog* dialog) {
        auto* printers = qobject_cast<PrinterSetupDialog*>(dialog);
        ASSERT_TRUE(printers) << dialog->metaObject()->className();
        EXPECT_EQ(printers->waybillPrinterList()->currentText(), QStringLiteral("Label"));
        QTest::mouseClick(printers->saveWaybillButton(), Qt::LeftButton);
        printers->accept();
    });

    // The board opens in the built-in browser; 圆通 is ticked there and downloaded.
    QTest::mouseClick(checklist->stepButton(Step::Templates), Qt::LeftButton);
    BrowserPanel* browser = window.browserPanel();
    ASSERT_TRUE(browser);
    ASSERT_TRUE(shows(browser->currentView(), QStringLiteral("input[Name='圆通']")));
    {
        ModalAnswers answers;
        QSignalSpy arrived(browser, &BrowserPanel::templatesChanged);
        browser->currentView()->page()->runJavaScript(
            QStringLiteral("document.querySelector(\"input[Name='圆通']\").checked = true;"));
        QTest::qWait(200);
        QTest::mouseClick(browser->downloadButton(), Qt::LeftButton);
        ASSERT_TRUE(arrived.wait(20000));
    }
    EXPECT_EQ(m_state.templates, QStringList{QStringLiteral("圆通")});

    take(checklist->stepButton(Step::Plan), [](QDialog* dialog) {
        auto* plan = qobject_cast<ExpressPlanDialog*>(dialog);
        ASSERT_TRUE(plan) << dialog->metaObject()->className();
        SellerClicks clicks;
        clicks.pick(plan->everyProvinceList(), QStringLiteral("圆通"));
        clicks.click(plan->saveButton());
    });
    EXPECT_EQ(ticked(*checklist).size(), 4);

    take(checklist->orderWayButton(FirstStartChecklist::OrderWay::ManualEntry),
         [](QDialog* dialog) {
             auto* entry = qobject_cast<ManualEntryDialog*>(dialog);
             ASSERT_TRUE(entry) << dialog->metaObject()->className();
             typeText(entry->orderNumber(), QStringLiteral("手工:1001"));
             typeText(entry->buyerName(), QStringLiteral("李小红"));
             entry->address()->setPlainText(QStringLiteral("浙江省杭州市西湖区文三路100号"));
             QTest::mouseClick(entry->saveCloseButton(), Qt::LeftButton);
         });
    // Every step done: the strip goes, and is recorded gone.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.firstStartChecklist(); }));
    EXPECT_TRUE(QFile::exists(m_state.folder.settingsFile(FirstStartSteps::kDoneFile)));

    // The first waybill comes out of CUPS's default queue.
    {
        ModalAnswers answers;
        window.menuAction(MainWindow::PrintWaybills)->trigger();
        for (int waited = 0; window.printRun() && window.printRun()->isRunning() && waited < 60000;
             waited += 20)
            QTest::qWait(20);
        EXPECT_TRUE(answers.texts.last().startsWith(QStringLiteral("已打印1张快递单。")))
            << answers.texts.join(u'|').toStdString();
    }
    ASSERT_TRUE(CupsDaemon::waitUntilIdle(QStringLiteral("Label")));
    EXPECT_EQ(QDir(m_jobs).entryList({QStringLiteral("*.title")}, QDir::Files).size(), 1);
    EXPECT_EQ(allOrders().first().kdSign, 1);

    // Never shown again, even when a step is undone later.
    QFile::remove(m_state.folder.settingsFile(QStringLiteral("Print_kd_default.dat")));
    m_state.printDefaults = {};
    MainWindow again(m_state);
    EXPECT_FALSE(again.firstStartChecklist());
}
