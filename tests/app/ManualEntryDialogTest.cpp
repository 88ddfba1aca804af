#include "ManualEntryDialog.h"
#include "ExpressPlanDialog.h"
#include "MainWindow.h"
#include "OrderRowWidget.h"
#include "SellerClicks.h"
#include "WindowFixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

class ManualEntryDialogTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        addProfile(QStringLiteral("淘宝:墨岚小店"));
        m_state.templates = {QStringLiteral("圆通")};
        m_state.settings.selectKD = QStringLiteral("圆通|F:贵州省:圆通");
    }

    // Pastes text into the address box as a seller does, through the clipboard.
    static void paste(ManualEntryDialog& entry, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        entry.address()->setFocus();
        entry.address()->clear();
        entry.address()->paste();
    }
};

} // namespace

TEST_F(ManualEntryDialogTest, APastedBlockIsRecognisedSavedAndListedWithItsAddressSplit) {
    MainWindow window(m_state);
    window.show();
    bool closed = false;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* entry = qobject_cast<ManualEntryDialog*>(dialog);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->senderList()->currentText(), QStringLiteral("淘宝:墨岚小店"));
        paste(*entry,
              QStringLiteral("收货信息：\n王小明, 13800001111 ,,贵州省贵阳市南明区花果园R1区8栋, "
                             "550002\n第二行不用"));
        QTest::mouseClick(entry->recognizeButton(), Qt::LeftButton);
        EXPECT_EQ(entry->buyerName()->text(), QStringLiteral("王小明"));
        EXPECT_EQ(entry->phone1()->text(), QStringLiteral("13800001111"));
        EXPECT_EQ(entry->phone2()->text(), QString());
        EXPECT_EQ(entry->zipcode()->text(), QStringLiteral("550002"));
        EXPECT_EQ(entry->address()->toPlainText(),
                  QStringLiteral("贵州省贵阳市南明区花果园R1区8栋"));
        typeText(entry->orderNumber(), QStringLiteral("手工:1001"));
        entry->goods()->setPlainText(QStringLiteral("棉麻衬衫 1 89.00\n帆布包 2 35.50"));
        QTest::mouseClick(entry->saveCloseButton(), Qt::LeftButton);
        closed = !entry->isVisible();
    });
    window.menuAction(MainWindow::ManualEntry)->trigger();
    EXPECT_EQ(answers.texts, QStringList()); // saved without a box to click away
    EXPECT_TRUE(closed);

    const QList<Order> stored = allOrders();
    ASSERT_EQ(stored.size(), 1);
    const Order& order = stored.first();
    EXPECT_EQ(order.myId, QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(order.buyAddressSheng, QStringLiteral("贵州省"));
    EXPECT_EQ(order.buyAddressShi, QStringLiteral("贵阳市"));
    EXPECT_EQ(order.buyAddressXian, QStringLiteral("南明区"));
    EXPECT_EQ(order.buyAddress, QStringLiteral("花果园R1区8栋"));
    EXPECT_EQ(order.buyEnd, QStringLiteral("贵阳市"));
    EXPECT_EQ(order.delivery, QStringLiteral("圆通"));
    EXPECT_EQ(order.buyGoods, QStringLiteral("棉麻衬衫 1 89.00\r\n帆布包 2 35.50"));
    // The main window lists it on its card.
    OrderRowWidget* card = window.rows().first();
    ASSERT_TRUE(card->isVisibleTo(&window));
    EXPECT_EQ(card->orderId(), order.id);
    EXPECT_EQ(card->field(&Order::buyAddressXian)->text(), QStringLiteral("南明区"));
}

TEST_F(ManualEntryDialogTest, AnAddressFirstBlockAndTheSplitButtonFillEveryBox) {
    ManualEntryDialog entry(m_state);
    paste(entry, QStringLiteral("贵州省贵阳市花溪区花溪大道北段218号，550025，李小红，13812345678 "
                                "0851-8888888"));
    QTest::mouseClick(entry.recognizeButton(), Qt::LeftButton);
    EXPECT_EQ(entry.buyerName()->text(), QStringLiteral("李小红"));
    EXPECT_EQ(entry.phone1()->text(), QStringLiteral("13812345678"));
    EXPECT_EQ(entry.phone2()->text(), QStringLiteral("0851-8888888"));
    EXPECT_EQ(entry.zipcode()->text(), QStringLiteral("550025"));
    QTest::mouseClick(entry.splitButton(), Qt::LeftButton);
    EXPECT_EQ(entry.province()->text(), QStringLiteral("贵州省"));
    EXPECT_EQ(entry.county()->text(), QStringLiteral("花溪区"));
    EXPECT_EQ(entry.address()->toPlainText(), QStringLiteral("花溪大道北段218号"));

    QTest::mouseClick(entry.clearButton(), Qt::LeftButton);
    for (QLineEdit* box : entry.findChildren<QLineEdit*>()) {
        if (box != entry.senderList()->lineEdit()) {
            EXPECT_TRUE(box->text().isEmpty());
        }
    }
    EXPECT_TRUE(entry.address()->toPlainText().isEmpty());
}

TEST_F(ManualEntryDialogTest, BadInputIsRefusedOrStoredLiterallyAndNothingIsStoredWrongly) {
    ManualEntryDialog entry(m_state);
    {
        ModalAnswers answers;
        paste(entry, QStringLiteral("贵州省贵阳市南明区"));
        QTest::mouseClick(entry.saveNextButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("买家地址和姓名都不能为空,请填完整再保存!")});
    }
    {
        ModalAnswers answers;
        entry.buyerName()->setText(QString(10000, u'名'));
        QTest::mouseClick(entry.saveNextButton(), Qt::LeftButton);
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts.first().contains(QStringLiteral("[buy_name]超长10000")));
        EXPECT_EQ(entry.address()->toPlainText(), QStringLiteral("贵州省贵阳市南明区"));
    }
    EXPECT_TRUE(allOrders().isEmpty());

    // Quotes, wildcards, a NUL and a broken UTF-8 sequence are kept as typed.
    const QString odd = QStringLiteral("O'Neil \"100%\" a_b") + QChar(0) +
                        QString::fromUtf8(QByteArray("\xff\xfe", 2));
    {
        ModalAnswers answers;
        entry.buyerName()->setText(odd);
        entry.phone1()->setText(QStringLiteral("'; drop table order_data; --"));
        QTest::mouseClick(entry.saveNextButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList());
        EXPECT_EQ(entry.statusLine()->text(), QStringLiteral("增加成功!"));
    }
    const QList<Order> stored = allOrders();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.first().buyName, odd);
    EXPECT_EQ(stored.first().buyPhone1, QStringLiteral("'; drop table order_data; --"));
    EXPECT_TRUE(entry.buyerName()->text().isEmpty()); // ready for the next order
}

// A new seller types orders one after another before any express plan is set: each save
// says so on the status line only, and the first opens the plan panel, whose plan then
// gives that order its courier and the next one too.
TEST_F(ManualEntryDialogTest, SavingWithoutAPlanOpensThePlanPanelAndNeedsNoClickPerOrder) {
    m_state.settings.selectKD = QStringLiteral("圆通|");
    MainWindow window(m_state);
    window.show();
    SellerClicks clicks;
    QStringList statuses;
    int planPanels = 0;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        if (auto* plan = qobject_cast<ExpressPlanDialog*>(dialog)) {
            ++planPanels;
            clicks.pick(plan->everyProvinceList(), QStringLiteral("圆通"));
            clicks.click(plan->saveButton());
            return;
        }
        auto* entry = qobject_cast<ManualEntryDialog*>(dialog);
        ASSERT_TRUE(entry);
        for (const QString& name : {QStringLiteral("王小明"), QStringLiteral("李小红")}) {
            typeText(entry->buyerName(), name);
            entry->address()->setPlainText(QStringLiteral("贵州省贵阳市南明区花果园R1区8栋"));
            QTest::mouseClick(entry->saveNextButton(), Qt::LeftButton);
            statuses.append(entry->statusLine()->text());
        }
        entry->reject();
    });
    window.menuAction(MainWindow::ManualEntry)->trigger();
    EXPECT_EQ(statuses, QStringList(2, QStringLiteral("增加成功!")));
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("您需要设置快递方案！")});
    EXPECT_EQ(planPanels, 1);
    const QList<Order> stored = allOrders();
    ASSERT_EQ(stored.size(), 2);
    for (const Order& order : stored)
        EXPECT_EQ(order.delivery, QStringLiteral("圆通")) << order.buyName.toStdString();
}
