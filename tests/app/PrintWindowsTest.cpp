#include "DigitField.h"
#include "HelpKeys.h"
#include "MainWindow.h"
#include "OffsetAdjustDialog.h"
#include "OrderRowWidget.h"
#include "PagedPreview.h"
#include "PrintPreviewDialog.h"
#include "PrintSettingsDialog.h"
#include "WaybillPreview.h"
#include "WindowFixture.h"

#include "printing/PrinterSetup.h"
#include "waybill/FontFaces.h"
#include "waybill/TemplateFiles.h"
#include "waybill/WaybillPages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

const QString kPhone = QStringLiteral("13812345678");

// Orders on the shipped 圆通 form, the buyer's telephone on it.
class PrintWindowsTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        addProfile(QStringLiteral("淘宝:墨岚小店"));
        const QString delivery = m_state.folder.file(QStringLiteral("Delivery"));
        QDir().mkpath(delivery);
        for (const QString& file : {QStringLiteral("圆通.mlg"), QStringLiteral("圆通.mlm")})
            QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/Delivery/") + file,
                        delivery + u'/' + file);
        m_state.templates = installedTemplateNames(m_state.folder);
    }

    // One order whose goods run to `goodsLines` lines.
    qint64 storeOrder(int goodsLines) {
        const qint64 id = storeOrders(1, QStringLiteral("淘宝:墨岚小店")).first();
        Order stored = order(id);
        stored.delivery = QStringLiteral("圆通");
        stored.buyPhone1 = kPhone;
        QStringList goods;
        for (int i = 1; i <= goodsLines; ++i)
            goods.append(QStringLiteral("商品%1 1 10.00").arg(i));
        stored.buyGoods = goods.join(QStringLiteral("\r\n"));
        EXPECT_TRUE(OrderStore(*m_state.database).update({stored}));
        m_state.requery();
        return id;
    }

    static OrderRowWidget* firstCard(const MainWindow& window) { return window.rows().first(); }

    static QStringList textsOf(const OrderRowWidget* card) {
        QStringList texts;
        if (const auto& page = card->preview()->page())
            for (const TextLine& line : page->texts)
                texts.append(line.text);
        return texts;
    }

    static QAction* printingEntry(const MainWindow& window, const QString& caption) {
        for (QAction* action : window.menu(MainWindow::Menu::Printing)->actions())
            if (action->text() == caption)
                return action;
        return nullptr;
    }
};

} // namespace

TEST_F(PrintWindowsTest, SavedPrintSettingsReachTheRendererAndComeBackInTheWindow) {
    storeOrder(1);
    MainWindow window(m_state);
    ASSERT_TRUE(textsOf(firstCard(window)).join(u' ').contains(kPhone));

    QAction* entry = printingEntry(window, QStringLiteral("打印设置"));
    ASSERT_TRUE(entry);
    {
        ModalAnswers answers({}, [](QDialog* dialog) {
            auto* settings = qobject_cast<PrintSettingsDialog*>(dialog);
            ASSERT_TRUE(settings);
            EXPECT_EQ(settings->switchBox(PrintSwitches::BuyPhone1)->text(),
                      QStringLiteral("买家电话1"));
            settings->switchBox(PrintSwitches::BuyPhone1)->setChecked(false);
            settings->switchBox(PrintSwitches::PrintShippingList)->setChecked(true);
            settings->dayOffsetBox()->setText(QStringLiteral("2"));
            settings->fontList()->setCurrentText(QStringLiteral("黑体"));
            settings->sizeStepList()->setCurrentText(QStringLiteral("大一号"));
            settings->save();
        });
        entry->trigger();
    }
    // The card is drawn again without the switched-off item.
    EXPECT_FALSE(textsOf(firstCard(window)).join(u' ').contains(kPhone));

    // What a new start reads from the settings row.
    QSqlDatabase db = m_state.database->connection();
    const PrintSettings stored = PrintSettings::load(db, m_state.log);
    const PrintSwitches switches = PrintSwitches::fromSettings(stored);
    EXPECT_FALSE(switches[PrintSwitches::BuyPhone1]);
    EXPECT_TRUE(switches[PrintSwitches::PrintShippingList]);
    EXPECT_TRUE(switches[PrintSwitches::Date]);
    EXPECT_FALSE(switches[PrintSwitches::SimplifyGoods]);
    EXPECT_EQ(stored.sysDay, 2);
    EXPECT_EQ(FontFaces::kaitiSubstitute(stored.fontType), QStringLiteral("黑体"));
    EXPECT_EQ(PrintSettings::sizeStepName(stored.fontSizeStep), QStringLiteral("大一号"));

    PrintSettingsDialog again(m_state);
    EXPECT_FALSE(again.switchBox(PrintSwitches::BuyPhone1)->isChecked());
    EXPECT_TRUE(again.switchBox(PrintSwitches::PrintShippingList)->isChecked());
    EXPECT_EQ(again.dayOffsetBox()->text(), QStringLiteral("2"));
    EXPECT_EQ(again.fontList()->currentText(), QStringLiteral("黑体"));
    EXPECT_EQ(again.sizeStepList()->currentText(), QStringLiteral("大一号"));
}

TEST_F(PrintWindowsTest, TheDayOffsetTakesDigitsOnly) {
    PrintSettingsDialog settings(m_state);
    settings.show();
    DigitField* days = settings.dayOffsetBox();
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("3"));
    {
        ModalAnswers answers;
        QTest::keyClicks(days, QStringLiteral("x"));
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("只能输入数字。")});
    }
    EXPECT_EQ(days->text(), QStringLiteral("3"));
    settings.save();
    EXPECT_EQ(m_state.settings.sysDay, 3);
}

TEST_F(PrintWindowsTest, TheShippingListTabTurnsTheCardsPagesAndTheLargerPreviewShowsThemAll) {
    storeOrder(90);
    MainWindow window(m_state);
    window.show();
    PagedPreview* pages = firstCard(window)->pagedPreview();
    EXPECT_FALSE(pages->pageLabel()->isVisibleTo(&window)); // a waybill has one page

    window.modeTabs()->setCurrentIndex(1);
    emit window.modeTabs()->tabBarClicked(1);
    pages = firstCard(window)->pagedPreview();
    ASSERT_TRUE(pages->pageLabel()->isVisibleTo(&window));
    const QString count = pages->pageLabel()->text().section(u'/', 1);
    ASSERT_GE(count.toInt(), 2) << pages->pageLabel()->text().toStdString();
    EXPECT_EQ(pages->pageLabel()->text(), QStringLiteral("1/") + count);
    // The card shows the list, not the waybill: its goods rows, no telephone box of the form.
    EXPECT_TRUE(textsOf(firstCard(window)).contains(QStringLiteral("商品1")));

    {
        ModalAnswers answers;
        QTest::mouseClick(pages->previousButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("已经是第一页了！")});
    }
    for (int page = 2; page <= count.toInt(); ++page) {
        QTest::mouseClick(pages->nextButton(), Qt::LeftButton);
        EXPECT_EQ(pages->pageLabel()->text(), QString::number(page) + u'/' + count);
    }
    const QStringList lastPage = textsOf(firstCard(window));
    {
        ModalAnswers answers;
        QTest::mouseClick(pages->nextButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("已经是最后一页了！")});
    }
    EXPECT_EQ(pages->pageLabel()->text(), count + u'/' + count);
    EXPECT_EQ(textsOf(firstCard(window)), lastPage);

    // A click on the list opens it large, from its first page, every page reachable.
    QStringList labels;
    {
        ModalAnswers answers({}, [&labels](QDialog* dialog) {
            auto* preview = qobject_cast<PrintPreviewDialog*>(dialog);
            ASSERT_TRUE(preview);
            labels.append(preview->pages()->pageLabel()->text());
            preview->pages()->nextPage();
            labels.append(preview->pages()->pageLabel()->text());
            dialog->reject();
        });
        QTest::mouseClick(firstCard(window)->preview(), Qt::LeftButton);
    }
    EXPECT_EQ(labels, (QStringList{QStringLiteral("1/") + count, QStringLiteral("2/") + count}));
}

TEST_F(PrintWindowsTest, AClickOnAWaybillShowsItLargeAsTheWaybillPrinterWillPrintIt) {
    storeOrder(1);
    const PrinterSetup setup(m_state.folder, m_state.log);
    ASSERT_FALSE(setup.chooseWaybillPrinter(QStringLiteral("Label")));
    ASSERT_TRUE(setup.saveOffsets(QStringLiteral("Label"), {120, -60}));
    MainWindow window(m_state);
    std::optional<PageModel> shown;
    PrintPlacement placement;
    bool background = true;
    {
        ModalAnswers answers({}, [&](QDialog* dialog) {
            auto* preview = qobject_cast<PrintPreviewDialog*>(dialog);
            ASSERT_TRUE(preview);
            shown = preview->pages()->page()->page();
            background = preview->pages()->page()->backgroundShown();
            placement = preview->pages()->page()->placement();
            EXPECT_EQ(preview->pages()->pageLabel()->text(), QStringLiteral("1/1"));
            dialog->reject();
        });
        QTest::mouseClick(firstCard(window)->preview(), Qt::LeftButton);
    }
    ASSERT_TRUE(shown);
    EXPECT_FALSE(background);
    EXPECT_EQ(placement.x(1000), 880);
    EXPECT_EQ(placement.y(1000), 1060);
    EXPECT_EQ(shown->texts.size(), firstCard(window)->preview()->page()->texts.size());
}

TEST_F(PrintWindowsTest, TheOffsetAdjustmentWaitsForAPrintThenSavesTheViewsMovement) {
    const qint64 id = storeOrder(1);
    MainWindow window(m_state);
    QAction* adjust = nullptr;
    for (QAction* action : firstCard(window)->preview()->actions())
        if (action->text() == QStringLiteral("快递单打印偏移调整"))
            adjust = action;
    ASSERT_TRUE(adjust);
    {
        ModalAnswers answers;
        adjust->trigger();
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("打印一张快递单之后，再来调整偏移。")});
    }

    const PrinterSetup setup(m_state.folder, m_state.log);
    ASSERT_FALSE(setup.chooseWaybillPrinter(QStringLiteral("Label")));
    ASSERT_TRUE(markWaybillsPrinted(*m_state.database, {id}));
    const auto press = [](OffsetAdjustDialog* dialog, const QString& caption, int times) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(dialog->button(caption), Qt::LeftButton);
    };
    {
        ModalAnswers answers({}, [&press](QDialog* dialog) {
            auto* adjusting = qobject_cast<OffsetAdjustDialog*>(dialog);
            ASSERT_TRUE(adjusting);
            EXPECT_EQ(unnamedFields(*adjusting), QStringList());
            EXPECT_EQ(adjusting->rightwardCounter()->text(), QStringLiteral("0"));
            EXPECT_EQ(adjusting->spacingCounter()->text(), QStringLiteral("100"));
            press(adjusting, QStringLiteral("右"), 2);
            press(adjusting, QStringLiteral("下"), 1);
            press(adjusting, QStringLiteral("增大行距"), 2);
            EXPECT_EQ(adjusting->rightwardCounter()->text(), QStringLiteral("30"));
            EXPECT_EQ(adjusting->downwardCounter()->text(), QStringLiteral("15"));
            EXPECT_EQ(adjusting->spacingCounter()->text(), QStringLiteral("102"));
            // The view's items moved right and down with the presses.
            EXPECT_EQ(adjusting->view()->placement().x(1000), 1030);
            QTest::mouseClick(adjusting->button(QStringLiteral("保存")), Qt::LeftButton);
        });
        adjust->trigger();
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral(
                      "打印机偏移设置完成。\n下一次您打印的时候，快递面单上的位置就可以了。")});
    }
    // The print had drifted right and down as far as the view was moved: it is taken back.
    EXPECT_EQ(setup.offsets(QStringLiteral("Label")), (PrinterOffsets{30, 15}));
    EXPECT_EQ(setup.load().verticalScale, QStringLiteral("0.98"));

    {
        ModalAnswers answers({}, [&press](QDialog* dialog) {
            auto* adjusting = qobject_cast<OffsetAdjustDialog*>(dialog);
            ASSERT_TRUE(adjusting);
            press(adjusting, QStringLiteral("左"), 3);
            QTest::mouseClick(adjusting->button(QStringLiteral("放弃")), Qt::LeftButton);
        });
        adjust->trigger();
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("设置完成。\n快递面单上的项目将恢复原位。")});
    }
    EXPECT_EQ(setup.offsets(QStringLiteral("Label")), (PrinterOffsets{30, 15}));
}

// The adjustment's two help buttons open the guide's page on offsets: the steps, and how to read
// the printed form; each section shows pictures.
TEST_F(PrintWindowsTest, TheOffsetAdjustmentsHelpButtonsOpenTheGuidesPicturesOfReadingAndMoving) {
    QList<QUrl> opened;
    HelpKeys help(QStringLiteral(MLDD_SOURCE_DIR "/help"),
                  [&opened](const QUrl& page) { opened.append(page); });
    qApp->installEventFilter(&help);
    const qint64 id = storeOrder(1);
    // The card stays on the list of unprinted waybills until the list is read again.
    MainWindow window(m_state);
    const PrinterSetup setup(m_state.folder, m_state.log);
    ASSERT_FALSE(setup.chooseWaybillPrinter(QStringLiteral("Label")));
    ASSERT_TRUE(markWaybillsPrinted(*m_state.database, {id}));
    for (QAction* action : firstCard(window)->preview()->actions())
        if (action->text() == QStringLiteral("快递单打印偏移调整")) {
            ModalAnswers answers({}, [](QDialog* dialog) {
                auto* adjusting = qobject_cast<OffsetAdjustDialog*>(dialog);
                ASSERT_TRUE(adjusting);
                for (const QString& caption :
                     {QStringLiteral("看看视频帮助"), QStringLiteral("调成什么样？")}) {
                    ASSERT_TRUE(adjusting->button(caption)) << caption.toStdString();
                    QTest::mouseClick(adjusting->button(caption), Qt::LeftButton);
                }
                dialog->reject();
            });
            action->trigger();
        }
    qApp->removeEventFilter(&help);

    ASSERT_EQ(opened.size(), 2);
    for (const auto& [page, heading] :
         {std::pair{opened.at(0), QStringLiteral("动手调整")},
          std::pair{opened.at(1), QStringLiteral("调成什么样？看懂打出来的快递单")}}) {
        EXPECT_TRUE(page.toLocalFile().endsWith(QStringLiteral("/help/offsets.html")));
        QFile file(page.toLocalFile());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toString().toStdString();
        const QString html = QString::fromUtf8(file.readAll());
        const qsizetype start = html.indexOf(QStringLiteral("id=\"%1\"").arg(page.fragment()));
        ASSERT_GE(start, 0) << page.toString().toStdString();
        const QString section = html.mid(start, html.indexOf(QStringLiteral("<h2"), start) - start);
        EXPECT_TRUE(section.contains(heading)) << page.fragment().toStdString();
        EXPECT_GE(section.count(QStringLiteral("<svg")) + section.count(QStringLiteral("<img")), 2);
    }
}
