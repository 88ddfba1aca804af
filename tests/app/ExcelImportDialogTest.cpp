#include "ExcelImportDialog.h"
#include "ImportProgress.h"
#include "MainWindow.h"
#include "MarketplaceExports.h"
#include "ModalAnswers.h"
#include "SpreadsheetFixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace mldd;
using test::ModalAnswers;
using test::TestWorkbooks;

namespace {

class ExcelImportDialogTest : public test::SpreadsheetFixture {
protected:
    // Answers the message box the next click opens, and keeps its text.
    void answerNextMessage() {
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_message = box->text();
                box->accept();
            }
        });
    }

    // Takes `path` in the window's file dialog, typed into 文件名 and taken with Enter as a
    // seller does; false when `dialog` is another one.
    static bool openInFileDialog(QDialog* dialog, const QString& path) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        auto* name = files ? files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!name)
            return false;
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
        return true;
    }

    static void chooseColumn(ExcelImportDialog& form, ImportLayout::Field field, int column) {
        emit form.fieldCombo(field)->activated(column + 1);
    }

    QString m_message;
};

} // namespace

// 订单 › 导入Excel as a seller does it: the window's menu, its file dialog, the mapping
// window in its own exec(), 提取Excel, then the rows behind the progress dialog.
TEST_F(ExcelImportDialogTest, ImportFromTheMainWindowMapsColumnsAndStoresTheRows) {
    const QString path = copyOf(QStringLiteral("orders.xlsx"));
    MainWindow window(m_state);
    window.show();
    QStringList seen;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        if (openInFileDialog(dialog, path)) {
            seen.append(QStringLiteral("file"));
            return;
        }
        auto* form = qobject_cast<ExcelImportDialog*>(dialog);
        ASSERT_NE(form, nullptr) << dialog->metaObject()->className();
        seen.append(QStringLiteral("mapping"));
        EXPECT_EQ(form->sheetList()->currentText(), QStringLiteral("订单"));
        chooseColumn(*form, ImportLayout::BuyerName, 1);
        chooseColumn(*form, ImportLayout::Address, 4);
        chooseColumn(*form, ImportLayout::Address, 5);
        EXPECT_EQ(form->fieldExpression(ImportLayout::Address)->text(),
                  QStringLiteral("E 省 + F 收货地址"));
        chooseColumn(*form, ImportLayout::Goods, 6);
        form->senderList()->setCurrentText(QString::fromUtf8(kSender));
        QTest::mouseClick(form->extractButton(), Qt::LeftButton);
    });
    window.menuAction(MainWindow::Import)->trigger();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("file"), QStringLiteral("mapping")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.importProgress(); }, 20000))
        << "the import never finished";
    EXPECT_EQ(window.statusLine()->text(),
              QStringLiteral("提示:Excel中共有订单4个，实提订单3个，合并订单1个。  "));
    EXPECT_EQ(storedOrders().size(), 4);
    EXPECT_FALSE(window.informationLine()->text().contains(QStringLiteral("总计0条")))
        << "the list shows the imported orders";
    EXPECT_TRUE(QFile::exists(ImportLayout::filePath(m_state.folder, QStringLiteral("orders"))));

    // The next workbook with these headers opens with the saved mapping.
    ExcelImportDialog again(m_state);
    ASSERT_TRUE(again.openWorkbook(path));
    EXPECT_EQ(again.layoutList()->currentText(), QStringLiteral("orders"));
    EXPECT_EQ(again.fieldExpression(ImportLayout::Address)->text(),
              QStringLiteral("E 省 + F 收货地址"));
    // Another header row names the columns by its cells; an empty one leaves the letter.
    again.headerRowBox()->setText(QStringLiteral("2"));
    emit again.headerRowBox()->editingFinished();
    EXPECT_EQ(again.fieldExpression(ImportLayout::Address)->text(),
              QStringLiteral("E + F 贵州省贵阳市花溪区花溪大道北段218号"));
    EXPECT_EQ(again.senderList()->currentText(), QString::fromUtf8(kSender));
}

// A screen reader's user maps the columns with the keys: stepping through a closed list only
// reads the columns out, Enter or leaving the list takes the one it shows, the open list takes
// the one chosen; the list then reads that column and the box beside it reads what was taken.
TEST_F(ExcelImportDialogTest, ColumnsAreMappedWithTheKeysAsAScreenReaderUserDoes) {
    const QString path = copyOf(QStringLiteral("orders.xlsx"));
    MainWindow window(m_state);
    window.show();
    const auto spoken = [](QWidget* widget, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(widget)->text(text);
    };
    ModalAnswers answers({}, [&](QDialog* dialog) {
        if (openInFileDialog(dialog, path))
            return;
        auto* form = qobject_cast<ExcelImportDialog*>(dialog);
        ASSERT_NE(form, nullptr) << dialog->metaObject()->className();
        QComboBox* buyer = form->fieldCombo(ImportLayout::BuyerName);
        buyer->setFocus();
        QTest::keyClick(buyer, Qt::Key_Down);
        QTest::keyClick(buyer, Qt::Key_Down);
        EXPECT_EQ(form->fieldExpression(ImportLayout::BuyerName)->text(), QString());
        QTest::keyClick(buyer, Qt::Key_Return);
        EXPECT_EQ(form->fieldExpression(ImportLayout::BuyerName)->text(),
                  QStringLiteral("B 收货人"));
        EXPECT_EQ(spoken(buyer, QAccessible::Name), QStringLiteral("B|收货人"));
        EXPECT_TRUE(form->isVisible()) << "Enter in the list started the import";

        // The open list, then one more column stepped to and left.
        QComboBox* address = form->fieldCombo(ImportLayout::Address);
        address->setFocus();
        QTest::keyClick(address, Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return address->view()->isVisible(); }, 5000));
        for (int step = 0; step < 5; ++step)
            QTest::keyClick(address->view(), Qt::Key_Down);
        QTest::keyClick(address->view(), Qt::Key_Return);
        EXPECT_EQ(form->fieldExpression(ImportLayout::Address)->text(), QStringLiteral("E 省"));
        QTest::keyClick(address, Qt::Key_Down);
        form->fieldCombo(ImportLayout::Goods)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(spoken(form->fieldExpression(ImportLayout::Address), QAccessible::Value),
                  QStringLiteral("E 省 + F 收货地址"));
        EXPECT_EQ(spoken(form->fieldExpression(ImportLayout::Address), QAccessible::Name),
                  QStringLiteral("收货地址的列"));

        QComboBox* goods = form->fieldCombo(ImportLayout::Goods);
        for (int step = 0; step < 7; ++step)
            QTest::keyClick(goods, Qt::Key_Down);
        QTest::keyClick(goods, Qt::Key_Return);
        form->senderList()->setCurrentText(QString::fromUtf8(kSender));
        QTest::mouseClick(form->extractButton(), Qt::LeftButton);
    });
    window.menuAction(MainWindow::Import)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.importProgress(); }, 20000))
        << "the import never finished";
    EXPECT_EQ(window.statusLine()->text(),
              QStringLiteral("提示:Excel中共有订单4个，实提订单3个，合并订单1个。  "));
    EXPECT_EQ(storedOrders().size(), 4);
}

// A marketplace's export through 订单 › 导入Excel: the mapping window opens with the
// marketplace named and every column taken, and 提取Excel is all the seller presses.
TEST_F(ExcelImportDialogTest, AMarketplaceExportNeedsNothingButTheExtractButton) {
    ASSERT_TRUE(test::MarketplaceExports::get().ok());
    ASSERT_TRUE(test::MarketplaceExports::layTable(m_state.folder));
    MainWindow window(m_state);
    window.show();
    const QList<std::pair<QString, QString>> exports{
        {QStringLiteral("taobao_orders.csv"), QStringLiteral("淘宝订单报表")},
        {QStringLiteral("pdd.csv"), QStringLiteral("拼多多")},
        {QStringLiteral("douyin.csv"), QStringLiteral("抖店")},
        {QStringLiteral("jd.csv"), QStringLiteral("京东")},
        {QStringLiteral("jd_web.xls"), QStringLiteral("京东")},
        {QStringLiteral("kuaishou.xlsx"), QStringLiteral("快手")},
        {QStringLiteral("xiaohongshu.xlsx"), QStringLiteral("小红书")},
        {QStringLiteral("wechat.xlsx"), QStringLiteral("微信小店")}};
    QStringList messages;
    for (const auto& [file, platform] : exports) {
        SCOPED_TRACE(file.toStdString());
        const QString path = test::MarketplaceExports::get().path(file);
        QString recognised;
        {
            ModalAnswers answers({}, [&](QDialog* dialog) {
                // A slow machine shows the import's own progress; it closes by itself.
                if (openInFileDialog(dialog, path) || qobject_cast<QProgressDialog*>(dialog))
                    return;
                auto* form = qobject_cast<ExcelImportDialog*>(dialog);
                ASSERT_NE(form, nullptr) << dialog->metaObject()->className();
                recognised = form->recognitionLine()->text();
                QTest::mouseClick(form->extractButton(), Qt::LeftButton);
            });
            window.menuAction(MainWindow::Import)->trigger();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !window.importProgress(); }, 20000))
                << "the import never finished";
            messages += answers.texts;
        }
        EXPECT_TRUE(recognised.contains(u'[' + platform + u']')) << recognised.toStdString();
        EXPECT_TRUE(window.statusLine()->text().startsWith(QStringLiteral("提示:[") + platform +
                                                           QStringLiteral("]Excel中共有订单")))
            << window.statusLine()->text().toStdString();
    }
    const QList<Order> stored = storedOrders();
    EXPECT_EQ(stored.size(), 17);
    const auto douyin = std::find_if(stored.begin(), stored.end(), [](const Order& order) {
        return order.orderSign == QStringLiteral("抖店:6934567890123456789");
    });
    ASSERT_NE(douyin, stored.end());
    EXPECT_EQ(douyin->buyGoods, QStringLiteral("纯棉T恤 白色 XL 编码:TS-W-XL 2 59.9\r\n"
                                               "运动袜 五双装 编码:SOCK5 1 25"));
    EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [](const QString& text) {
        return text.contains(QStringLiteral("有2个订单的收件人被网店隐藏了一部分"));
    })) << messages.join(u'\n').toStdString();
}

// A workbook dropped on the main window opens the same mapping window, filled in.
TEST_F(ExcelImportDialogTest, AWorkbookDroppedOnTheWindowImportsTheSameWay) {
    ASSERT_TRUE(test::MarketplaceExports::get().ok());
    ASSERT_TRUE(test::MarketplaceExports::layTable(m_state.folder));
    MainWindow window(m_state);
    window.show();
    QString recognised;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* form = qobject_cast<ExcelImportDialog*>(dialog);
        if (!form)
            return; // the import's progress
        recognised = form->recognitionLine()->text();
        QTest::mouseClick(form->extractButton(), Qt::LeftButton);
    });
    QMimeData dropped;
    dropped.setUrls(
        {QUrl::fromLocalFile(test::MarketplaceExports::get().path(QStringLiteral("pdd.csv")))});
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &dropped, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.statusLine()->text().startsWith(QStringLiteral("提示:[拼多多]")); },
        20000))
        << window.statusLine()->text().toStdString();
    EXPECT_TRUE(recognised.contains(QStringLiteral("[拼多多]"))) << recognised.toStdString();
    EXPECT_EQ(storedOrders().size(), 2);
}

TEST_F(ExcelImportDialogTest, TheMappingWindowSaysWhatIsMissingBeforeItImports) {
    ExcelImportDialog form(m_state);
    ASSERT_TRUE(form.openWorkbook(copyOf(QStringLiteral("orders.xlsx"))));
    EXPECT_EQ(form.sheetList()->count(), 2);
    QComboBox* name = form.fieldCombo(ImportLayout::BuyerName);
    EXPECT_EQ(name->itemText(0), QStringLiteral("请选择..."));
    EXPECT_EQ(name->itemText(2), QStringLiteral("B|收货人"));
    answerNextMessage();
    QTest::mouseClick(form.extractButton(), Qt::LeftButton);
    EXPECT_EQ(m_message, QStringLiteral("地址不能空，请匹配！"));
    chooseColumn(form, ImportLayout::Goods, 0);
    QTest::mouseClick(form.clearButton(ImportLayout::Goods), Qt::LeftButton);
    EXPECT_EQ(form.fieldExpression(ImportLayout::Goods)->text(), QString());
    EXPECT_TRUE(storedOrders().isEmpty());
}

TEST_F(ExcelImportDialogTest, AnUnreadableWorkbookIsRefusedWithItsMessage) {
    ExcelImportDialog form(m_state);
    answerNextMessage();
    EXPECT_FALSE(form.openWorkbook(TestWorkbooks::get().path(QStringLiteral("webpage.xls"))));
    EXPECT_TRUE(m_message.contains(QStringLiteral("网页格式")));
}
