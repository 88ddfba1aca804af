#include "ExpressPlanDialog.h"
#include "Eventually.h"
#include "MainWindow.h"
#include "SellerClicks.h"
#include "WindowFixture.h"

#include "address/ExpressPlan.h"

#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

int cellOf(const QString& province) {
    const auto& names = PlanPanel::provinces();
    return int(std::find(names.begin(), names.end(), province) - names.begin());
}

int regionOf(const QString& name) {
    const auto& regions = PlanPanel::regions();
    for (int i = 0; i < regions.size(); ++i)
        if (regions.at(i).name == name)
            return i;
    return -1;
}

class ExpressPlanDialogTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // The shipped templates, installed as a new data folder has them.
        QDir().mkpath(m_state.folder.file(QStringLiteral("Delivery")));
        for (const QString& file : QDir(QStringLiteral(MLDD_SOURCE_DIR "/data/Delivery")).entryList(QDir::Files))
            QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/Delivery/") + file,
                        m_state.folder.file(QStringLiteral("Delivery/") + file));
        m_state.templates = installedTemplateNames(m_state.folder);
    }

    QString planned(const QString& province) {
        QSqlDatabase db = m_state.database->connection();
        const ExpressPlan plan =
            ExpressPlan::fromText(PrintSettings::load(db, m_state.log).selectKD);
        const qsizetype at = plan.items.indexOf(province);
        return at < 0 ? QString() : plan.items.value(at + 1);
    }
};

} // namespace

// The plan as a seller sets up four couriers: from the menu, 全部省份, three regions, save.
TEST_F(ExpressPlanDialogTest, FourCouriersFromTheMenuInUnderFifteenClicks) {
    const qint64 waiting = storeOrders(1).first();
    Order guangdong = order(waiting);
    guangdong.buyAddressSheng = QStringLiteral("广东省");
    ASSERT_TRUE(OrderStore(*m_state.database).update({guangdong}));

    MainWindow window(m_state);
    window.show();
    SellerClicks clicks;
    bool saved = false;
    ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* plan = qobject_cast<ExpressPlanDialog*>(dialog);
        ASSERT_NE(plan, nullptr) << dialog->metaObject()->className();
        clicks.pick(plan->everyProvinceList(), QStringLiteral("圆通"));
        EXPECT_EQ(plan->cellList(cellOf(QStringLiteral("新疆")))->currentText(),
                  QStringLiteral("圆通"));
        clicks.pick(plan->regionList(regionOf(QStringLiteral("华南"))), QStringLiteral("顺丰"));
        clicks.pick(plan->regionList(regionOf(QStringLiteral("西北"))), QStringLiteral("EMS"));
        clicks.pick(plan->regionList(regionOf(QStringLiteral("华北"))), QStringLiteral("申通"));
        // Mixed provinces: 全部省份 shows no single courier any more.
        EXPECT_EQ(plan->everyProvinceList()->currentIndex(), -1);
        clicks.click(plan->saveButton());
        saved = plan->result() == QDialog::Accepted;
        if (!saved)
            plan->reject();
    });
    clicks.chooseMenuEntry(window.menuBar(), window.menuAction(MainWindow::ExpressPlan));
    ASSERT_TRUE(saved);

    EXPECT_LT(clicks.count(), 15);
    EXPECT_EQ(planned(QStringLiteral("浙江")), QStringLiteral("圆通"));
    EXPECT_EQ(planned(QStringLiteral("广东")), QStringLiteral("顺丰"));
    EXPECT_EQ(planned(QStringLiteral("广西")), QStringLiteral("顺丰"));
    EXPECT_EQ(planned(QStringLiteral("新疆")), QStringLiteral("EMS"));
    EXPECT_EQ(planned(QStringLiteral("内蒙")), QStringLiteral("申通"));
    EXPECT_EQ(planned(QStringLiteral("北京")), QStringLiteral("申通"));
    // Saving gave the waiting order its courier.
    EXPECT_EQ(order(waiting).delivery, QStringLiteral("顺丰"));
}

// Each list shows what its provinces have, so that what a seller sees is what is saved.
TEST_F(ExpressPlanDialogTest, ListsShowTheStoredPlanAndAnyChoiceCounts) {
    ExpressPlanDialog dialog(m_state);
    dialog.show();
    SellerClicks clicks;
    QComboBox* beijing = dialog.cellList(cellOf(QStringLiteral("北京")));
    EXPECT_EQ(beijing->currentIndex(), -1);
    EXPECT_EQ(beijing->placeholderText(), PlanPanel::kPrompt);
    ModalAnswers refusal;
    clicks.pick(beijing, QStringLiteral("顺丰"));
    clicks.click(dialog.saveButton());
    ASSERT_TRUE(becomes([&] { return refusal.texts; },
                        QStringList{QStringLiteral("有的省份没有设置快递！")}));
    EXPECT_TRUE(planned(QStringLiteral("北京")).isEmpty());

    QComboBox* east = dialog.regionList(regionOf(QStringLiteral("华东")));
    clicks.pick(east, QStringLiteral("圆通"));
    clicks.pick(dialog.cellList(cellOf(QStringLiteral("浙江"))), QStringLiteral("中通"));
    EXPECT_EQ(east->currentIndex(), -1);
    clicks.pick(dialog.everyProvinceList(), QStringLiteral("韵达"));
    EXPECT_EQ(east->currentText(), QStringLiteral("韵达"));
    clicks.pick(dialog.cellList(cellOf(QStringLiteral("浙江"))), QStringLiteral("中通"));
    clicks.click(dialog.saveButton());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(planned(QStringLiteral("北京")), QStringLiteral("韵达"));
    EXPECT_EQ(planned(QStringLiteral("浙江")), QStringLiteral("中通"));

    ExpressPlanDialog again(m_state);
    EXPECT_EQ(again.cellList(cellOf(QStringLiteral("浙江")))->currentText(),
              QStringLiteral("中通"));
    EXPECT_EQ(again.regionList(regionOf(QStringLiteral("华北")))->currentText(),
              QStringLiteral("韵达"));
    EXPECT_EQ(again.regionList(regionOf(QStringLiteral("华东")))->currentIndex(), -1);
}
