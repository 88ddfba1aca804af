#include "BrowserPanel.h"
#include "DecodeFileEditor.h"
#include "Eventually.h"
#include "FavouritesDialog.h"
#include "MainWindow.h"
#include "MenuEntry.h"
#include "ModalAnswers.h"
#include "ServiceWindowFixture.h"
#include "WindowFixture.h"

#include "capture/DecodeMaintenance.h"
#include "capture/ServiceClient.h"
#include "core/TextFile.h"

#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

using namespace mldd;
using test::ModalAnswers;

namespace {

// The shipped data folder with one sender and a plan; the service serves the sample order
// pages but no decode file for its own addresses.
class BrowserAfternoonTest : public test::ServiceWindowFixture {
protected:
    void SetUp() override {
        test::ServiceWindowFixture::SetUp();
        addSender(QStringLiteral("墨岚小店"));
        cli({QStringLiteral("plan"), QStringLiteral("圆通")});
        start();
    }

    QString samplePage() const {
        return QStringLiteral("http://127.0.0.1:%1/mldd/samples/taobao-detail.html")
            .arg(m_service.port());
    }

    static bool load(BrowserPanel* panel, const QString& address) {
        QSignalSpy loaded(panel->currentView(), &QWebEngineView::loadFinished);
        panel->open(address);
        return loaded.wait(20000) && loaded.last().first().toBool();
    }
};

} // namespace

// A shop whose pages the service has no decode file for: the capture says so, the seller builds
// one in 设置 › 自助解码文件 from the page just captured, and the next capture stores the order.
TEST_F(BrowserAfternoonTest, APageWithoutADecodeFileIsCapturedWithTheOneTheSellerBuilt) {
    MainWindow window(m_state);
    window.show();
    window.openBrowser();
    BrowserPanel* panel = window.browserPanel();
    ASSERT_TRUE(panel);
    // Opening, the browser compares the decode files with the service's new list and deletes
    // them all: a file built before that lands goes with them. The seller's browser has long
    // been open by the time a file is built.
    const ServiceReply list =
        ServiceClient().get(QUrl(DecodeMaintenance::idListAddress(m_state.serviceBase, 0)));
    ASSERT_TRUE(list.ok) << list.error.toStdString();
    QFile kept(m_state.folder.file(QStringLiteral("code/CODE_id.txt")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (!kept.open(QIODevice::ReadOnly))
                return TextFile::splitLines(list.body).isEmpty();
            const QString text = QString::fromUtf8(kept.readAll());
            kept.close();
            return TextFile::splitLines(text) == TextFile::splitLines(list.body);
        },
        20000));
    ASSERT_TRUE(load(panel, samplePage()));
    QTest::mouseClick(panel->extractButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.statusLine()->text().contains(QStringLiteral("暂无本类解码文件")); },
        10000));
    EXPECT_TRUE(orders().isEmpty());

    QAction* selfService =
        test::menuEntry(window, MainWindow::Menu::Settings, QStringLiteral("自助解码文件"));
    ASSERT_TRUE(selfService);
    {
        ModalAnswers answers({}, [this](QDialog* dialog) {
            auto* editor = qobject_cast<DecodeFileEditor*>(dialog);
            ASSERT_TRUE(editor);
            EXPECT_EQ(editor->addressBox()->text(), samplePage());
            EXPECT_TRUE(
                editor->pageBox()->toPlainText().contains(QStringLiteral("收货人：李小红")));
            for (const auto& [field, value] :
                 {std::pair{1, QStringLiteral("3218877301")},
                  std::pair{3, QStringLiteral("李小红")},
                  std::pair{4, QStringLiteral("13812345678")},
                  std::pair{
                      11, QStringLiteral("贵州省 贵阳市 花溪区 花溪大道北段218号贵州大学北区")}}) {
                test::typeText(editor->valueBox(field), value);
                QTest::keyClick(editor->valueBox(field), Qt::Key_Tab);
            }
            QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
            EXPECT_EQ(editor->resultLine()->text(),
                      QStringLiteral("试提取：这个页面提取到1个订单。"));
            editor->accept();
        });
        selfService->trigger();
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("解码文件已保存，下次提取这类页面时就用它。")});
    }

    // The shop of a self-built file is the seller's own: the first sender is taken.
    ModalAnswers answers({}, [](QDialog* dialog) {
        if (auto* choice = qobject_cast<QInputDialog*>(dialog))
            choice->accept();
    });
    QTest::mouseClick(panel->extractButton(), Qt::LeftButton);
    ASSERT_TRUE(test::becomes([&] { return int(orders().size()); }, 1, 10000))
        << window.statusLine()->text().toStdString();
    const Order stored = orders().first();
    EXPECT_EQ(stored.buyName, QStringLiteral("李小红"));
    EXPECT_EQ(stored.buyPhone1, QStringLiteral("13812345678"));
    EXPECT_EQ(stored.buyAddressSheng, QStringLiteral("贵州省"));
    EXPECT_EQ(stored.buyAddressXian, QStringLiteral("花溪区"));
    EXPECT_EQ(stored.myId, QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(stored.delivery, QStringLiteral("圆通"));
}

// 收藏 on the browser's toolbar keeps the page shown; an empty title is refused; a favourite is
// removed after the question; the file and the links under the toolbar follow.
TEST_F(BrowserAfternoonTest, FavouritesAreKeptAndRemovedFromTheBrowsersToolbar) {
    MainWindow window(m_state);
    window.show();
    window.openBrowser();
    BrowserPanel* panel = window.browserPanel();
    ASSERT_TRUE(panel);
    const QString board = QStringLiteral("http://127.0.0.1:%1/mldd/board/").arg(m_service.port());
    auto* favourite = panel->findChild<QPushButton*>(QStringLiteral("IE_Favorite"));
    ASSERT_TRUE(favourite);
    const auto keep = [&](const std::function<void(FavouritesDialog*)>& work) {
        ModalAnswers answers({QMessageBox::Yes}, [&work](QDialog* dialog) {
            auto* editor = qobject_cast<FavouritesDialog*>(dialog);
            ASSERT_TRUE(editor);
            work(editor);
            editor->accept();
        });
        QTest::mouseClick(favourite, Qt::LeftButton);
        return answers.texts;
    };
    const auto press = [](QDialog* dialog, const QString& caption) {
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == caption)
                QTest::mouseClick(button, Qt::LeftButton);
    };

    ASSERT_TRUE(load(panel, board));
    EXPECT_EQ(keep([&](FavouritesDialog* editor) {
                  auto* title = editor->findChild<QLineEdit*>(QStringLiteral("Text_title"));
                  EXPECT_EQ(title->text(), QStringLiteral("墨岚打单-快递单模版"));
                  const QString shown = title->text();
                  title->clear();
                  press(editor, QStringLiteral("收藏"));
                  test::typeText(title, shown);
                  press(editor, QStringLiteral("收藏"));
              }),
              QStringList{QStringLiteral("标题不能空！")});
    ASSERT_TRUE(load(panel, samplePage()));
    keep([&](FavouritesDialog* editor) { press(editor, QStringLiteral("收藏")); });
    EXPECT_TRUE(
        panel->favouriteLinks().at(0)->text().contains(QStringLiteral("墨岚打单-快递单模版")));
    EXPECT_TRUE(panel->favouriteLinks().at(1)->text().contains(QStringLiteral("taobao-detail")));

    EXPECT_EQ(keep([&](FavouritesDialog* editor) {
                  editor->findChild<QListWidget*>()->setCurrentRow(0);
                  press(editor, QStringLiteral("删除"));
              }),
              QStringList{QStringLiteral("确定要删除吗?")});
    EXPECT_EQ(TextFile::read(m_state.folder.file(QStringLiteral("code/IE.txt"))).firstLine(),
              QStringLiteral("0[IE]taobao-detail{IEF}") + samplePage());
    EXPECT_TRUE(panel->favouriteLinks().at(0)->text().contains(QStringLiteral("taobao-detail")));
    EXPECT_FALSE(panel->favouriteLinks().at(1)->isVisibleTo(panel));
}

// On a 1024 × 768 screen the board's address stands whole in the address box beside the
// download button.
TEST_F(BrowserAfternoonTest, TheAddressIsReadableBesideTheBoardsDownloadButton) {
    MainWindow window(m_state);
    window.resize(1024, 768);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.openBrowser();
    BrowserPanel* panel = window.browserPanel();
    ASSERT_TRUE(panel);
    ASSERT_TRUE(
        load(panel, QStringLiteral("http://127.0.0.1:%1/mldd/board/").arg(m_service.port())));
    ASSERT_TRUE(panel->downloadButton()->isVisible());
    QLineEdit* address = panel->findChild<QComboBox*>(QStringLiteral("Combo_ie"))->lineEdit();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return address->text().endsWith(QStringLiteral("/mldd/board/")); }));
    EXPECT_GT(address->width(), address->fontMetrics().horizontalAdvance(address->text()) + 10)
        << address->width();
}
