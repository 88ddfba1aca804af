#include "SenderProfilesDialog.h"
#include "Eventually.h"
#include "MainWindow.h"
#include "SellerClicks.h"
#include "ServiceProcess.h"
#include "WindowFixture.h"

#include "capture/ManualOrder.h"
#include "core/TextCodec.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

using SenderProfilesDialogTest = WindowFixture;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(SenderProfilesDialogTest, AFreshSellerSetsUpTheFirstSenderWhenTheFirstCaptureStops) {
    ServiceProcess service(
        {QStringLiteral("--content"), QStringLiteral(MLDD_SOURCE_DIR "/service/content")});
    ASSERT_NE(service.port(), 0) << "mldd-service did not start";
    m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(service.port());
    QFile page(QStringLiteral(MLDD_SOURCE_DIR "/samples/taobao-detail.txt"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    QGuiApplication::clipboard()->setText(QString::fromUtf8(page.readAll()));

    MainWindow window(m_state);
    window.show();
    QString presetAccount;
    // Yes to the first-use question; the editor comes up with the page's marketplace (the
    // page's shop may be a decode file's); the seller types the shop and an address and saves;
    // the capture then runs again and stores the order.
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* editor = qobject_cast<SenderProfilesDialog*>(dialog);
        ASSERT_TRUE(editor);
        presetAccount = editor->marketplace()->currentText() + u'|' + editor->account()->text();
        typeText(editor->account(), QStringLiteral("墨岚小店"));
        typeText(editor->address(), QStringLiteral("贵州省贵阳市南明区花果园R1区8栋"));
        typeText(editor->senderName(), QStringLiteral("王小明"));
        QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
        editor->accept();
    });
    CommandAction action;
    action.kind = CommandAction::Kind::Capture;
    action.text = QStringLiteral("https://trade.taobao.com/trade/detail.htm");
    window.handleCommand(action);
    ASSERT_TRUE(becomes([&] { return m_state.cursor.recordCount(); }, 1, 10000));

    EXPECT_EQ(presetAccount, QStringLiteral("淘宝|"));
    ASSERT_FALSE(answers.texts.isEmpty());
    EXPECT_TRUE(
        answers.texts.first().startsWith(QStringLiteral("初次使用，您需要设置发件人信息！")));
    ASSERT_EQ(m_state.profiles.size(), 1);
    EXPECT_EQ(m_state.profiles.first().myIdh, QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(m_state.profiles.first().province, QStringLiteral("贵州省"));
    EXPECT_EQ(m_state.profiles.first().address, QStringLiteral("贵州省贵阳市南明区花果园R1区8栋"));
    EXPECT_EQ(allOrders().first().buyName, QStringLiteral("李小红"));
    // The filter list offers the new sender at once.
    EXPECT_GE(window.senderFilterList()->findText(QStringLiteral("淘宝:墨岚小店")), 1);
}

TEST_F(SenderProfilesDialogTest, SavingChecksTheBoxesBuildsTheIdAndKeepsContentsNames) {
    SenderProfilesDialog editor(m_state);
    editor.show();
    {
        ModalAnswers answers;
        editor.marketplace()->setCurrentText(QStringLiteral("拼多多"));
        typeText(editor.account(), QStringLiteral("abc"));
        QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral(
                      "[发件人QQ/旺旺/ID]，[发件人地址或其他信息]，不能为空,请填完整再保存!")});
        EXPECT_TRUE(m_state.profiles.isEmpty());
    }
    // Quotes and LIKE's wildcards are an address like any other.
    typeText(editor.address(), QStringLiteral("O'Brien 路 100%_号"));
    typeText(editor.contentsCandidates(), QStringLiteral("衣服\u3000\u3000鞋  包"));
    typeText(editor.defaultContentsName(), QStringLiteral("衣服"));
    QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
    ASSERT_EQ(m_state.profiles.size(), 1);
    EXPECT_EQ(m_state.profiles.first().myIdh, QStringLiteral("拼多多:abc"));
    EXPECT_EQ(m_state.profiles.first().address, QStringLiteral("O'Brien 路 100%_号"));
    EXPECT_EQ(m_state.profiles.first().faHuoSet, DefaultFaHuoSet());
    EXPECT_EQ(fileBytes(m_state.folder.file(QStringLiteral("拼多多;abc.njp"))),
              QStringLiteral("0衣服[NJF]衣服 鞋 包\r\n").toUtf8());
    EXPECT_EQ(editor.profileList()->currentItem()->text(), QStringLiteral("拼多多:abc"));

    // 10,000 characters pasted stop at what the column holds.
    editor.address()->setText(QString(10000, u'路'));
    EXPECT_EQ(editor.address()->text().size(), 255);

    // Deleting asks first; No keeps the profile, Yes removes it.
    {
        ModalAnswers answers({QMessageBox::No});
        QTest::mouseClick(editor.deleteButton(), Qt::LeftButton);
        EXPECT_EQ(m_state.profiles.size(), 1);
    }
    {
        ModalAnswers answers({QMessageBox::Yes});
        QTest::mouseClick(editor.deleteButton(), Qt::LeftButton);
        EXPECT_TRUE(m_state.profiles.isEmpty());
        EXPECT_EQ(editor.profileList()->count(), 1); // only the entry for a new sender
    }
}

TEST_F(SenderProfilesDialogTest, AnOldGbkContentsNameFileShowsItsNames) {
    addProfile(QStringLiteral("淘宝:abc"));
    QFile old(m_state.folder.file(QStringLiteral("淘宝;abc.njp")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(TextCodec::toGbk(QStringLiteral("1鞋[NJF]鞋 袜子\r\n")));
    old.close();

    SenderProfilesDialog editor(m_state);
    editor.profileList()->setCurrentRow(1);
    EXPECT_EQ(editor.withMarketplace()->isChecked(), true);
    EXPECT_EQ(editor.account()->text(), QStringLiteral("abc"));
    EXPECT_EQ(editor.defaultContentsName()->text(), QStringLiteral("鞋"));
    EXPECT_EQ(editor.contentsCandidates()->text(), QStringLiteral("鞋 袜子"));
}

// 默认快递 is picked in the sender editor, stored with the profile, and gives a typed order
// its courier while no express plan is set.
TEST_F(SenderProfilesDialogTest, TheDefaultCourierIsPickedStoredAndUsedForNewOrders) {
    QDir().mkpath(m_state.folder.file(QStringLiteral("Delivery")));
    for (const QString extension : {".mlg", ".mlm"})
        QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/Delivery/顺丰") + extension,
                    m_state.folder.file(QStringLiteral("Delivery/顺丰") + extension));
    m_state.templates = installedTemplateNames(m_state.folder);
    addProfile(QStringLiteral("淘宝:墨岚小店"));

    MainWindow window(m_state);
    window.show();
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* editor = qobject_cast<SenderProfilesDialog*>(dialog);
        ASSERT_TRUE(editor);
        editor->profileList()->setCurrentRow(1);
        EXPECT_EQ(editor->defaultCourier()->currentText(), QStringLiteral("不指定"));
        SellerClicks clicks;
        clicks.pick(editor->defaultCourier(), QStringLiteral("顺丰"));
        clicks.click(editor->saveButton());
        editor->accept();
    });
    window.menuAction(MainWindow::Senders)->trigger();

    QSqlQuery stored(m_state.database->connection());
    ASSERT_TRUE(stored.exec(QStringLiteral("select my_Delivery from my_data where my_idh = '淘宝:墨岚小店'")));
    ASSERT_TRUE(stored.next());
    EXPECT_EQ(stored.value(0).toString(), QStringLiteral("顺丰"));

    Order typed;
    typed.myId = QStringLiteral("淘宝:墨岚小店");
    typed.buyName = QStringLiteral("李四");
    typed.buyAddress = QStringLiteral("浙江省杭州市西湖区文三路1号");
    const ManualOrderResult result = InsertManualOrder(m_state, typed);
    ASSERT_TRUE(result.inserted);
    EXPECT_EQ(order(result.id).delivery, QStringLiteral("顺丰"));
    for (const Notice& notice : result.notices)
        EXPECT_NE(notice.text, QStringLiteral("您需要设置快递方案！"));
}
