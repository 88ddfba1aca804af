#include "ExpressPlanDialog.h"

#include "address/ExpressPlan.h"
#include "core/MainState.h"
#include "core/Startup.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

class ExpressPlanDialogTest : public ::testing::Test {
protected:
    ExpressPlanDialogTest() : m_state(DataFolder(m_dir.path() + QStringLiteral("/data"))) {}

    void SetUp() override {
        ASSERT_TRUE(startUp(m_state, QString()).ok);
        m_state.templates = {QStringLiteral("圆通"), QStringLiteral("顺丰")};
    }

    static void choose(ExpressPlanDialog& dialog, int cell, const QString& templateName) {
        QTest::mouseClick(dialog.cell(cell), Qt::LeftButton);
        emit dialog.templateList()->textActivated(templateName);
    }

    // Answers the message box the next click opens, and keeps its text.
    void answerNextMessage() {
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_message = box->text();
                box->accept();
            }
        });
    }

    QTemporaryDir m_dir;
    MainState m_state;
    QString m_message;
};

} // namespace

TEST_F(ExpressPlanDialogTest, SavingNeedsEveryProvinceThenFillsMissingCouriers) {
    Order order;
    order.buyAddressSheng = QStringLiteral("广东省");
    QList<Order> orders{order};
    OrderWriteRule rule;
    ASSERT_TRUE(OrderStore(*m_state.database).insert(orders, rule));

    ExpressPlanDialog dialog(m_state);
    EXPECT_EQ(dialog.cell(0)->text(), QStringLiteral("北京:点此配置快递"));
    choose(dialog, 0, QStringLiteral("顺丰"));
    EXPECT_EQ(dialog.cell(0)->text(), QStringLiteral("北京:顺丰"));

    answerNextMessage();
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    EXPECT_EQ(m_message, QStringLiteral("有的省份没有设置快递！"));
    EXPECT_EQ(ExpressPlan::fromText(m_state.settings.selectKD).items.size(), 0);

    for (int i = 1; i < PlanPanel::kCellCount; ++i)
        choose(dialog, i, i == 25 ? QStringLiteral("顺丰") : QStringLiteral("圆通"));
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(OrderStore(*m_state.database).byId(orders[0].id)->delivery, QStringLiteral("顺丰"));
}
