#include "ContentsNamesPanel.h"
#include "Form_DbSet.h"
#include "Form_Main.h"
#include "Form_MenuSet.h"
#include "Form_Myinfo.h"
#include "Form_PrintSet.h"
#include "Form_fh_set.h"
#include "Form_sglr.h"
#include "Form_zd_code.h"
#include "SenderPicker.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace mldd;
using namespace mldd::test;

namespace {

class AccessibilityTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        addProfile(QStringLiteral("淘宝:墨岚小店"));
        storeOrders(3, QStringLiteral("淘宝:墨岚小店"));
    }
};

} // namespace

TEST_F(AccessibilityTest, EveryFieldOfEveryWindowHasAName) {
    Form_Main main(m_state);
    EXPECT_EQ(unnamedFields(main), QStringList());
    Form_Myinfo senders(m_state);
    EXPECT_EQ(unnamedFields(senders), QStringList());
    Form_fh_set design(m_state, QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(unnamedFields(design), QStringList());
    Form_sglr entry(m_state);
    EXPECT_EQ(unnamedFields(entry), QStringList());
    Form_zd_code decode(m_state, QStringLiteral("https://shop.example.com/order"), QString());
    EXPECT_EQ(unnamedFields(decode), QStringList());
    Form_MenuSet menu(m_state, main.menuEntryCaptions());
    EXPECT_EQ(unnamedFields(menu), QStringList());
    Form_PrintSet printSettings(m_state);
    EXPECT_EQ(unnamedFields(printSettings), QStringList());
    SenderPicker picker;
    EXPECT_EQ(unnamedFields(picker), QStringList());
    Form_DbSet store(QStringLiteral("连不上订单数据库服务器"), QString());
    EXPECT_EQ(unnamedFields(store), QStringList());
}
