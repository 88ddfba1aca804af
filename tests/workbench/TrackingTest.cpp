#include "WorkbenchFixture.h"

#include "workbench/TrackingNumberRules.h"
#include "workbench/TrackingQueue.h"

using namespace mldd;

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

class TrackingTest : public test::WorkbenchFixture {
protected:
    // Orders of these couriers, numbered so that the list shows them in this order (newest
    // order number first); their ids in that order.
    QList<qint64> storeWith(const QStringList& couriers) {
        QList<Order> orders;
        for (int i = 0; i < couriers.size(); ++i) {
            Order order;
            order.orderSign = QStringLiteral("淘宝:%1").arg(100 + couriers.size() - 1 - i);
            order.numSign = numSignOf(order.orderSign);
            order.buyName = QStringLiteral("收货人%1").arg(i);
            order.delivery = couriers.at(i);
            orders.append(order);
        }
        return store(orders);
    }
    QString numberOf(qint64 id) { return order(id).wuliuCode; }
};

} // namespace

TEST(TrackingNumberRulesTest, EachCourierHasItsOwnNumbers) {
    struct Case {
        const char16_t* courier;
        const char* number;
        bool plausible;
    };
    const Case cases[] = {
        {u"顺丰", "123456789012", true},   {u"顺丰", "SF1234567890123", true},
        {u"顺丰", "12345678901", false},   {u"圆通快递", "YT4021937465", true},
        {u"圆通", "4021937465", true},     {u"圆通", "402193746", false},
        {u"申通", "268123456789", true},   {u"申通", "26812345678X", false},
        {u"中通", "7312345678901", false}, {u"韵达", "1200123456789", true},
        {u"EMS", "EA123456785CN", true},   {u"EMS", "EA123456784CN", false}, // check digit
        {u"EMS", "1100123456789", true},   {u"某快递", "AB1234", true},
        {u"某快递", "AB-1234", false},     {u"", "123456789012345678901", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(!TrackingNumberRules::doubt(QString::fromUtf16(c.courier),
                                              QString::fromLatin1(c.number)),
                  c.plausible)
            << c.number;
    EXPECT_EQ(
        *TrackingNumberRules::doubt(QStringLiteral("圆通"), QStringLiteral("402193746")),
        QStringLiteral("402193746不像圆通的运单号（圆通的运单号是10到13位数字，前面可有YT）。"));
    EXPECT_EQ(TrackingNumberRules::normalized(QStringLiteral(" yt 4021937465\t")),
              QStringLiteral("YT4021937465"));
}

TEST(TrackingNumberRulesTest, RunsOfConsecutiveForms) {
    const auto run = [](const QString& courier, const QString& start, int count) {
        std::variant<QStringList, Notice> numbers = TrackingNumberRules::run(courier, start, count);
        return std::holds_alternative<QStringList>(numbers) ? std::get<QStringList>(numbers)
                                                            : QStringList{};
    };
    EXPECT_EQ(run(QStringLiteral("圆通"), QStringLiteral("YT0000000998"), 3),
              (QStringList{QStringLiteral("YT0000000998"), QStringLiteral("YT0000000999"),
                           QStringLiteral("YT0000001000")}));
    // EMS forms carry a check digit: each is made anew.
    EXPECT_EQ(run(QStringLiteral("EMS"), QStringLiteral("EA123456785CN"), 2),
              (QStringList{QStringLiteral("EA123456785CN"), QStringLiteral("EA123456799CN")}));
    // 9999999999 + 1 does not fit the form's ten digits.
    EXPECT_TRUE(run(QStringLiteral("圆通"), QStringLiteral("9999999999"), 2).isEmpty());
    const auto refused =
        TrackingNumberRules::run(QStringLiteral("顺丰"), QStringLiteral("123456789012"), 2);
    ASSERT_TRUE(std::holds_alternative<Notice>(refused));
    EXPECT_EQ(std::get<Notice>(refused).text,
              QStringLiteral("顺丰的运单不是连号的，请逐个扫描或输入运单号。"));
}

TEST_F(TrackingTest, ScannedNumbersGoToTheOrdersInListOrderAndAreUndoneWhole) {
    const QList<qint64> ids =
        storeWith({QStringLiteral("圆通"), QStringLiteral("顺丰"), QStringLiteral("申通")});
    TrackingQueue queue = TrackingQueue::ofList(m_state);
    ASSERT_EQ(queue.size(), 3);
    EXPECT_EQ(queue.current()->id, ids[0]);
    EXPECT_TRUE(queue.offer(QStringLiteral("yt4021937465")).taken);

    // Not a 顺丰 number: questioned, then taken when the seller insists.
    const TrackingQueue::Offer doubted = queue.offer(QStringLiteral("12345"));
    EXPECT_FALSE(doubted.taken);
    EXPECT_TRUE(doubted.doubt.contains(QStringLiteral("不像顺丰的运单号")));
    EXPECT_EQ(queue.current()->id, ids[1]);
    // A double scan of the number just given is questioned too.
    EXPECT_TRUE(queue.offer(QStringLiteral("YT4021937465"))
                    .doubt.contains(QStringLiteral("刚才已经填给了另一个订单")));
    EXPECT_TRUE(queue.offer(QStringLiteral("12345"), true).taken);
    EXPECT_TRUE(queue.takeBack());
    EXPECT_TRUE(queue.offer(QStringLiteral("123456789012")).taken);
    EXPECT_TRUE(numberOf(ids[0]).isEmpty()) << "nothing is stored before the save";

    std::variant<TrackingBatch, Notice> saved = queue.save();
    ASSERT_TRUE(std::holds_alternative<TrackingBatch>(saved));
    EXPECT_EQ(numberOf(ids[0]), QStringLiteral("YT4021937465"));
    EXPECT_EQ(numberOf(ids[1]), QStringLiteral("123456789012"));
    EXPECT_EQ(queue.size(), 1);
    EXPECT_EQ(queue.current()->id, ids[2]);

    // Stored on another order: questioned in the next session as well.
    TrackingQueue again = TrackingQueue::ofList(m_state);
    EXPECT_TRUE(again.offer(QStringLiteral("123456789012"))
                    .doubt.contains(QStringLiteral("已经是订单淘宝:101")));

    // An order changed by hand since keeps its new number; the others get theirs back.
    Order edited = order(ids[1]);
    edited.wuliuCode = QStringLiteral("999999999999");
    ASSERT_TRUE(OrderStore(*m_state.database).update({edited}));
    const Notice undone = std::get<TrackingBatch>(saved).undo(*m_state.database);
    EXPECT_EQ(undone.text,
              QStringLiteral("已撤销1个运单号。\r\n1个订单的运单号后来又改过，没有撤销。"));
    EXPECT_TRUE(numberOf(ids[0]).isEmpty());
    EXPECT_EQ(numberOf(ids[1]), QStringLiteral("999999999999"));
}

TEST_F(TrackingTest, ARunFillsTheWaitingCouriersOrdersOnly) {
    const QList<qint64> ids = storeWith({QStringLiteral("圆通"), QStringLiteral("顺丰"),
                                         QStringLiteral("圆通"), QStringLiteral("圆通")});
    m_state.selection.toggle(ids[3], true);
    m_state.selection.toggle(ids[1], true);
    m_state.selection.toggle(ids[0], true);
    // The ticked orders in ticking order, as they were printed.
    TrackingQueue queue = TrackingQueue::ofList(m_state);
    ASSERT_EQ(queue.size(), 3);
    EXPECT_EQ(queue.current()->id, ids[3]);
    EXPECT_FALSE(queue.fillRun(QStringLiteral("4021937465")));
    EXPECT_EQ(queue.givenTo(ids[3]), QStringLiteral("4021937465"));
    EXPECT_EQ(queue.givenTo(ids[0]), QStringLiteral("4021937466"));
    EXPECT_EQ(queue.current()->id, ids[1]);
    EXPECT_TRUE(queue.fillRun(QStringLiteral("123456789012")).has_value()) << "顺丰 is scanned";
    queue.skip();
    EXPECT_EQ(queue.current(), nullptr);
    ASSERT_TRUE(std::holds_alternative<TrackingBatch>(queue.save()));
    EXPECT_EQ(numberOf(ids[0]), QStringLiteral("4021937466"));
    EXPECT_TRUE(numberOf(ids[2]).isEmpty()) << "not ticked";
}
