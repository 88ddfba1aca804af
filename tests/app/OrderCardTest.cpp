#include "ContentsNamesPanel.h"
#include "CourierBox.h"
#include "Eventually.h"
#include "MainWindow.h"
#include "MenuSettingsDialog.h"
#include "OrderRowWidget.h"
#include "PagedPreview.h"
#include "SellerClicks.h"
#include "SenderPicker.h"
#include "SenderProfilesDialog.h"
#include "WaybillPreview.h"
#include "WindowFixture.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

class OrderCardTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        addProfile(QStringLiteral("淘宝:墨岚小店"));
        addProfile(QStringLiteral("拍拍:二店"));
    }

    /** Orders of 淘宝:墨岚小店 on the shipped 圆通 form, installed in the folder. */
    QList<qint64> storeYuantongOrders(int count) {
        installTemplates({QStringLiteral("圆通")});
        const QList<qint64> ids = storeOrders(count, QStringLiteral("淘宝:墨岚小店"));
        QList<Order> orders = OrderStore(*m_state.database).byIds(ids);
        for (Order& order : orders)
            order.delivery = QStringLiteral("圆通");
        EXPECT_TRUE(OrderStore(*m_state.database).update(orders));
        return ids;
    }

    // The window shown and active, so that focus moves as it does for a seller.
    void open(MainWindow& window) {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Moves the focus as a click would; a message box closing may have left the window inactive.
    static void focus(MainWindow& window, QWidget* widget) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        widget->setFocus();
    }

    static OrderRowWidget* cardOf(const MainWindow& window, qint64 id) {
        for (OrderRowWidget* row : window.rows())
            if (row->isVisibleTo(row->parentWidget()) && row->orderId() == id)
                return row;
        return nullptr;
    }

    void retype(QLineEdit* field, const QString& text) {
        focus(*qobject_cast<MainWindow*>(field->window()), field);
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            typeText(field, text);
    }

    static QAction* settingsEntry(const MainWindow& window, const QString& caption) {
        for (QAction* action : window.menu(MainWindow::Menu::Settings)->actions())
            if (action->text() == caption)
                return action;
        return nullptr;
    }
};

} // namespace

TEST_F(OrderCardTest, ACardIsSavedAfterOneQuestionWhenTheFocusLeavesIt) {
    const QList<qint64> ids = storeOrders(2);
    MainWindow window(m_state);
    open(window);
    OrderRowWidget* card = cardOf(window, ids[0]);
    ASSERT_TRUE(card);

    // Two fields changed, one question when the focus goes to another card.
    retype(card->field(&Order::buyName), QStringLiteral("王五"));
    retype(card->field(&Order::buyPhone1), QStringLiteral("13900001111"));
    {
        ModalAnswers answers({QMessageBox::Yes});
        focus(window, cardOf(window, ids[1])->field(&Order::buyName));
        ASSERT_EQ(answers.texts.size(), 1);
        // The question names what changed, so a slip of the keyboard is seen before it is saved.
        const QStringList lines = answers.texts.first().split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.value(0), QStringLiteral("确定要更改记录吗?"));
        EXPECT_EQ(lines.size(), 3) << answers.texts.first().toStdString();
        EXPECT_TRUE(lines.value(1).startsWith(QStringLiteral("收货人：")));
        EXPECT_TRUE(lines.value(1).endsWith(QStringLiteral(" → 王五")));
        EXPECT_TRUE(lines.value(2).endsWith(QStringLiteral(" → 13900001111")));
    }
    EXPECT_EQ(order(ids[0]).buyName, QStringLiteral("王五"));
    EXPECT_EQ(order(ids[0]).buyPhone1, QStringLiteral("13900001111"));

    // No puts the stored values back.
    card = cardOf(window, ids[0]);
    retype(card->field(&Order::buyName), QStringLiteral("赵六"));
    {
        ModalAnswers answers({QMessageBox::No});
        focus(window, window.searchKey());
    }
    EXPECT_EQ(order(ids[0]).buyName, QStringLiteral("王五"));
    EXPECT_EQ(cardOf(window, ids[0])->field(&Order::buyName)->text(), QStringLiteral("王五"));

    // An emptied name is refused; the card keeps what was typed.
    card = cardOf(window, ids[0]);
    retype(card->field(&Order::buyName), QString());
    retype(card->field(&Order::buyLy), QStringLiteral("请发顺丰"));
    {
        ModalAnswers answers;
        focus(window, window.searchKey());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("有些项目为空,请填完整再保存!")});
    }
    EXPECT_EQ(order(ids[0]).buyName, QStringLiteral("王五"));
    EXPECT_EQ(card->field(&Order::buyLy)->text(), QStringLiteral("请发顺丰"));
}

TEST_F(OrderCardTest, TheCardRecognisesAPastedBlockAndChangesItsSenderAfterAsking) {
    const qint64 id = storeOrders(1, QStringLiteral("淘宝:墨岚小店")).first();
    MainWindow window(m_state);
    open(window);
    OrderRowWidget* card = cardOf(window, id);
    retype(card->field(&Order::buyAddress),
           QStringLiteral("李小红，13812345678，0851-1234567，花溪大道 北段218号，550025"));
    QTest::mouseClick(card->recognizeButton(), Qt::LeftButton);
    EXPECT_EQ(card->field(&Order::buyName)->text(), QStringLiteral("李小红"));
    EXPECT_EQ(card->field(&Order::buyPhone2)->text(), QStringLiteral("0851-1234567"));
    EXPECT_EQ(card->field(&Order::buyAddress)->text(), QStringLiteral("花溪大道北段218号"));
    EXPECT_EQ(card->field(&Order::buyZipcode)->text(), QStringLiteral("550025"));
    {
        ModalAnswers answers;
        focus(window, window.searchKey());
    }
    EXPECT_EQ(order(id).buyZipcode, QStringLiteral("550025"));

    // Name, phone, address, postcode: each box gets its own part, and the new address is
    // placed again — province, city, county and destination — before the one question.
    card = cardOf(window, id);
    retype(card->field(&Order::buyAddress),
           QStringLiteral("王芳，13900001111，浙江省杭州市西湖区文三路478号，310012"));
    QTest::mouseClick(card->recognizeButton(), Qt::LeftButton);
    EXPECT_EQ(card->field(&Order::buyPhone1)->text(), QStringLiteral("13900001111"));
    EXPECT_EQ(card->field(&Order::buyPhone2)->text(), QString());
    EXPECT_EQ(card->field(&Order::buyZipcode)->text(), QStringLiteral("310012"));
    EXPECT_EQ(card->field(&Order::buyAddressSheng)->text(), QStringLiteral("浙江省"));
    EXPECT_EQ(card->field(&Order::buyAddressShi)->text(), QStringLiteral("杭州市"));
    EXPECT_EQ(card->field(&Order::buyAddressXian)->text(), QStringLiteral("西湖区"));
    EXPECT_EQ(card->field(&Order::buyAddress)->text(), QStringLiteral("文三路478号"));
    EXPECT_EQ(card->field(&Order::buyEnd)->text(), QStringLiteral("杭州市"));
    {
        ModalAnswers answers({QMessageBox::Yes});
        focus(window, window.searchKey());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts.first().contains(QStringLiteral("省：（空） → 浙江省")))
            << answers.texts.first().toStdString();
    }
    EXPECT_EQ(order(id).buyAddressXian, QStringLiteral("西湖区"));
    EXPECT_EQ(order(id).buyPhone2, QString());

    card = cardOf(window, id);
    const int second = card->senderList()->findText(QStringLiteral("拍拍:二店"));
    ASSERT_GE(second, 0);
    {
        ModalAnswers answers({QMessageBox::No});
        card->senderList()->setCurrentIndex(second);
        emit card->senderList()->activated(second);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("确定要更改发件人吗?")});
    }
    EXPECT_EQ(order(id).myId, QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(cardOf(window, id)->senderList()->currentText(), QStringLiteral("淘宝:墨岚小店"));
    {
        ModalAnswers answers({QMessageBox::Yes});
        card = cardOf(window, id);
        emit card->senderList()->activated(second);
    }
    EXPECT_EQ(order(id).myId, QStringLiteral("拍拍:二店"));

    // Another ID through the quick picker: an empty one is refused.
    card = cardOf(window, id);
    const int other = card->senderList()->count() - 1;
    ModalAnswers answers({}, [](QDialog* dialog) {
        auto* picker = qobject_cast<SenderPicker*>(dialog);
        ASSERT_TRUE(picker);
        QTest::mouseClick(picker->confirmButton(), Qt::LeftButton);
        picker->marketplace()->setCurrentText(QStringLiteral("京东"));
        typeText(picker->account(), QStringLiteral("jd01"));
        QTest::mouseClick(picker->confirmButton(), Qt::LeftButton);
    });
    emit card->senderList()->activated(other);
    EXPECT_EQ(answers.texts, (QStringList{QStringLiteral("您的ID不能空，可以手动填!"),
                                          QStringLiteral("确定要更改发件人吗?")}));
    EXPECT_EQ(order(id).myId, QStringLiteral("京东:jd01"));
}

TEST_F(OrderCardTest, ContentsNamesArePickedFromTheSendersListAndSetAsDefault) {
    ContentsNames names;
    names.candidates = {QStringLiteral("衣服"), QStringLiteral("鞋")};
    ASSERT_FALSE(names.save(m_state.folder, QStringLiteral("淘宝:墨岚小店")));
    const QList<qint64> ids = storeYuantongOrders(2);
    const qint64 id = ids.first();
    MainWindow window(m_state);
    open(window);
    QTest::mouseClick(cardOf(window, id)->contentsButton(), Qt::LeftButton);
    auto* panel = cardOf(window, id)->findChild<ContentsNamesPanel*>();
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->nameButtons().size(), 2);
    {
        ModalAnswers answers;
        QTest::mouseClick(panel->nameButtons().at(1), Qt::LeftButton);
    }
    EXPECT_EQ(order(id).buyNjpm, QStringLiteral("鞋"));

    QTest::mouseClick(cardOf(window, id)->contentsButton(), Qt::LeftButton);
    panel = cardOf(window, id)->findChildren<ContentsNamesPanel*>().last();
    QTest::mouseClick(panel->defaultButton(), Qt::LeftButton);
    EXPECT_EQ(ContentsNames::load(m_state.folder, QStringLiteral("淘宝:墨岚小店")).toLine(),
              QStringLiteral("0鞋[NJF]衣服 鞋"));
    // The other order has no name of its own: its waybill shows the new default at once.
    const std::optional<PageModel>& other =
        cardOf(window, ids.last())->pagedPreview()->page()->page();
    ASSERT_TRUE(other);
    EXPECT_TRUE(std::any_of(other->texts.begin(), other->texts.end(), [](const TextLine& line) {
        return line.text.contains(QStringLiteral("鞋"));
    }));
}

// What prints is what shows: a sender saved in 设置 › 发件人信息 redraws every card at once.
TEST_F(OrderCardTest, ASavedSenderIsOnEveryCardsWaybillAtOnce) {
    const QList<qint64> ids = storeYuantongOrders(2);
    MainWindow window(m_state);
    open(window);
    const auto shows = [&](qint64 id, const QString& text) {
        const std::optional<PageModel>& page = cardOf(window, id)->pagedPreview()->page()->page();
        return page && std::any_of(page->texts.begin(), page->texts.end(),
                                   [&](const TextLine& line) { return line.text.contains(text); });
    };
    ASSERT_FALSE(shows(ids.last(), QStringLiteral("欧阳娜娜")));
    QAction* senders = window.menuAction(MainWindow::Senders);
    ModalAnswers answers({}, [](QDialog* dialog) {
        auto* editor = qobject_cast<SenderProfilesDialog*>(dialog);
        ASSERT_TRUE(editor);
        const QList<QListWidgetItem*> shop =
            editor->profileList()->findItems(QStringLiteral("墨岚小店"), Qt::MatchContains);
        ASSERT_EQ(shop.size(), 1);
        editor->profileList()->setCurrentItem(shop.first());
        editor->senderName()->selectAll();
        typeText(editor->senderName(), QStringLiteral("欧阳娜娜"));
        QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
        editor->reject();
    });
    senders->trigger();
    EXPECT_TRUE(shows(ids.first(), QStringLiteral("欧阳娜娜")));
    EXPECT_TRUE(shows(ids.last(), QStringLiteral("欧阳娜娜")));
}

// 快递单据 is picked from the installed templates; a typed name that is none of them is refused
// when the seller leaves the box, before anything is saved.
TEST_F(OrderCardTest, TheCourierIsPickedAndATypedUnknownNameIsRefusedAtOnce) {
    const QList<qint64> ids = storeYuantongOrders(2);
    installTemplates({QStringLiteral("顺丰")});
    MainWindow window(m_state);
    open(window);
    CourierBox* courier = cardOf(window, ids[0])->courierBox();
    EXPECT_EQ(courier->currentText(), QStringLiteral("圆通"));

    retype(courier->lineEdit(), QStringLiteral("德邦"));
    {
        ModalAnswers answers;
        focus(window, cardOf(window, ids[0])->field(&Order::buyName));
        ASSERT_TRUE(becomes([&] { return answers.texts.size(); }, 1));
        EXPECT_TRUE(answers.texts.first().startsWith(QStringLiteral("没有“德邦”这个快递单模版。")))
            << answers.texts.first().toStdString();
    }
    EXPECT_EQ(courier->currentText(), QStringLiteral("圆通"));
    {
        // Leaving the card asks nothing: the refused name was never an edit.
        ModalAnswers answers;
        focus(window, window.searchKey());
        QTest::qWait(50);
        EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join(u'|').toStdString();
    }
    EXPECT_EQ(order(ids[0]).delivery, QStringLiteral("圆通"));

    // Picking is one choice and one question; the template downloaded since is listed too.
    SellerClicks clicks;
    {
        ModalAnswers answers({QMessageBox::Yes});
        clicks.pick(cardOf(window, ids[0])->courierBox(), QStringLiteral("顺丰"));
        ASSERT_TRUE(becomes([&] { return answers.texts.size(); }, 1));
    }
    EXPECT_EQ(order(ids[0]).delivery, QStringLiteral("顺丰"));
    EXPECT_EQ(order(ids[1]).delivery, QStringLiteral("圆通"));
}

TEST_F(OrderCardTest, SearchPagingDeletingAndMergingAskOrStartWhereASellerExpects) {
    const QList<qint64> ids = storeOrders(25);
    MainWindow window(m_state);
    open(window);
    QTest::mouseClick(window.nextPageButton(), Qt::LeftButton);
    QTest::mouseClick(window.nextPageButton(), Qt::LeftButton);
    // A search shows its results from their first page.
    window.searchFieldList()->setCurrentText(QStringLiteral("买家姓名"));
    window.searchKey()->setText(QStringLiteral("收货人1"));
    QTest::mouseClick(window.searchButton(), Qt::LeftButton);
    EXPECT_EQ(window.informationLine()->text(),
              QStringLiteral("[买家姓名]含[收货人1]  总计11条 共2页 第1页"));
    // The next page is shown from its top.
    window.rowArea()->verticalScrollBar()->setValue(
        window.rowArea()->verticalScrollBar()->maximum());
    QTest::mouseClick(window.nextPageButton(), Qt::LeftButton);
    EXPECT_EQ(window.rowArea()->verticalScrollBar()->value(), 0);

    // Orders of two buyers are merged only after a Yes.
    QTest::mouseClick(window.searchButton(), Qt::LeftButton);
    QTest::mouseClick(cardOf(window, ids[9])->selectionBox(), Qt::LeftButton);
    QTest::mouseClick(cardOf(window, ids[10])->selectionBox(), Qt::LeftButton);
    {
        ModalAnswers answers({QMessageBox::No});
        window.menuAction(MainWindow::Merge)->trigger();
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts.first().startsWith(QStringLiteral("选中的订单不是同一个买家的")));
    }
    EXPECT_EQ(order(ids[9]).djType, 0);

    // Deleting orders of 0 days and more asks a second time.
    ModalAnswers answers({QMessageBox::No}, [](QDialog* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_TRUE(input);
        input->setIntValue(0);
        input->accept();
    });
    window.menuAction(MainWindow::DeleteOld)->trigger();
    ASSERT_EQ(answers.texts.size(), 1);
    EXPECT_TRUE(answers.texts.first().startsWith(QStringLiteral("天数为0")));
    EXPECT_EQ(allOrders().size(), 25);
}

TEST_F(OrderCardTest, AHiddenMenuEntryIsShownAgainFromTheMenuSettings) {
    MainWindow window(m_state);
    QAction* menuSettings = settingsEntry(window, QStringLiteral("菜单设置"));
    ASSERT_TRUE(menuSettings);
    for (const QString& caption : {QStringLiteral("发货单设置"), QStringLiteral("自助解码文件"),
                                   QStringLiteral("刷新解码文件"), QStringLiteral("修复解码文件"),
                                   QStringLiteral("检查解码文件")})
        EXPECT_TRUE(settingsEntry(window, caption)) << caption.toStdString();
    EXPECT_TRUE(window.menuAction(MainWindow::Senders));
    EXPECT_TRUE(window.menuAction(MainWindow::ManualEntry));

    auto setMerge = [&](bool shown) {
        ModalAnswers answers({}, [shown](QDialog* dialog) {
            auto* settings = qobject_cast<MenuSettingsDialog*>(dialog);
            ASSERT_TRUE(settings);
            EXPECT_EQ(settings->entryBox(MainWindow::Merge)->text(), QStringLiteral("合并订单"));
            settings->entryBox(MainWindow::Merge)->setChecked(shown);
            settings->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
        menuSettings->trigger();
    };
    setMerge(false);
    EXPECT_FALSE(window.menuAction(MainWindow::Merge)->isVisible());
    QSqlQuery stored(m_state.database->connection());
    stored.exec(QStringLiteral("select Menu_set from PrintItem_data"));
    ASSERT_TRUE(stored.next());
    EXPECT_EQ(stored.value(0).toString(), QStringLiteral("111111011111"));
    setMerge(true);
    EXPECT_TRUE(window.menuAction(MainWindow::Merge)->isVisible());
    EXPECT_EQ(m_state.settings.menuSet, QStringLiteral("111111111111"));
}

TEST(QtTexts, StandardButtonsAndTextMenusSpeakChinese) {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok |
                           QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
    EXPECT_TRUE(box.button(QMessageBox::Ok)->text().startsWith(QStringLiteral("确定")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("取消")));
    QLineEdit edit(QStringLiteral("文字"));
    edit.selectAll();
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList captions;
    for (QAction* action : menu->actions())
        captions.append(action->text());
    EXPECT_TRUE(captions.join(u' ').contains(QStringLiteral("复制")))
        << captions.join(u' ').toStdString();
    EXPECT_TRUE(captions.join(u' ').contains(QStringLiteral("粘贴")));
}

// 核对 puts the text for the buyer on the clipboard. The buyer opens it on another computer: the
// program's own service on this one (the usual loopback address) is not named to them, a
// service elsewhere is.
TEST_F(OrderCardTest, TheConfirmationTextNamesNoAddressOfThisComputer) {
    const qint64 id = storeYuantongOrders(1).first();
    for (const auto& [service, named] :
         {std::pair{QStringLiteral("http://127.0.0.1:8717"), false},
          std::pair{QStringLiteral("https://mldd.example.com"), true}}) {
        m_state.serviceBase = service;
        MainWindow window(m_state);
        open(window);
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(cardOf(window, id)->confirmButton(), Qt::LeftButton);
        const QStringList lines =
            QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
        ASSERT_GE(lines.size(), 4) << service.toStdString();
        EXPECT_EQ(lines[1], named ? QStringLiteral("墨岚打单，网店卖家的快递单打印软件：") +
                                        service + QStringLiteral("/mldd/")
                                  : QStringLiteral("墨岚打单，网店卖家的快递单打印软件"));
        EXPECT_EQ(lines[3], QStringLiteral("〓〓需确认的交易信息〓〓"));
        EXPECT_TRUE(lines.contains(QStringLiteral("物流公司:圆通")));
    }
}

// Without a mouse, with a screen reader: the names panel is a window assistive tools list, the
// keys start on its first name, and Esc closes it.
TEST_F(OrderCardTest, ContentsNamesArePickedWithTheKeysAndAScreenReaderSeesThem) {
    ContentsNames names;
    names.candidates = {QStringLiteral("衣服"), QStringLiteral("鞋")};
    ASSERT_FALSE(names.save(m_state.folder, QStringLiteral("淘宝:墨岚小店")));
    const qint64 id = storeYuantongOrders(1).first();
    MainWindow window(m_state);
    open(window);
    const auto openPanel = [&] {
        focus(window, cardOf(window, id)->contentsButton());
        QTest::keyClick(cardOf(window, id)->contentsButton(), Qt::Key_Space);
        return cardOf(window, id)->findChildren<ContentsNamesPanel*>().last();
    };
    ContentsNamesPanel* panel = openPanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isActiveWindow(); }, 5000));
    QAccessibleInterface* program = QAccessible::queryAccessibleInterface(qApp);
    bool listed = false;
    for (int i = 0; i < program->childCount(); ++i)
        listed = listed || program->child(i)->object() == panel;
    EXPECT_TRUE(listed) << "assistive tools do not see the names";
    EXPECT_EQ(QApplication::focusWidget(), panel->nameButtons().first());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panel->isVisible(); }, 5000));

    panel = openPanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isActiveWindow(); }, 5000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    {
        ModalAnswers answers;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    }
    EXPECT_EQ(order(id).buyNjpm, QStringLiteral("鞋"));
}
