#include "DayShortcuts.h"
#include "MainWindow.h"
#include "OrderRowWidget.h"
#include "TrackingNumberDialog.h"
#include "WindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace mldd;

namespace {

class TrackingWindowTest : public test::WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        installTemplates({QStringLiteral("圆通"), QStringLiteral("顺丰")});
    }

    // Orders of these couriers; the list shows them newest first, so the ids come back in the
    // list's order.
    QList<qint64> storeWith(const QStringList& couriers) {
        QList<Order> orders;
        for (int i = 0; i < couriers.size(); ++i) {
            Order order;
            order.orderSign = QStringLiteral("淘宝:%1").arg(500 + i);
            order.numSign = numSignOf(order.orderSign);
            order.buyName = QStringLiteral("收货人%1").arg(i);
            order.buyAddress = QStringLiteral("花溪大道%1号").arg(i);
            order.delivery = couriers.at(i);
            orders.append(order);
        }
        OrderWriteRule rule;
        EXPECT_TRUE(OrderStore(*m_state.database).insert(orders, rule));
        m_state.requery();
        QList<qint64> ids;
        for (const Order& order : orders)
            ids.prepend(order.id);
        return ids;
    }

    QStringList numbers(const QList<qint64>& ids) {
        QStringList stored;
        for (const Order& order : OrderStore(*m_state.database).byIds(ids))
            stored.append(order.wuliuCode);
        return stored;
    }

    static QAction* entry(MainWindow& window, const QString& caption) {
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>())
            for (QAction* action : menu->actions())
                if (action->text() == caption)
                    return action;
        return nullptr;
    }

    // A scanner types the digits, then Enter.
    static void scan(TrackingNumberDialog* dialog, const QString& number) {
        QTest::keyClicks(dialog->numberBox(), number);
        QTest::keyClick(dialog->numberBox(), Qt::Key_Return);
    }
};

} // namespace

TEST_F(TrackingWindowTest, ScannedNumbersGoDownTheListAndAreUndoneWhole) {
    const QList<qint64> ids =
        storeWith({QStringLiteral("申通"), QStringLiteral("顺丰"), QStringLiteral("圆通")});
    MainWindow window(m_state);
    window.show();
    QStringList shown;
    QString doubt;
    QStringList afterScans;
    QStringList shownNumbers;
    QStringList afterUndo;
    test::ModalAnswers answers({}, [&](QDialog* opened) {
        auto* dialog = qobject_cast<TrackingNumberDialog*>(opened);
        ASSERT_NE(dialog, nullptr);
        shown.append(dialog->receiverLine()->text());
        scan(dialog, QStringLiteral("YT4021937465"));
        shown.append(dialog->receiverLine()->text());
        // Five digits are no 顺丰 number: questioned, kept and selected, so the next scan
        // replaces it.
        scan(dialog, QStringLiteral("12345"));
        doubt = dialog->hintLine()->text();
        scan(dialog, QStringLiteral("123456789012"));
        EXPECT_TRUE(numbers(ids).join(QString()).isEmpty()) << "saved only as one batch";
        scan(dialog, QStringLiteral("268000000001"));
        afterScans = numbers(ids);
        // 已填写 shows every number whole beside its order.
        QCoreApplication::processEvents();
        QListWidget* list = dialog->givenList();
        for (int i = 0; i < list->count(); ++i) {
            const QListWidgetItem* item = list->item(i);
            shownNumbers.append(item->text().section(u'\n', 0, 0));
            EXPECT_LE(list->fontMetrics().horizontalAdvance(shownNumbers.last()),
                      list->visualItemRect(item).width())
                << item->text().toStdString();
        }
        QTest::mouseClick(dialog->undoButton(), Qt::LeftButton);
        afterUndo = numbers(ids);
        EXPECT_EQ(dialog->receiverLine()->text(), QStringLiteral("收货人2"));
        dialog->reject();
    });
    QAction* fill = entry(window, QStringLiteral("填写运单号"));
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    fill->trigger();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("收货人2"), QStringLiteral("收货人1")}));
    EXPECT_TRUE(doubt.contains(QStringLiteral("12345不像顺丰的运单号"))) << doubt.toStdString();
    EXPECT_EQ(afterScans,
              (QStringList{QStringLiteral("YT4021937465"), QStringLiteral("123456789012"),
                           QStringLiteral("268000000001")}));
    EXPECT_EQ(shownNumbers,
              (QStringList{QStringLiteral("YT4021937465"), QStringLiteral("123456789012"),
                           QStringLiteral("268000000001")}));
    EXPECT_EQ(afterUndo, (QStringList{QString(), QString(), QString()}));
}

TEST_F(TrackingWindowTest, ARunOfFormsAndACourierFileEachSaveOneBatch) {
    const QList<qint64> ids = storeWith({QStringLiteral("圆通"), QStringLiteral("顺丰"),
                                         QStringLiteral("圆通"), QStringLiteral("圆通")});
    const QString file = m_dir.filePath(QStringLiteral("顺丰.csv"));
    {
        QFile csv(file);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write(QStringLiteral("运单号,订单号\r\n123456789012,501\r\n").toUtf8());
    }
    MainWindow window(m_state);
    window.show();
    QStringList afterRun;
    QStringList afterUndo;
    QString told;
    test::ModalAnswers answers({}, [&](QDialog* opened) {
        if (auto* files = qobject_cast<QFileDialog*>(opened)) {
            auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
            return;
        }
        auto* dialog = qobject_cast<TrackingNumberDialog*>(opened);
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->numberBox(), QStringLiteral("4021937465"));
        QTest::mouseClick(dialog->runButton(), Qt::LeftButton);
        afterRun = numbers(ids);
        QTest::mouseClick(dialog->undoButton(), Qt::LeftButton);
        afterUndo = numbers(ids);
        QTest::mouseClick(dialog->importButton(), Qt::LeftButton);
        told = dialog->hintLine()->text();
        dialog->reject();
    });
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
    // The run numbers the 圆通 forms in the list's order and leaves the 顺丰 order alone.
    EXPECT_EQ(afterRun, (QStringList{QStringLiteral("4021937465"), QStringLiteral("4021937466"),
                                     QString(), QStringLiteral("4021937467")}));
    EXPECT_EQ(afterUndo, (QStringList{QString(), QString(), QString(), QString()}));
    EXPECT_EQ(numbers(ids),
              (QStringList{QString(), QString(), QStringLiteral("123456789012"), QString()}));
    EXPECT_TRUE(told.startsWith(QStringLiteral("已导入1个运单号。"))) << told.toStdString();
}

TEST_F(TrackingWindowTest, TheDaysKeysAreShownInTheMenusAndWorkFromACard) {
    const QList<qint64> ids = storeWith(QStringList(25, QStringLiteral("圆通")));
    MainWindow window(m_state);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const DayShortcuts::Key& key : DayShortcuts::table()) {
        QAction* action = entry(window, key.caption);
        ASSERT_NE(action, nullptr) << key.caption.toStdString();
        EXPECT_EQ(action->shortcut(), key.key) << key.caption.toStdString();
    }

    // From inside a card: the next page, then the card's tick.
    OrderRowWidget* card = window.rows().at(0);
    card->field(&Order::buyName)->setFocus();
    QTest::keyClick(card->field(&Order::buyName), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_TRUE(window.informationLine()->text().endsWith(QStringLiteral("第2页")))
        << window.informationLine()->text().toStdString();
    card->field(&Order::buyName)->setFocus();
    QTest::keyClick(card->field(&Order::buyName), Qt::Key_F8);
    EXPECT_EQ(m_state.selection.ids(), QList<qint64>{ids[10]});
    EXPECT_TRUE(card->selectionBox()->isChecked());

    // Ctrl+F goes to the search box, and Enter there searches.
    QTest::keyClick(card->field(&Order::buyName), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(window.searchKey()->hasFocus());
    window.searchFieldList()->setCurrentIndex(
        window.searchFieldList()->findText(QStringLiteral("买家姓名")));
    test::typeText(window.searchKey(), QStringLiteral("收货人7"));
    QTest::keyClick(window.searchKey(), Qt::Key_Return);
    EXPECT_EQ(m_state.cursor.recordCount(), 1);
    QTest::keyClick(window.searchKey(), Qt::Key_F5);
    EXPECT_EQ(m_state.cursor.recordCount(), 25) << "筛选 applies the filter lists again";
}
