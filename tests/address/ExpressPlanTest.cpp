#include "address/CourierChoice.h"
#include "address/CourierFill.h"
#include "address/PlanPanel.h"

#include "core/MainState.h"
#include "core/PrintSettings.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

const QStringList kTemplates{QStringLiteral("圆通标准"), QStringLiteral("顺丰速运"),
                             QStringLiteral("EMS国内"), QStringLiteral("韵达")};

// Every cell gets 圆通标准 except 浙江 (韵达) and 北京 (EMS国内).
ExpressPlan plan(bool messagesFirst) {
    PlanPanel panel(ExpressPlan::fromText(PrintSettings::kDefaultCourierPlan));
    for (int i = 0; i < PlanPanel::kCellCount; ++i)
        panel.chooseTemplate(i, QStringLiteral("圆通标准"));
    panel.chooseTemplate(0, QStringLiteral("EMS国内"));
    panel.chooseTemplate(15, QStringLiteral("韵达"));
    panel.setMessagesFirst(messagesFirst);
    return panel.plan({});
}

QString choose(const ExpressPlan& p, const QString& messages, const QString& address) {
    const CourierChoice choice = ChooseCourier(p, kTemplates, messages, address);
    EXPECT_FALSE(choice.notice);
    return choice.templateName;
}

} // namespace

TEST(ExpressPlanTest, DefaultCourierListAndRoundTrip) {
    const QStringList names = ExpressPlan::defaultCourierNames();
    ASSERT_EQ(names.size(), 28);
    EXPECT_EQ(names.at(13), QStringLiteral("鑫飞鸿"));
    EXPECT_EQ(names.at(26), QStringLiteral("鑫飞鸿"));
    EXPECT_TRUE(ExpressPlan::fromText(PrintSettings::kDefaultCourierPlan).items.isEmpty());

    const ExpressPlan saved = plan(false);
    EXPECT_EQ(saved.items.size(), 1 + 2 * PlanPanel::kCellCount);
    EXPECT_TRUE(saved.toText().startsWith(PrintSettings::kDefaultCourierPlan +
                                          QStringLiteral("F:北京:EMS国内:天津:圆通标准")));
    EXPECT_EQ(ExpressPlan::fromText(saved.toText()).toText(), saved.toText());
}

TEST(ExpressPlanTest, ProvinceRuleInCellOrderWithFallback) {
    const ExpressPlan p = plan(true);
    EXPECT_EQ(choose(p, QString(), QStringLiteral("浙江省杭州市西湖区文三路")),
              QStringLiteral("韵达"));
    // Any mention counts, even in the street: 北京 is cell 0.
    EXPECT_EQ(choose(p, QString(), QStringLiteral("浙江省杭州市北京路1号")),
              QStringLiteral("EMS国内"));
    EXPECT_EQ(choose(p, QString(), QStringLiteral("火星基地")), QStringLiteral("EMS国内"));
}

TEST(ExpressPlanTest, CourierNamedInMessagesWinsOnlyWithFlagT) {
    const QString zhejiang = QStringLiteral("浙江省杭州市");
    EXPECT_EQ(choose(plan(true), QStringLiteral("请发顺丰，谢谢"), zhejiang),
              QStringLiteral("顺丰速运"));
    EXPECT_EQ(choose(plan(false), QStringLiteral("请发顺丰，谢谢"), zhejiang),
              QStringLiteral("韵达"));
    // Lower case in the messages still matches the upper-case name.
    EXPECT_EQ(choose(plan(true), QStringLiteral("发ems"), zhejiang), QStringLiteral("EMS国内"));
    // The first named courier decides; without a template of its own the province rule applies.
    EXPECT_EQ(choose(plan(true), QStringLiteral("中通或者顺丰"), zhejiang), QStringLiteral("韵达"));
}

TEST(ExpressPlanTest, MissingTemplatesOrPlanAreToldAndGiveNothing) {
    CourierChoice choice = ChooseCourier(plan(true), {}, QString(), QStringLiteral("浙江"));
    ASSERT_TRUE(choice.notice);
    EXPECT_EQ(choice.notice->text, QStringLiteral("您需要下载快递模版！"));
    EXPECT_EQ(choice.notice->title, QStringLiteral("墨岚快递单打印软件"));
    EXPECT_TRUE(choice.templateName.isEmpty());
    EXPECT_FALSE(choice.openPlanPanel);

    choice = ChooseCourier(ExpressPlan::fromText(PrintSettings::kDefaultCourierPlan), kTemplates,
                           QString(), QStringLiteral("浙江"));
    ASSERT_TRUE(choice.notice);
    EXPECT_EQ(choice.notice->text, QStringLiteral("您需要设置快递方案！"));
    EXPECT_TRUE(choice.openPlanPanel);
}

// The sender's default courier serves where the plan has none: no plan, or no province found.
TEST(ExpressPlanTest, TheSendersDefaultCourierFillsWhatThePlanLeavesOpen) {
    const ExpressPlan none = ExpressPlan::fromText(PrintSettings::kDefaultCourierPlan);
    CourierChoice choice =
        ChooseCourier(none, kTemplates, QString(), QStringLiteral("浙江"), QStringLiteral("韵达"));
    EXPECT_FALSE(choice.notice);
    EXPECT_EQ(choice.templateName, QStringLiteral("韵达"));

    const ExpressPlan p = plan(true);
    EXPECT_EQ(ChooseCourier(p, kTemplates, QString(), QStringLiteral("火星基地"),
                            QStringLiteral("顺丰速运"))
                  .templateName,
              QStringLiteral("顺丰速运"));
    // The plan's province and the courier the buyer asks for still come first.
    EXPECT_EQ(ChooseCourier(p, kTemplates, QString(), QStringLiteral("浙江省"),
                            QStringLiteral("顺丰速运"))
                  .templateName,
              QStringLiteral("韵达"));
    EXPECT_EQ(ChooseCourier(p, kTemplates, QStringLiteral("发EMS"), QStringLiteral("火星"),
                            QStringLiteral("顺丰速运"))
                  .templateName,
              QStringLiteral("EMS国内"));
    // A default whose template is not installed cannot print: the plan's fallback stays.
    EXPECT_EQ(ChooseCourier(p, kTemplates, QString(), QStringLiteral("火星"), QStringLiteral("德邦"))
                  .templateName,
              QStringLiteral("EMS国内"));
    choice = ChooseCourier(none, kTemplates, QString(), QStringLiteral("浙江"), QStringLiteral("德邦"));
    EXPECT_TRUE(choice.openPlanPanel);
}

TEST(PlanPanelTest, CellsShowTheirTemplateOrThePrompt) {
    PlanPanel panel(ExpressPlan::fromText(PrintSettings::kDefaultCourierPlan));
    EXPECT_EQ(panel.cellText(30), QStringLiteral("内蒙:点此配置快递"));
    ASSERT_TRUE(panel.check());
    EXPECT_EQ(panel.check()->text, QStringLiteral("有的省份没有设置快递！"));
    EXPECT_EQ(panel.check()->title, QStringLiteral("墨岚打单"));

    const PlanPanel loaded(plan(false));
    EXPECT_EQ(loaded.cellText(15), QStringLiteral("浙江:韵达"));
    EXPECT_FALSE(loaded.messagesFirst());
    EXPECT_FALSE(loaded.check());
}

namespace {

class PlanSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QString message;
        m_state.database =
            OrderDatabase::open(m_dir.filePath(QStringLiteral("mlddsj.db")), &message);
        ASSERT_TRUE(m_state.database) << message.toStdString();
        QSqlDatabase db = m_state.database->connection();
        m_state.settings = PrintSettings::load(db, m_state.log);
        m_state.templates = kTemplates;
    }

    qint64 addOrder(const QString& province, const QString& delivery, const QString& message = {}) {
        Order order;
        order.buyAddressSheng = province;
        order.delivery = delivery;
        order.buyLy = message;
        QList<Order> orders{order};
        OrderWriteRule rule;
        EXPECT_TRUE(OrderStore(*m_state.database).insert(orders, rule));
        return orders.first().id;
    }

    QString deliveryOf(qint64 id) { return OrderStore(*m_state.database).byId(id)->delivery; }

    QTemporaryDir m_dir;
    MainState m_state{DataFolder(m_dir.path())};
};

} // namespace

TEST_F(PlanSaveTest, RefusedWhileACellHasNoTemplate) {
    const qint64 id = addOrder(QStringLiteral("浙江省"), QString());
    PlanPanel panel(ExpressPlan::fromText(m_state.settings.selectKD));
    panel.chooseTemplate(0, QStringLiteral("EMS国内"));
    const PlanPanel::Saved saved = panel.save(m_state);
    EXPECT_FALSE(saved.saved);
    ASSERT_TRUE(saved.notice);
    EXPECT_EQ(saved.notice->text, QStringLiteral("有的省份没有设置快递！"));
    EXPECT_EQ(m_state.settings.selectKD, PrintSettings::kDefaultCourierPlan);
    EXPECT_EQ(deliveryOf(id), QString());
}

TEST_F(PlanSaveTest, SavingStoresThePlanAndFillsBlankCouriers) {
    const qint64 blank = addOrder(QStringLiteral("浙江省"), QStringLiteral("   "));
    const qint64 asked = addOrder(QStringLiteral("浙江省"), QString(), QStringLiteral("顺丰"));
    const qint64 kept = addOrder(QStringLiteral("浙江省"), QStringLiteral("圆通标准"));

    PlanPanel panel(plan(true));
    const PlanPanel::Saved saved = panel.save(m_state);
    EXPECT_TRUE(saved.saved);
    EXPECT_FALSE(saved.notice);
    EXPECT_EQ(saved.fill.filled, 2);
    EXPECT_EQ(deliveryOf(blank), QStringLiteral("韵达"));
    EXPECT_EQ(deliveryOf(asked), QStringLiteral("顺丰速运"));
    EXPECT_EQ(deliveryOf(kept), QStringLiteral("圆通标准"));

    QSqlDatabase db = m_state.database->connection();
    EXPECT_EQ(PrintSettings::load(db, m_state.log).selectKD, plan(true).toText());
}

TEST_F(PlanSaveTest, FillingWithoutTemplatesChangesNothing) {
    const qint64 id = addOrder(QStringLiteral("浙江省"), QString());
    m_state.settings.selectKD = plan(true).toText();
    m_state.templates.clear();
    const CourierFill fill = FillMissingCouriers(m_state);
    EXPECT_EQ(fill.filled, 0);
    ASSERT_TRUE(fill.notice);
    EXPECT_EQ(fill.notice->text, QStringLiteral("您需要下载快递模版！"));
    EXPECT_EQ(deliveryOf(id), QString());
}
