#include "PrinterSetupDialog.h"
#include "CupsDaemon.h"
#include "DigitField.h"
#include "MainWindow.h"
#include "MenuEntry.h"
#include "OffsetAdjustDialog.h"
#include "OrderRowWidget.h"
#include "WaybillPreview.h"
#include "WindowFixture.h"

#include "core/TextFile.h"
#include "printing/CupsSpooler.h"
#include "printing/PrintChecks.h"
#include "printing/PrinterSetup.h"
#include "waybill/TemplateFiles.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

// The printers come from a cupsd of this suite's own, with Label its default printer.
class PrinterSetupDialogTest : public WindowFixture {
protected:
    static void SetUpTestSuite() {
        s_cups = new CupsDaemon;
        for (const char* name : {"Label", "Office", "Fax"})
            s_cups->addQueue(QLatin1String(name));
        CupsDaemon::tool(QStringLiteral("lpadmin"),
                         {QStringLiteral("-d"), QStringLiteral("Label")});
        // A printer whose driver tells CUPS its 600 dpi.
        s_cups->addQueue(QStringLiteral("Laser"));
        CupsDaemon::tool(
            QStringLiteral("lpadmin"),
            {QStringLiteral("-p"), QStringLiteral("Laser"), QStringLiteral("-P"),
             QStringLiteral("/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd")});
    }
    static void TearDownTestSuite() {
        delete s_cups;
        qunsetenv("CUPS_SERVER");
    }

    QString firstLine(const QString& name) const {
        return TextFile::read(m_state.folder.settingsFile(name)).firstLine();
    }

    // Picks a printer in the list as the seller does.
    static void pick(PrinterSetupDialog& window, const QString& printer) {
        QComboBox* list = window.waybillPrinterList();
        const int index = list->findText(printer);
        ASSERT_GE(index, 0) << printer.toStdString();
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    static void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    static inline CupsDaemon* s_cups = nullptr;
    CupsSpooler m_spooler;
};

} // namespace

TEST_F(PrinterSetupDialogTest, TheWaybillPrinterIsCheckedAndItsOffsetsKeptInMillimetresAndTwips) {
    PrinterSetupDialog window(m_state, m_spooler);
    EXPECT_EQ(unnamedFields(window), QStringList());
    QStringList offered;
    for (int i = 0; i < window.waybillPrinterList()->count(); ++i)
        offered.append(window.waybillPrinterList()->itemText(i));
    EXPECT_EQ(offered, (QStringList{"Fax", "Label", "Laser", "Office", "打印到快递文件"}));

    {
        ModalAnswers answers;
        pick(window, QStringLiteral("Label")); // the default printer: no question
        EXPECT_TRUE(answers.texts.isEmpty());
    }
    EXPECT_EQ(firstLine(QStringLiteral("Print_kd_default.dat")), QStringLiteral("Label"));
    EXPECT_EQ(window.offsetFrame()->title(), QStringLiteral("打印机 Label 打印内容偏移设置"));
    EXPECT_EQ(window.horizontalMillimetres()->text(), QStringLiteral("0"));

    // Refused, and asked-and-declined: the file and the list keep Label.
    for (const auto& [printer, answer, told] :
         {std::tuple{QStringLiteral("Fax"), QMessageBox::Ok,
                     QStringLiteral("您选择的打印机不正确，请重新选择！")},
          std::tuple{QStringLiteral("Office"), QMessageBox::No,
                     QStringLiteral("您选择的打印机不是您的默认打印机。真的要选择这打印机吗？")}}) {
        ModalAnswers answers({answer});
        pick(window, printer);
        EXPECT_EQ(answers.texts, QStringList{told});
        EXPECT_EQ(firstLine(QStringLiteral("Print_kd_default.dat")), QStringLiteral("Label"));
        EXPECT_EQ(window.waybillPrinterList()->currentText(), QStringLiteral("Label"));
    }
    {
        ModalAnswers answers({QMessageBox::Yes});
        pick(window, QStringLiteral("Office"));
    }
    EXPECT_EQ(firstLine(QStringLiteral("Print_kd_default.dat")), QStringLiteral("Office"));
    EXPECT_EQ(window.offsetFrame()->title(), QStringLiteral("打印机 Office 打印内容偏移设置"));

    retype(window.horizontalMillimetres(), QStringLiteral("10"));
    EXPECT_EQ(window.horizontalTwips()->text(), QStringLiteral("566"));
    retype(window.verticalMillimetres(), QStringLiteral(".5"));
    EXPECT_EQ(window.verticalMillimetres()->text(), QStringLiteral("0.5"));
    EXPECT_EQ(window.verticalTwips()->text(), QStringLiteral("28"));
    retype(window.verticalTwips(), QStringLiteral("-283"));
    EXPECT_EQ(window.verticalMillimetres()->text(), QStringLiteral("-5"));
    {
        ModalAnswers answers;
        QTest::mouseClick(window.saveWaybillButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("【快递单】打印机设置成功!\n打印机名称：Office")});
    }
    const PrinterSetup setup(m_state.folder, m_state.log);
    EXPECT_EQ(setup.offsets(QStringLiteral("Office")), (PrinterOffsets{566, -283}));

    // Shown back as saved when the window opens again.
    PrinterSetupDialog again(m_state, m_spooler);
    EXPECT_EQ(again.waybillPrinterList()->currentText(), QStringLiteral("Office"));
    EXPECT_EQ(again.horizontalMillimetres()->text(), QStringLiteral("10"));
    EXPECT_EQ(again.horizontalTwips()->text(), QStringLiteral("566"));
    EXPECT_EQ(again.verticalMillimetres()->text(), QStringLiteral("-5"));
}

// Label is a raw queue: it tells no resolution, so the seller chooses it. Laser tells its own.
TEST_F(PrinterSetupDialogTest, AQueuesUntoldResolutionIsChosenStoredAndUsedForTheBars) {
    PrinterSetupDialog window(m_state, m_spooler);
    {
        ModalAnswers answers;
        pick(window, QStringLiteral("Label"));
    }
    QComboBox* resolutions = window.resolutionList();
    ASSERT_TRUE(resolutions->isEnabled());
    QStringList offered;
    for (int i = 0; i < resolutions->count(); ++i)
        offered.append(resolutions->itemText(i));
    EXPECT_EQ(offered, (QStringList{"180 dpi", "203 dpi", "300 dpi", "360 dpi", "600 dpi"}));
    EXPECT_EQ(resolutions->currentText(), QStringLiteral("203 dpi")); // nothing chosen yet

    resolutions->setFocus();
    QTest::keyClick(resolutions, Qt::Key_Down);
    EXPECT_EQ(resolutions->currentText(), QStringLiteral("300 dpi"));
    {
        ModalAnswers answers;
        QTest::mouseClick(window.saveWaybillButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("【快递单】打印机设置成功!\n打印机名称：Label")});
    }
    const PrinterSetup setup(m_state.folder, m_state.log);
    EXPECT_EQ(setup.resolution(QStringLiteral("Label")), 300);
    // What a run on the printer lays its bars out for.
    EXPECT_EQ(PrintChecks::dotsPerInch(setup, m_spooler, QStringLiteral("Label")), 300);
    EXPECT_EQ(PrintChecks::dotsPerInch(setup, m_spooler, QStringLiteral("Office")), 203);

    PrinterSetupDialog again(m_state, m_spooler);
    EXPECT_EQ(again.resolutionList()->currentText(), QStringLiteral("300 dpi"));

    {
        ModalAnswers answers({QMessageBox::Yes});
        pick(again, QStringLiteral("Laser"));
    }
    EXPECT_EQ(again.resolutionList()->currentText(), QStringLiteral("600 dpi"));
    EXPECT_FALSE(again.resolutionList()->isEnabled());
    EXPECT_EQ(PrintChecks::dotsPerInch(setup, m_spooler, QStringLiteral("Laser")), 600);
}

TEST_F(PrinterSetupDialogTest, TheShippingListPaperIsStoredAsItsRecordAndChangesTheLists) {
    PrinterSetupDialog window(m_state, m_spooler);
    window.show();
    window.listPrinterList()->setCurrentText(QStringLiteral("Label"));
    {
        ModalAnswers answers;
        QTest::mouseClick(window.saveListButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("纸张类型都不能空！")});
    }
    EXPECT_FALSE(QFile::exists(m_state.folder.settingsFile(PrintDefaults::kPaperFile)));

    window.paperList()->setCurrentText(QStringLiteral("有孔纸"));
    retype(window.paperWidth(), QStringLiteral("241"));
    {
        ModalAnswers answers;
        QTest::keyClicks(window.paperHeight(), QStringLiteral("1x"));
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("只能输入数字。")});
    }
    EXPECT_EQ(window.paperHeight()->text(), QStringLiteral("1"));
    retype(window.paperHeight(), QStringLiteral("140"));
    retype(window.copiesBox(), QStringLiteral("2"));
    {
        ModalAnswers answers;
        QTest::mouseClick(window.saveListButton(), Qt::LeftButton);
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(
            answers.texts[0].contains(QStringLiteral("有孔纸，宽度：241毫米 高度：140毫米")));
    }
    EXPECT_EQ(firstLine(PrintDefaults::kPaperFile), QStringLiteral("00|241|140|13641|7924|2"));
    EXPECT_EQ(firstLine(PrintDefaults::kListPrinterFile), QStringLiteral("Label"));

    // From the main window's menu: the shipping lists are composed again on the new paper.
    storeOrders(1);
    MainWindow main(m_state);
    main.modeTabs()->setCurrentIndex(1);
    emit main.modeTabs()->tabBarClicked(1);
    const auto listWidth = [&main] { return main.rows().first()->preview()->page()->size.width(); };
    EXPECT_EQ(listWidth(), 13641);
    {
        ModalAnswers answers({}, [](QDialog* dialog) {
            auto* printers = qobject_cast<PrinterSetupDialog*>(dialog);
            ASSERT_TRUE(printers);
            EXPECT_EQ(printers->paperList()->currentText(), QStringLiteral("有孔纸"));
            EXPECT_EQ(printers->paperWidth()->text(), QStringLiteral("241"));
            EXPECT_EQ(printers->copiesBox()->text(), QStringLiteral("2"));
            printers->paperList()->setCurrentText(QStringLiteral("A5"));
            printers->landscapeButton()->setChecked(true);
            printers->saveListButton()->click();
            printers->accept();
        });
        for (QAction* action : main.menu(MainWindow::Menu::Printing)->actions())
            if (action->text() == QStringLiteral("打印机设置"))
                action->trigger();
        EXPECT_EQ(answers.texts.size(), 1);
    }
    EXPECT_EQ(firstLine(PrintDefaults::kPaperFile), QStringLiteral("A5|210|148|11905|8390|2"));
    EXPECT_EQ(listWidth(), 11905);
}

// A new seller opens 打印机设置 from the menu: CUPS's default is shown in both lists and
// saved as it stands; stepping through the list with the keys asks once per other printer.
TEST_F(PrinterSetupDialogTest, ANewSellerFindsTheDefaultPrinterChosenAndIsAskedOncePerPrinter) {
    MainWindow main(m_state);
    QStringList asked;
    {
        ModalAnswers answers({}, [](QDialog* dialog) {
            auto* printers = qobject_cast<PrinterSetupDialog*>(dialog);
            ASSERT_TRUE(printers);
            EXPECT_EQ(printers->waybillPrinterList()->currentText(), QStringLiteral("Label"));
            EXPECT_EQ(printers->listPrinterList()->currentText(), QStringLiteral("Label"));
            QTest::mouseClick(printers->saveWaybillButton(), Qt::LeftButton);
            printers->accept();
        });
        menuEntry(main, MainWindow::Menu::Printing, QStringLiteral("打印机设置"))->trigger();
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("【快递单】打印机设置成功!\n打印机名称：Label")});
    }
    EXPECT_EQ(firstLine(QStringLiteral("Print_kd_default.dat")), QStringLiteral("Label"));

    ModalAnswers answers({}, [](QDialog* dialog) {
        auto* printers = qobject_cast<PrinterSetupDialog*>(dialog);
        ASSERT_TRUE(printers);
        QComboBox* list = printers->waybillPrinterList();
        list->setFocus();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down})
            QTest::keyClick(list, key);
        EXPECT_EQ(list->currentText(), QStringLiteral("Office"));
        QTest::mouseClick(printers->saveWaybillButton(), Qt::LeftButton);
        printers->accept();
    });
    menuEntry(main, MainWindow::Menu::Printing, QStringLiteral("打印机设置"))->trigger();
    const QString question =
        QStringLiteral("您选择的打印机不是您的默认打印机。真的要选择这打印机吗？");
    EXPECT_EQ(answers.texts,
              (QStringList{question, question,
                           QStringLiteral("【快递单】打印机设置成功!\n打印机名称：Office")}));
    EXPECT_EQ(firstLine(QStringLiteral("Print_kd_default.dat")), QStringLiteral("Office"));
}
