#include "BatchPasteDialog.h"
#include "MainWindow.h"
#include "ManualEntryDialog.h"
#include "PastedReceivers.h"
#include "WindowFixture.h"

#include "core/MaskedReceiver.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <functional>

using namespace mldd;
using namespace mldd::test;

namespace {

QString fiftyReceivers() {
    return pastedReceivers(50).join(QStringLiteral("\n\n"));
}

class BatchPasteTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        addProfile(QStringLiteral("淘宝:墨岚小店"));
        installTemplates({QStringLiteral("圆通"), QStringLiteral("顺丰")});
        m_state.settings.selectKD = QStringLiteral("圆通|F:广东:圆通:北京:顺丰");
    }

    // Opens 手工录入 from the menu, then 批量粘贴, and hands that window to `work`.
    void inBatchPaste(MainWindow& window, const std::function<void(BatchPasteDialog&)>& work) {
        ModalAnswers answers({}, [&](QDialog* dialog) {
            if (auto* entry = qobject_cast<ManualEntryDialog*>(dialog)) {
                QTest::mouseClick(entry->batchButton(), Qt::LeftButton);
                entry->reject();
            } else if (auto* batch = qobject_cast<BatchPasteDialog*>(dialog)) {
                work(*batch);
                batch->reject();
            }
        });
        window.menuAction(MainWindow::ManualEntry)->trigger();
        m_answers = answers.texts;
    }

    static void paste(BatchPasteDialog& batch, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        batch.pasteBox()->setFocus();
        batch.pasteBox()->paste();
        QTest::mouseClick(batch.recognizeButton(), Qt::LeftButton);
    }

    QStringList m_answers;
};

} // namespace

TEST_F(BatchPasteTest, FiftyPastedReceiversAreStoredOnceWithThePlansCourier) {
    MainWindow window(m_state);
    window.show();
    inBatchPaste(window, [&](BatchPasteDialog& batch) {
        paste(batch, fiftyReceivers());
        ASSERT_EQ(batch.table()->rowCount(), 50);
        for (int row = 0; row < 50; ++row)
            EXPECT_EQ(batch.table()->item(row, BatchPasteDialog::Mark)->text(), QString()) << row;
        typeText(batch.goods(), QStringLiteral("试用装 1 0.00"));
        QTest::mouseClick(batch.storeButton(), Qt::LeftButton);
        EXPECT_EQ(batch.table()->rowCount(), 0);
    });
    EXPECT_EQ(m_answers, QStringList{QStringLiteral("保存了50单。")});

    const QList<Order> stored = allOrders();
    ASSERT_EQ(stored.size(), 50);
    const Order& beijing = stored.at(1);
    EXPECT_EQ(beijing.buyName, QStringLiteral("钱小明"));
    EXPECT_EQ(beijing.buyPhone1, QStringLiteral("13900000001"));
    EXPECT_EQ(beijing.buyAddressSheng, QStringLiteral("北京市"));
    EXPECT_EQ(beijing.buyAddressXian, QStringLiteral("朝阳区"));
    EXPECT_EQ(beijing.buyAddress, QStringLiteral("建国路2号"));
    EXPECT_EQ(beijing.delivery, QStringLiteral("顺丰"));
    EXPECT_EQ(beijing.myId, QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(beijing.buyGoods, QStringLiteral("试用装 1 0.00"));
    const Order& guizhou = stored.at(2);
    EXPECT_EQ(guizhou.buyAddressSheng, QStringLiteral("贵州省"));
    EXPECT_EQ(guizhou.buyAddressShi, QStringLiteral("贵阳市"));
    EXPECT_EQ(guizhou.buyAddressXian, QStringLiteral("清镇市"));
    EXPECT_EQ(guizhou.delivery, QStringLiteral("圆通"));

    // The same block pasted again: every row shows it repeats, nothing is stored twice.
    inBatchPaste(window, [&](BatchPasteDialog& batch) {
        paste(batch, fiftyReceivers());
        EXPECT_TRUE(batch.table()
                        ->item(0, BatchPasteDialog::Mark)
                        ->text()
                        .startsWith(QStringLiteral("重复")));
        QTest::mouseClick(batch.storeButton(), Qt::LeftButton);
    });
    EXPECT_EQ(m_answers,
              QStringList{QStringLiteral("没有可以保存的收件人：0个没有认全，50个重复。")});
    EXPECT_EQ(allOrders().size(), 50);
}

TEST_F(BatchPasteTest, UnclearRowsAreMarkedAndWaitForTheSeller) {
    MainWindow window(m_state);
    window.show();
    inBatchPaste(window, [&](BatchPasteDialog& batch) {
        paste(batch, QStringLiteral("1. 张三 13800138000 广东省深圳市南山区科技园1栋\n"
                                    "2. 李四 广东省广州市天河区体育西路5号\n"
                                    "3. 林** 138****5678 广东省广州市天河区体育西路6号"));
        ASSERT_EQ(batch.table()->rowCount(), 3);
        EXPECT_EQ(batch.table()->item(1, BatchPasteDialog::Mark)->text(),
                  QStringLiteral("没有认出电话"));
        EXPECT_EQ(batch.table()->item(2, BatchPasteDialog::Mark)->text(), MaskedReceiver::kMark);
        QTest::mouseClick(batch.storeButton(), Qt::LeftButton);
        // The row without a phone stays; the seller types it in and stores it too.
        ASSERT_EQ(batch.table()->rowCount(), 1);
        batch.table()->item(0, BatchPasteDialog::Phone1)->setText(QStringLiteral("13900139000"));
        EXPECT_EQ(batch.table()->item(0, BatchPasteDialog::Mark)->text(), QString());
        QTest::mouseClick(batch.storeButton(), Qt::LeftButton);
        EXPECT_EQ(batch.table()->rowCount(), 0);
    });
    EXPECT_EQ(m_answers,
              (QStringList{QStringLiteral(
                               "保存了2单。\n1个收件人没有认全，留在表里，改好后再点[全部保存]。"),
                           QStringLiteral("保存了1单。")}));
    const QList<Order> stored = allOrders();
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored.at(2).buyName, QStringLiteral("李四"));
    EXPECT_TRUE(MaskedReceiver::isMasked(stored.at(1)));
}
