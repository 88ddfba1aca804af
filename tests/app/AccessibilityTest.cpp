#include "ContentsNamesPanel.h"
#include "DatabaseSettingsDialog.h"
#include "MainWindow.h"
#include "MenuSettingsDialog.h"
#include "SenderProfilesDialog.h"
#include "PrintSettingsDialog.h"
#include "ShippingListDesigner.h"
#include "ManualEntryDialog.h"
#include "DecodeFileEditor.h"
#include "SenderPicker.h"
#include "TrackingNumberDialog.h"
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
    MainWindow main(m_state);
    EXPECT_EQ(unnamedFields(main), QStringList());
    SenderProfilesDialog senders(m_state);
    EXPECT_EQ(unnamedFields(senders), QStringList());
    TrackingNumberDialog tracking(m_state);
    EXPECT_EQ(unnamedFields(tracking), QStringList());
    ShippingListDesigner design(m_state, QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(unnamedFields(design), QStringList());
    ManualEntryDialog entry(m_state);
    EXPECT_EQ(unnamedFields(entry), QStringList());
    DecodeFileEditor decode(m_state, QStringLiteral("https://shop.example.com/order"), QString());
    EXPECT_EQ(unnamedFields(decode), QStringList());
    MenuSettingsDialog menu(m_state, main.menuEntryCaptions());
    EXPECT_EQ(unnamedFields(menu), QStringList());
    PrintSettingsDialog printSettings(m_state);
    EXPECT_EQ(unnamedFields(printSettings), QStringList());
    SenderPicker picker;
    EXPECT_EQ(unnamedFields(picker), QStringList());
    DatabaseSettingsDialog store(QStringLiteral("连不上订单数据库服务器"), QString());
    EXPECT_EQ(unnamedFields(store), QStringList());
}
