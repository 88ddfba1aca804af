#include "ShippingListDesigner.h"
#include "MainWindow.h"
#include "WaybillPreview.h"
#include "WindowFixture.h"

#include "CliRun.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

class ShippingListDesignerTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        addProfile(QStringLiteral("淘宝:墨岚小店"));
    }

    QString storedDesign() {
        QSqlQuery query(m_state.database->connection());
        query.exec(QStringLiteral("select FaHuoSet from my_data"));
        return query.next() ? query.value(0).toString() : QString();
    }

    static void retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        typeText(box, text);
    }

    const QString kSender = QStringLiteral("淘宝:墨岚小店");
};

} // namespace

TEST_F(ShippingListDesignerTest, PlaceholdersAreRefusedUntilEditedThenTheListPrintsTheNewTitle) {
    const qint64 id = storeOrders(1, kSender).first();
    ShippingListDesigner editor(m_state, kSender);
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("【淘宝:墨岚小店】发货单样单编辑"));

    {
        ModalAnswers answers;
        QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请修改您的发货单标题！")});
        EXPECT_EQ(editor.focusWidget(), editor.itemText(QStringLiteral("标题")));
        EXPECT_EQ(storedDesign(), DefaultFaHuoSet());
    }
    retype(editor.itemText(QStringLiteral("标题")), QStringLiteral("墨岚小店发货单"));
    retype(editor.itemText(QStringLiteral("卖家姓名")), QStringLiteral("卖家姓名:王小明"));
    {
        // The profile has no telephone: its item still holds the placeholder; hiding it lets
        // the save pass. 卖家ID shows the profile's account.
        ModalAnswers answers;
        QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请修改您的卖家联系电话！")});
        EXPECT_EQ(editor.itemText(QStringLiteral("卖家ID"))->text(),
                  QStringLiteral("卖家ID:墨岚小店"));
    }
    QTest::mouseClick(editor.itemControl(QStringLiteral("卖家ID")), Qt::LeftButton);
    QTest::mouseClick(editor.itemControl(QStringLiteral("卖家联系电话")), Qt::LeftButton);
    // The title in 72 points, bold.
    emit editor.itemList()->textActivated(QStringLiteral("标题"));
    emit editor.sizeList()->textActivated(QStringLiteral("72"));
    QTest::mouseClick(editor.boldBox(), Qt::LeftButton);
    EXPECT_TRUE(editor.itemControl(QStringLiteral("标题"))->font().bold());
    {
        ModalAnswers answers;
        QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("保存成功！")});
    }
    const QStringList records = storedDesign().split(QStringLiteral("[FA]"));
    ASSERT_EQ(records.size(), 21);
    EXPECT_EQ(records.first(),
              QStringLiteral("标题[FAHUO]墨岚小店发货单[FAHUO]1[FAHUO]宋体[FAHUO]72"
                             "[FAHUO]居中[FAHUO]1[FAHUO]0[FAHUO]0"));
    EXPECT_TRUE(records.at(12).startsWith(QStringLiteral("卖家ID[FAHUO]卖家ID:墨岚小店[FAHUO]0")));
    EXPECT_TRUE(records.last().startsWith(QStringLiteral("卖家备注[FAHUO]")));
    EXPECT_EQ(m_state.profiles.first().faHuoSet, storedDesign());

    // The printed list carries the new title and not the placeholders.
    const QString pdf = m_dir.filePath(QStringLiteral("list.pdf"));
    const CliRun printed =
        runCli({QStringLiteral("--data"), m_state.folder.dataPath(), QStringLiteral("print"),
                QStringLiteral("shiplist"), QStringLiteral("--ids"), QString::number(id),
                QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(words.contains(QStringLiteral("墨岚小店发货单"))) << words.toStdString();
    EXPECT_TRUE(words.contains(QStringLiteral("卖家姓名:王小明")));
    EXPECT_FALSE(words.contains(QStringLiteral("某某某")));
}

TEST_F(ShippingListDesignerTest, ADesignFromAnOldFolderWithMissingFieldsOpensAndSavesWhatItHas) {
    // Three records: the title whole, 订单编号 cut short, 订单条码 whole; the rest missing.
    const QString old = QStringLiteral(
        "标题[FAHUO]小店[FAHUO]1[FAHUO]宋体[FAHUO]18[FAHUO]居中[FAHUO]0[FAHUO]0[FAHUO]0[FA]"
        "订单编号[FAHUO][FAHUO]1[FA]"
        "订单条码[FAHUO][FAHUO]1[FAHUO]宋体[FAHUO]10.5[FAHUO]居左[FAHUO]0[FAHUO]0[FAHUO]0");
    ASSERT_FALSE(ProfileEditing::saveDesign(m_state, kSender, old, DefaultFaHuoSet));
    ShippingListDesigner editor(m_state, kSender);
    EXPECT_FALSE(editor.itemControl(QStringLiteral("订单编号"))->isEnabled());
    EXPECT_FALSE(editor.itemControl(QStringLiteral("卖家ID"))->isEnabled());
    EXPECT_TRUE(editor.itemControl(QStringLiteral("订单条码"))->isEnabled());
    // Choosing a broken item leaves its record alone.
    emit editor.itemList()->textActivated(QStringLiteral("订单编号"));
    EXPECT_FALSE(editor.sizeList()->isEnabled());
    emit editor.itemList()->textActivated(QStringLiteral("订单条码"));
    emit editor.sizeList()->textActivated(QStringLiteral("12"));

    ModalAnswers answers;
    QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("保存成功！")});
    QString expected = old;
    expected.replace(QStringLiteral("10.5"), QStringLiteral("12"));
    EXPECT_EQ(m_state.profiles.first().faHuoSet, expected);
}

TEST_F(ShippingListDesignerTest, TheBuiltInExampleShowsItsFiguresInTheirColumns) {
    // No order stored yet: the preview shows the example, whose names hold spaces.
    ShippingListDesigner editor(m_state, kSender);
    ASSERT_TRUE(editor.preview()->page());
    QStringList texts;
    for (const TextLine& line : editor.preview()->page()->texts)
        texts.append(line.text);
    EXPECT_TRUE(texts.contains(QStringLiteral("数量：3  优惠：0元  总价：160元  运费：0元")))
        << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("壹佰陆拾元整")));
    EXPECT_TRUE(texts.contains(QStringLiteral("89.00")));
    EXPECT_TRUE(texts.contains(QStringLiteral("71")));
}

// 设置 › 发货单设置 with the texts set through the accessibility interface, as a screen reader or
// a voice-input tool sets them: the preview and the saved design take them as typed ones.
TEST_F(ShippingListDesignerTest, TextsSetByAnAssistiveToolAreSaved) {
    storeOrders(1, kSender);
    MainWindow window(m_state);
    window.show();
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* editor = qobject_cast<ShippingListDesigner*>(dialog);
        ASSERT_NE(editor, nullptr) << dialog->metaObject()->className();
        const QList<QPair<QString, QString>> texts{{"标题", "墨岚小店发货单"},
                                                   {"卖家姓名", "卖家姓名:林掌柜"},
                                                   {"卖家ID", "卖家ID:墨岚小店"},
                                                   {"卖家联系电话", "卖家联系电话:13600001111"}};
        for (const auto& [item, text] : texts) {
            QAccessibleInterface* box =
                QAccessible::queryAccessibleInterface(editor->itemText(item));
            box->editableTextInterface()->replaceText(0, box->textInterface()->characterCount(),
                                                      text);
        }
        QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
        QTest::qWait(50);
        dialog->reject();
    });
    for (QAction* action : window.menu(MainWindow::Menu::Settings)->actions())
        if (action->text() == QStringLiteral("发货单设置"))
            action->trigger();
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("保存成功！")});
    const QStringList records = storedDesign().split(QStringLiteral("[FA]"));
    ASSERT_EQ(records.size(), 21);
    EXPECT_TRUE(records.first().startsWith(QStringLiteral("标题[FAHUO]墨岚小店发货单[FAHUO]")))
        << records.first().toStdString();
    EXPECT_TRUE(records.at(13).startsWith(
        QStringLiteral("卖家联系电话[FAHUO]卖家联系电话:13600001111[FAHUO]")))
        << records.at(13).toStdString();
}
