#include "BoxFields.h"
#include "ChoiceBox.h"
#include "CupsDaemon.h"
#include "DesignerScene.h"
#include "DesignerView.h"
#include "ItemEditor.h"
#include "MainWindow.h"
#include "MenuEntry.h"
#include "OffsetAdjustDialog.h"
#include "OrderRowWidget.h"
#include "PrinterSetupDialog.h"
#include "SellerClicks.h"
#include "TemplateDesigner.h"
#include "WaybillPreview.h"
#include "WindowFixture.h"

#include "printing/PrintRun.h"
#include "waybill/PdfReadBack.h"
#include "waybill/TemplateFiles.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace mldd;
using namespace mldd::test;

namespace {

const QString kReceiver = QStringLiteral("收件人:张伟");

// A seller's afternoon with the 圆通 form: one order, the waybill printer "label" on a cupsd of
// the test's own, whose jobs are read back.
class DesignToPaperTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_FALSE(m_jobs.isEmpty());
        CupsDaemon::tool(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("label")});
        addProfile(QStringLiteral("淘宝:墨岚小店"));
        QDir().mkpath(m_state.folder.file(QStringLiteral("Delivery")));
        for (const QString extension : {".mlg", ".mlm"})
            QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/Delivery/圆通") + extension,
                        m_state.folder.file(QStringLiteral("Delivery/圆通") + extension));
        m_state.templates = installedTemplateNames(m_state.folder);
        Order stored = order(storeOrders(1, QStringLiteral("淘宝:墨岚小店")).first());
        stored.buyName = QStringLiteral("张伟");
        stored.delivery = QStringLiteral("圆通");
        ASSERT_TRUE(OrderStore(*m_state.database).update({stored}));
        m_state.requery();
        m_state.options.setValue(5, 1); // the offset guidance was seen before
    }

    // Where the receiver's line lands on the newest job of the queue, in twips.
    Word printedReceiver(int jobs) {
        EXPECT_TRUE(CupsDaemon::waitUntilIdle(QStringLiteral("label")));
        const QStringList pdfs = QDir(m_jobs).entryList({"*.pdf"}, QDir::Files);
        EXPECT_EQ(pdfs.size(), jobs);
        QList<int> numbers;
        for (const QString& name : pdfs)
            numbers.append(name.chopped(4).toInt());
        const QString newest = QStringLiteral("%1/%2.pdf").arg(m_jobs).arg(*std::max_element(
            numbers.begin(), numbers.end()));
        for (const Word& word : wordsOf(newest))
            if (word.text == kReceiver)
                return word;
        ADD_FAILURE() << "no receiver on " << newest.toStdString();
        return {};
    }

    // 打印快递单 for the ticked order, answered as a seller answers.
    static void printWaybills(MainWindow& window) {
        ModalAnswers answers;
        window.menuAction(MainWindow::PrintWaybills)->trigger();
        for (int waited = 0; window.printRun() && window.printRun()->isRunning() && waited < 60000;
             waited += 20)
            QTest::qWait(20);
        ASSERT_FALSE(answers.texts.isEmpty());
        EXPECT_TRUE(answers.texts.last().startsWith(QStringLiteral("已打印1张快递单。")))
            << answers.texts.last().toStdString();
    }

    /**
     * The seller's right button on `widget`: the menu opens and its `entry` is clicked. Each
     * window that opens is noted in `m_opened` and handed to `onDialog` (closed when none);
     * returns the messages shown meanwhile.
     */
    QStringList chooseFromRightButtonMenu(QWidget* widget, const QString& entry,
                                          const std::function<void(QDialog*)>& onDialog = {}) {
        bool chosen = false;
        QTimer menuWatch;
        QObject::connect(&menuWatch, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (chosen || !menu)
                return;
            for (QAction* action : menu->actions())
                if (action->text() == entry) {
                    chosen = true;
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
                }
        });
        menuWatch.start(10);
        ModalAnswers answers({}, [&](QDialog* dialog) {
            m_opened.append(dialog->windowTitle());
            onDialog ? onDialog(dialog) : dialog->reject();
        });
        // As a desktop does: the press, then the menu's event, then the release.
        const QPoint at = widget->rect().center();
        QTest::mousePress(widget, Qt::RightButton, {}, at);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &menuEvent);
        QTest::mouseRelease(widget, Qt::RightButton, {}, at);
        EXPECT_TRUE(QTest::qWaitFor([&] { return chosen; }, 5000)) << entry.toStdString();
        return answers.texts;
    }

    CupsDaemon m_cups;
    QString m_jobs = m_cups.addQueue(QStringLiteral("label"));
    QStringList m_opened;
};

// Drags the item at `grip` on the designer's paper by `by` pixels, Alt held so that nothing snaps.
void dragWithoutSnapping(QWidget* paper, QPoint grip, QPoint by) {
    QTest::mousePress(paper, Qt::LeftButton, Qt::AltModifier, grip);
    for (int step = 1; step <= 10; ++step) {
        const QPoint at = grip + by * step / 10;
        QMouseEvent move(QEvent::MouseMove, at, paper->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::AltModifier);
        QApplication::sendEvent(paper, &move);
    }
    QTest::mouseRelease(paper, Qt::LeftButton, Qt::AltModifier, grip + by);
}

QToolButton* toolButton(QWidget* window, const QString& caption) {
    for (QToolButton* button : window->findChildren<QToolButton*>())
        if (button->text() == caption)
            return button;
    ADD_FAILURE() << "no button " << caption.toStdString();
    return nullptr;
}

// Types `text` over a box's text and leaves it with `done` (in a dialog Return also saves).
void retype(QWidget* box, const QString& text, Qt::Key done = Qt::Key_Return) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, done);
}

} // namespace

// The afternoon: offsets typed in the printer set-up, a print; the receiver dragged, its top
// typed, its face and size changed in the designer opened from the waybill's right-button menu,
// saved, printed again; the offset adjustment, a third print; the designer's test page. Each
// printed line lands where the windows said, to a fraction of a millimetre.
TEST_F(DesignToPaperTest, DesignerAndPrinterSetUpMoveThePrintedWaybillByWhatTheSellerDid) {
    MainWindow window(m_state);
    window.resize(1024, 768);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QAction* printers =
        menuEntry(window, MainWindow::Menu::Printing, QStringLiteral("打印机设置"));
    ASSERT_TRUE(printers);
    {
        ModalAnswers answers({}, [](QDialog* dialog) {
            auto* setup = qobject_cast<PrinterSetupDialog*>(dialog);
            ASSERT_TRUE(setup);
            SellerClicks().pick(setup->waybillPrinterList(), QStringLiteral("label"));
            retype(setup->horizontalMillimetres(), QStringLiteral("5"), Qt::Key_Tab);
            retype(setup->verticalMillimetres(), QStringLiteral("-3"), Qt::Key_Tab);
            QTest::mouseClick(setup->saveWaybillButton(), Qt::LeftButton);
            dialog->accept();
        });
        printers->trigger();
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("【快递单】打印机设置成功!\n打印机名称：label")});
    }
    OrderRowWidget* card = window.rows().first();
    QTest::mouseClick(card->findChild<QCheckBox*>(), Qt::LeftButton);

    // The form puts the receiver's line at 116 mm, 46 mm (6576, 2608 twips); 5 mm left is
    // 283 twips, 3 mm down 170.
    printWaybills(window);
    const Word first = printedReceiver(1);
    EXPECT_NEAR(first.left, 6576 - 283, 1);
    EXPECT_NEAR(first.top, 2608 + 170, 1);

    chooseFromRightButtonMenu(card->preview(), QStringLiteral("修改此订单的快递单模版"));
    EXPECT_EQ(m_opened, QStringList());
    QList<TemplateDesigner*> designers = window.findChildren<TemplateDesigner*>();
    ASSERT_EQ(designers.size(), 1);
    TemplateDesigner* designer = designers.first();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(designer));
    TemplateDocument& document = *designer->document();
    EXPECT_EQ(document.name(), QStringLiteral("圆通"));

    // At 100 % a pixel is a fifteenth of a point on a 96 dpi screen: 30 pixels are 450 twips.
    designer->view()->setZoom(1.0);
    const double twipsPerPixel = 1 / designer->view()->pixelsPerTwip();
    int receiver = -1;
    for (int i = 0; i < document.layoutCount(); ++i)
        if (document.caption(ItemRef::layout(i)) == QStringLiteral("收件人"))
            receiver = i;
    ASSERT_GE(receiver, 0);
    const QRectF box = *document.box(ItemRef::layout(receiver));
    designer->view()->centerOn(box.center());
    QWidget* paper = designer->view()->viewport();
    const QPoint grip = designer->view()->mapFromScene(box.topLeft() + QPointF(300, 150));
    QTest::mouseClick(paper, Qt::LeftButton, {}, grip);
    ASSERT_EQ(designer->itemEditor()->index(), receiver);
    dragWithoutSnapping(paper, grip, QPoint(30, 0));
    QDoubleSpinBox* left = designer->itemEditor()->boxFields()->field(0);
    EXPECT_NEAR(left->value(), (6576 + 30 * twipsPerPixel) / kTwipsPerMillimetre, 0.05);
    retype(designer->itemEditor()->boxFields()->field(1), QStringLiteral("60"));
    SellerClicks().pick(designer->itemEditor()->face(), QStringLiteral("黑体"));
    retype(designer->itemEditor()->size()->lineEdit(), QStringLiteral("14"));
    QToolButton* save = toolButton(designer, QStringLiteral("保存"));
    ASSERT_TRUE(save);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_FALSE(designer->isWindowModified());
    const QString stored = TemplateFiles(m_state.folder, QStringLiteral("圆通"))
                               .loadLayout()
                               .layout.split(QStringLiteral("{D}"))
                               .value(receiver);
    EXPECT_TRUE(stored.contains(QStringLiteral("{F}黑体{F}14{F}"))) << stored.toStdString();

    printWaybills(window);
    const Word second = printedReceiver(2);
    EXPECT_NEAR(second.left - first.left, 30 * twipsPerPixel, 1);
    EXPECT_NEAR(second.top, 60 * kTwipsPerMillimetre + 170, 1);

    // The paper showed the line 150 twips right and 60 down of the view: moved to match, saved.
    m_opened.clear();
    const QStringList told = chooseFromRightButtonMenu(
        card->preview(), QStringLiteral("快递单打印偏移调整"), [](QDialog* dialog) {
            auto* adjusting = qobject_cast<OffsetAdjustDialog*>(dialog);
            ASSERT_TRUE(adjusting);
            for (int i = 0; i < 10; ++i)
                QTest::mouseClick(adjusting->button(QStringLiteral("右")), Qt::LeftButton);
            for (int i = 0; i < 4; ++i)
                QTest::mouseClick(adjusting->button(QStringLiteral("下")), Qt::LeftButton);
            QTest::mouseClick(adjusting->button(QStringLiteral("保存")), Qt::LeftButton);
        });
    EXPECT_EQ(m_opened, QStringList{QStringLiteral("快递单打印偏移调整 label")});
    EXPECT_EQ(told.size(), 1);
    printWaybills(window);
    const Word third = printedReceiver(3);
    EXPECT_NEAR(third.left, second.left - 150, 1);
    EXPECT_NEAR(third.top, second.top - 60, 1);

    // The designer's test page goes to the same printer with the same offsets.
    QToolButton* testPrint = toolButton(designer, QStringLiteral("测试打印"));
    ASSERT_TRUE(testPrint);
    {
        ModalAnswers answers({QMessageBox::Yes});
        QTest::mouseClick(testPrint, Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral(
                                     "把测试页打印到快递单打印机 label 吗？\n选[否]则写入 PDF 文件。")});
    }
    const Word test = printedReceiver(4);
    EXPECT_NEAR(test.left, third.left, 1);
    EXPECT_NEAR(test.top, third.top, 1);
    designer->close();
}

// Before the printer's offsets are set it takes no waybills: the designer's test page says so
// before it offers to write the page into a file.
TEST_F(DesignToPaperTest, ATestPageThePrinterRefusesIsToldBeforeAFileIsAskedFor) {
    MainWindow window(m_state);
    window.show();
    QAction* design = menuEntry(window, MainWindow::Menu::Settings, QStringLiteral("模版设计"));
    ASSERT_TRUE(design);
    design->trigger();
    const QList<TemplateDesigner*> designers = window.findChildren<TemplateDesigner*>();
    ASSERT_EQ(designers.size(), 1);
    QToolButton* testPrint = toolButton(designers.first(), QStringLiteral("测试打印"));
    ASSERT_TRUE(testPrint);
    {
        ModalAnswers answers({}, [this](QDialog* dialog) {
            m_opened.append(dialog->windowTitle());
            dialog->reject();
        });
        QTest::mouseClick(testPrint, Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral(
                                     "您还没进行快递单默认打印机的调整！\n请设置后再打单！"
                                     "\n\n测试页改为写入 PDF 文件。")});
    }
    EXPECT_EQ(m_opened, QStringList{QStringLiteral("测试打印")});
    EXPECT_TRUE(QDir(m_jobs).entryList({"*.pdf"}, QDir::Files).isEmpty());
    designers.first()->close();
}
