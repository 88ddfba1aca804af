#include "LabelPrinterPanel.h"
#include "CupsDaemon.h"
#include "LabelReader.h"
#include "MainWindow.h"
#include "ModalAnswers.h"
#include "PrinterSetupDialog.h"
#include "WindowFixture.h"

#include "core/TextFile.h"
#include "printing/LabelRaster.h"
#include "printing/PrinterSetup.h"
#include "printing/TestLabel.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

// A label printer on a raw queue, and an office printer with a driver.
class LabelPrinterWindow : public WindowFixture {
protected:
    static void SetUpTestSuite() {
        s_cups = new CupsDaemon;
        s_labelJobs = new QString(s_cups->addQueue(QStringLiteral("Thermal")));
        s_cups->addQueue(QStringLiteral("Office"));
        CupsDaemon::tool(
            QStringLiteral("lpadmin"),
            {QStringLiteral("-p"), QStringLiteral("Office"), QStringLiteral("-P"),
             QStringLiteral("/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd")});
    }
    static void TearDownTestSuite() {
        delete s_labelJobs;
        delete s_cups;
        qunsetenv("CUPS_SERVER");
    }

    // Chooses an entry of a list as a seller does: the list opened, the entry clicked.
    static void choose(QComboBox* list, const QString& entry) {
        const int index = list->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        list->setFocus();
        list->showPopup();
        list->setCurrentIndex(index);
        list->hidePopup();
        emit list->activated(index);
    }

    static inline CupsDaemon* s_cups = nullptr;
    static inline QString* s_labelJobs = nullptr;
};

} // namespace

TEST_F(LabelPrinterWindow,
       ASellerGivesTheOfficePrinterItsPaperChoosesTsplForTheLabelPrinterAndPrintsATestLabel) {
    // An office printer whose label file someone edited: it prints through its driver, and says so.
    const PrinterSetup setup(m_state.folder, m_state.log);
    TextFile::writeBytes(setup.labelFile(QStringLiteral("Office")),
                         QByteArray("PCL|100|150|间隙|2|8|4\r\n"));
    MainWindow main(m_state);
    QString officeNote;
    QString thermalLanguage;
    {
        ModalAnswers answers({}, [&](QDialog* dialog) {
            auto* printers = qobject_cast<PrinterSetupDialog*>(dialog);
            ASSERT_TRUE(printers);
            LabelPrinterPanel* panel = printers->labelPanel();
            choose(panel->printerList(), QStringLiteral("Office"));
            officeNote = panel->noteLabel()->text();
            EXPECT_EQ(panel->languageList()->currentText(), QStringLiteral("驱动程序"));
            EXPECT_EQ(panel->sizeList()->currentText(), QStringLiteral("按单据尺寸"));
            // The office printer has A5 sheets in it: the seller says so.
            choose(panel->sizeList(), QStringLiteral("A5（148×210 毫米）"));
            QTest::mouseClick(panel->saveButton(), Qt::LeftButton);

            // The raw queue comes preselected as TSPL; the seller settles on it and the size.
            choose(panel->printerList(), QStringLiteral("Thermal"));
            thermalLanguage = panel->languageList()->currentText();
            choose(panel->languageList(), QStringLiteral("ZPL"));
            choose(panel->languageList(), QStringLiteral("TSPL"));
            choose(panel->resolutionList(), QStringLiteral("203 dpi"));
            choose(panel->sizeList(), QStringLiteral("热敏100x150（100×150 毫米）"));
            QTest::mouseClick(panel->testButton(), Qt::LeftButton);
            printers->accept();
        });
        for (QAction* action : main.menu(MainWindow::Menu::Printing)->actions())
            if (action->text() == QStringLiteral("打印机设置"))
                action->trigger();
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("【打印机】设置成功!\n打印机名称：Office\n"
                                             "纸张：148×210 毫米\n打印语言：驱动程序")});
    }
    EXPECT_EQ(LabelSetup(setup).load(QStringLiteral("Office")).settings.paperMm, QSizeF(148, 210));
    EXPECT_TRUE(officeNote.contains(QStringLiteral("“PCL”无法识别，按“驱动程序”打印")))
        << officeNote.toStdString();
    EXPECT_EQ(thermalLanguage, QStringLiteral("TSPL"));
    EXPECT_EQ(LabelSetup(setup).load(QStringLiteral("Thermal")).settings.language,
              LabelLanguage::Tspl);

    ASSERT_TRUE(CupsDaemon::waitUntilIdle(QStringLiteral("Thermal")));
    const QStringList jobs = QDir(*s_labelJobs).entryList({"*.pdf"}, QDir::Files);
    ASSERT_EQ(jobs.size(), 1);
    QFile job(*s_labelJobs + u'/' + jobs.first());
    ASSERT_TRUE(job.open(QIODevice::ReadOnly));
    const ReadJob read = readLabelJob(job.readAll());
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.language, QStringLiteral("TSPL"));
    EXPECT_EQ(read.settings.value("SIZE"), "100 mm,150 mm");
    ASSERT_EQ(read.labels.size(), 1);
    EXPECT_EQ(read.labels[0].height(), dotsOf(150, 203));
    EXPECT_EQ(scannedCodes(read.labels[0]), QStringList{kTestLabelCode});
}
