#include "MainWindow.h"
#include "ModalAnswers.h"
#include "OrderRowWidget.h"
#include "PagedPreview.h"
#include "ServiceWindowFixture.h"
#include "WaybillPreview.h"

#include "core/NumSign.h"
#include "waybill/TemplateFiles.h"

#include <QMessageBox>
#include <QTest>

#include <functional>

using namespace mldd;
using namespace mldd::test;

namespace {

const QString kYunda = QStringLiteral("韵达");
const QString kFetched = QStringLiteral("快递模版：韵达已经成功下载，点[确定]后，继续刚才的工作！");
const QString kNotFetched =
    QStringLiteral("刚才尝试下载快递模版：韵达未能成功，请在[设置][下载快递模版]下载！");

// Calls `shown` as each message box comes up, before anyone answers it.
class BoxWatch : public QObject {
public:
    explicit BoxWatch(std::function<void()> shown) : m_shown(std::move(shown)) {
        qApp->installEventFilter(this);
    }
    ~BoxWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched))
            m_shown();
        return false;
    }

private:
    std::function<void()> m_shown;
};

// A seller whose 韵达 template is gone from the data folder (a new machine, a deleted file)
// and who has two pages of 韵达 orders to ship.
class CardTemplateTest : public ServiceWindowFixture {
protected:
    void SetUp() override {
        ServiceWindowFixture::SetUp();
        addSender(QStringLiteral("墨岚小店"));
        for (const QString extension : {".mlg", ".mlm"})
            ASSERT_TRUE(QFile::remove(m_data + QStringLiteral("/Delivery/韵达") + extension));
    }

    void storeYundaOrders(int count) {
        QList<Order> orders(count);
        for (int i = 0; i < count; ++i) {
            orders[i].myId = QStringLiteral("淘宝:墨岚小店");
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(880 + i);
            orders[i].numSign = numSignOf(orders[i].orderSign);
            orders[i].buyName = QStringLiteral("收货人%1").arg(i + 1);
            orders[i].buyAddress = QStringLiteral("贵州省贵阳市云岩区中华北路%1号").arg(i + 1);
            orders[i].buyGoods = QStringLiteral("袜子 2 9.90");
            orders[i].delivery = kYunda;
        }
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*m_state.database).insert(orders, rule));
        m_state.requery();
    }

    static int cardsWithWaybills(const MainWindow& window) {
        int drawn = 0;
        for (OrderRowWidget* row : window.rows())
            drawn += row->isVisibleTo(row->parentWidget()) &&
                     row->pagedPreview()->page()->page().has_value();
        return drawn;
    }

    // Both page buttons once, waiting for anything they set off.
    static void turnPages(MainWindow& window) {
        QTest::mouseClick(window.nextPageButton(), Qt::LeftButton);
        QTest::qWait(300);
        QTest::mouseClick(window.previousPageButton(), Qt::LeftButton);
        QTest::qWait(300);
    }
};

} // namespace

// The page comes up at once; the missing template is then said, fetched from the service and
// drawn on every card, and no later page asks again.
TEST_F(CardTemplateTest, ThePageShownFetchesItsMissingTemplateOnce) {
    start();
    storeYundaOrders(14);
    ModalAnswers answers;
    MainWindow window(m_state);
    // What the seller sees behind the first box: the page, drawn already.
    QString behindTheBox;
    BoxWatch watch([&] {
        if (behindTheBox.isNull())
            behindTheBox = (window.isVisible() ? QStringLiteral("shown|") : QString()) +
                           window.informationLine()->text() + u'|' +
                           window.rows().first()->field(&Order::buyName)->text();
    });
    window.show();

    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.texts.size() == 2; }, 15000))
        << answers.texts.join(u'|').toStdString();
    EXPECT_EQ(answers.texts.first(), TemplateFiles::missingNotice(kYunda).text);
    EXPECT_EQ(answers.texts.last(), kFetched);
    EXPECT_TRUE(behindTheBox.startsWith(QStringLiteral("shown|"))) << behindTheBox.toStdString();
    EXPECT_TRUE(behindTheBox.contains(QStringLiteral("总计14条"))) << behindTheBox.toStdString();
    EXPECT_TRUE(behindTheBox.endsWith(QStringLiteral("|收货人14"))) << behindTheBox.toStdString();
    EXPECT_TRUE(TemplateFiles(m_state.folder, kYunda).exists());
    EXPECT_TRUE(m_state.templates.contains(kYunda));
    EXPECT_EQ(cardsWithWaybills(window), 10);

    turnPages(window);
    EXPECT_EQ(cardsWithWaybills(window), 10);
    EXPECT_EQ(answers.texts.size(), 2) << answers.texts.join(u'|').toStdString();
}

// With the service stopped the seller hears once which template could not be fetched,
// however many pages show it; the cards say what is missing.
TEST_F(CardTemplateTest, AStoppedServiceIsSaidOnceNotOnEveryPage) {
    quint16 stopped = 0;
    {
        const ServiceProcess gone{
            {QStringLiteral("--content"), QStringLiteral(MLDD_BIN "/service/content")}};
        stopped = gone.port();
    }
    pointAtService(stopped);
    start();
    storeYundaOrders(14);
    ModalAnswers answers;
    MainWindow window(m_state);
    window.show();

    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.texts.contains(kNotFetched); }, 15000))
        << answers.texts.join(u'|').toStdString();
    turnPages(window);
    turnPages(window);
    EXPECT_EQ(answers.texts, (QStringList{TemplateFiles::missingNotice(kYunda).text, kNotFetched}));
    EXPECT_EQ(cardsWithWaybills(window), 0);
    EXPECT_FALSE(TemplateFiles(m_state.folder, kYunda).exists());
}
