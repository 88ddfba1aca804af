#include "WindowFixture.h"

#include "DatabaseSettingsDialog.h"
#include "DecodeFileEditor.h"
#include "ExcelImportDialog.h"
#include "ExpressPlanDialog.h"
#include "HelpKeys.h"
#include "MainWindow.h"
#include "ManualEntryDialog.h"
#include "MenuEntry.h"
#include "MenuSettingsDialog.h"
#include "ModalAnswers.h"
#include "PrintSettingsDialog.h"
#include "SenderProfilesDialog.h"
#include "ShippingListDesigner.h"
#include "TrackingNumberDialog.h"

#include <QFileDialog>

#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace mldd;
using namespace mldd::test;

namespace {

// The help text of a page the shipped guide holds: the page and, for a section, its heading.
QString openedText(const QUrl& page) {
    QFile file(page.toLocalFile());
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<no page ") + page.toString() + u'>';
    const QString html = QString::fromUtf8(file.readAll());
    if (page.hasFragment() && !html.contains(QStringLiteral("id=\"%1\"").arg(page.fragment())))
        return QStringLiteral("<no section ") + page.toString() + u'>';
    const QRegularExpressionMatch title =
        QRegularExpression(QStringLiteral("<title>(.*) - 墨岚打单帮助</title>")).match(html);
    return title.captured(1);
}

class HelpKeysTest : public WindowFixture {
protected:
    HelpKeys m_help{QStringLiteral(MLDD_SOURCE_DIR "/help"),
                    [this](const QUrl& page) { m_opened.append(page); }};
    QList<QUrl> m_opened;

    // Presses F1 in the window's focused field, as the seller does, and says which page opened.
    QString pressF1(QWidget& window) {
        window.show();
        QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
        m_opened.clear();
        QTest::keyClick(target, Qt::Key_F1);
        window.hide();
        return m_opened.size() == 1 ? openedText(m_opened.first())
                                    : QStringLiteral("<%1 pages>").arg(m_opened.size());
    }
};

} // namespace

TEST_F(HelpKeysTest, F1InEachWindowOpensItsOwnPage) {
    qApp->installEventFilter(&m_help);
    addProfile(QStringLiteral("淘宝:墨岚小店"));
    MainWindow main(m_state);
    std::vector<std::pair<std::unique_ptr<QWidget>, QString>> windows;
    windows.emplace_back(std::make_unique<ManualEntryDialog>(m_state, &main),
                         QStringLiteral("提取订单"));
    windows.emplace_back(
        std::make_unique<DecodeFileEditor>(m_state, QStringLiteral("https://shop.example/o"),
                                           QStringLiteral("订单"), &main),
        QStringLiteral("提取订单"));
    windows.emplace_back(std::make_unique<ExcelImportDialog>(m_state, &main),
                         QStringLiteral("导入表格与回写单号"));
    windows.emplace_back(std::make_unique<SenderProfilesDialog>(m_state, &main),
                         QStringLiteral("开始之前"));
    windows.emplace_back(
        std::make_unique<MenuSettingsDialog>(m_state, main.menuEntryCaptions(), &main),
        QStringLiteral("开始之前"));
    windows.emplace_back(std::make_unique<ExpressPlanDialog>(m_state, &main),
                         QStringLiteral("开始之前"));
    windows.emplace_back(
        std::make_unique<ShippingListDesigner>(m_state, m_state.profiles.first().myIdh, &main),
        QStringLiteral("发货单"));
    windows.emplace_back(std::make_unique<PrintSettingsDialog>(m_state, &main),
                         QStringLiteral("打印快递单"));
    windows.emplace_back(
        std::make_unique<DatabaseSettingsDialog>(QStringLiteral("连不上"), QString(), &main),
        QStringLiteral("几台电脑共用一个订单库"));
    windows.emplace_back(std::make_unique<TrackingNumberDialog>(m_state, &main),
                         QStringLiteral("导入表格与回写单号"));
    for (const auto& [window, page] : windows)
        EXPECT_EQ(pressF1(*window), page) << window->metaObject()->className();
    EXPECT_EQ(pressF1(main), u"墨岚打单帮助");
    qApp->removeEventFilter(&m_help);
}

TEST_F(HelpKeysTest, AMessageBoxShowsThePageOfTheWindowItBelongsTo) {
    MainWindow main(m_state);
    ManualEntryDialog entry(m_state, &main);
    QMessageBox question(QMessageBox::Question, QStringLiteral("墨岚打单"),
                         QStringLiteral("保存吗？"), QMessageBox::Yes | QMessageBox::No, &entry);
    EXPECT_EQ(m_help.pageOf(&question).fragment(), u"manual");
    QWidget stray;
    EXPECT_TRUE(m_help.pageOf(&stray).toLocalFile().endsWith(u"/help/index.html"));
}

// The file chooser serves several commands: F1 in it opens the page of the one that opened it.
TEST_F(HelpKeysTest, F1InTheFileChooserOpensThePageOfItsCommand) {
    qApp->installEventFilter(&m_help);
    MainWindow main(m_state);
    main.show();
    for (const auto& [caption, section] :
         {std::pair{QStringLiteral("回写Excel"), QStringLiteral("writeback")},
          std::pair{QStringLiteral("填写运单号"), QStringLiteral("tracking")}}) {
        m_opened.clear();
        ModalAnswers answers({}, [this](QDialog* dialog) {
            if (auto* tracking = qobject_cast<TrackingNumberDialog*>(dialog)) {
                tracking->importButton()->click();
                tracking->reject();
                return;
            }
            auto* chooser = qobject_cast<QFileDialog*>(dialog);
            ASSERT_TRUE(chooser) << dialog->metaObject()->className();
            QTest::keyClick(chooser->focusWidget() ? chooser->focusWidget() : chooser, Qt::Key_F1);
            chooser->reject();
        });
        menuEntry(main, MainWindow::Menu::Orders, caption)->trigger();
        ASSERT_EQ(m_opened.size(), 1) << caption.toStdString();
        EXPECT_EQ(m_opened.first().fragment(), section);
        EXPECT_EQ(openedText(m_opened.first()), QStringLiteral("导入表格与回写单号"));
    }
    qApp->removeEventFilter(&m_help);
}
