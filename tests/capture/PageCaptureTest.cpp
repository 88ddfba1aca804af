#include "CaptureFixture.h"
#include "MarketPages.h"

#include "capture/DecodeDownload.h"
#include "capture/PageCapture.h"
#include "capture/PageKey.h"
#include "capture/PageText.h"
#include "capture/SellerBindings.h"

#include "core/CapturedNumbers.h"
#include "core/TextFile.h"

#include <QElapsedTimer>

using namespace mldd;

namespace {

// Nothing listens there: the service is down.
const QString kDeadService = QStringLiteral("http://127.0.0.1:9");

class PageCaptureTest : public test::CaptureFixture {
protected:
    void SetUp() override {
        CaptureFixture::SetUp();
        m_state.serviceBase = kDeadService;
        installDecodeFile(*pageKeyOf(test::kOrderDetailPage),
                          servedDecodeFile(*pageKeyOf(test::kOrderDetailPage)));
    }

    PageCaptureResult capture(const QString& page,
                              const QString& address = test::kOrderDetailPage) {
        return capturePage(m_state, address, page, ServiceClient(2000), false);
    }

    QString detailPage() { return samplePage(QStringLiteral("taobao-detail.txt")); }
};

} // namespace

TEST(PageKey, IsBuiltFromTheAddressAlone) {
    EXPECT_EQ(pageKeyOf(QStringLiteral("https://trade.taobao.com/trade/detail.htm")),
              QStringLiteral("https))trade-taobao-com)trade)detail-htm"));
    EXPECT_EQ(pageKeyOf(QStringLiteral("http://a.cn/x.asp?id=5")),
              QStringLiteral("http))a-cn)x-asp!id"));
    EXPECT_FALSE(pageKeyOf(QStringLiteral("FIRST")));
    // Nothing in an address can lead the decode file out of its folder.
    EXPECT_EQ(pageKeyOf(QStringLiteral("..\\..\\etc")), QStringLiteral("--_--_etc"));
}

TEST_F(PageCaptureTest, StoresTheOrderSplitAndWithItsCourier) {
    const PageCaptureResult result = capture(detailPage());
    ASSERT_EQ(result.outcome, PageCaptureResult::Outcome::Stored);
    EXPECT_EQ(result.count.statusLine(),
              QStringLiteral("提示:本次提取订单1个，重复订单0个，有效订单1个。  "));
    const QList<Order> orders = storedOrders();
    ASSERT_EQ(orders.size(), 1);
    const Order& order = orders.first();
    EXPECT_EQ(order.orderSign, QStringLiteral("淘宝:3218877301"));
    EXPECT_EQ(order.myId, QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(order.buyName, QStringLiteral("李小红"));
    EXPECT_EQ(order.buyZipcode, QStringLiteral("550025"));
    EXPECT_EQ(order.buyAddressSheng, QStringLiteral("贵州省"));
    EXPECT_EQ(order.buyAddressShi, QStringLiteral("贵阳市"));
    EXPECT_EQ(order.buyAddressXian, QStringLiteral("花溪区"));
    EXPECT_EQ(order.buyEnd, QStringLiteral("贵阳市"));
    EXPECT_EQ(order.delivery, QStringLiteral("圆通"));
    EXPECT_EQ(order.numSign, 3218877301.0);
    EXPECT_EQ(m_state.filter.caption,
              QStringLiteral("筛选:ID为[淘宝:墨岚小店]的快递单未打印的订单"));
    EXPECT_EQ(m_state.cursor.recordCount(), 1);
}

TEST_F(PageCaptureTest, APageCapturedTwiceIsStoredOnce) {
    capture(detailPage());
    const PageCaptureResult again =
        capture(detailPage(), test::kOrderDetailPage + QStringLiteral("?id=77"));
    EXPECT_EQ(again.outcome, PageCaptureResult::Outcome::Stored);
    EXPECT_EQ(again.count.alreadyCaptured, 1);
    ASSERT_FALSE(again.notices.isEmpty());
    EXPECT_TRUE(
        again.notices.last().text.startsWith(QStringLiteral("提取过的订单有[1]个不能重复提取")));
    // The status line counts the same order as repeated.
    EXPECT_EQ(again.statusLine(),
              QStringLiteral("提示:本次提取订单1个，重复订单1个，有效订单0个。  "));
    EXPECT_EQ(storedOrders().size(), 1);

    // Deleted from the list, the number is still remembered for this seller.
    OrderStore(*m_state.database).remove(storedOrders().first().id);
    const PageCaptureResult third = capture(detailPage());
    EXPECT_EQ(third.count.duplicates, 1);
    EXPECT_TRUE(storedOrders().isEmpty());
}

TEST_F(PageCaptureTest, AnUnknownSellerMustBeBoundFirst) {
    const QString page = detailPage().replace(QStringLiteral("卖家：墨岚小店"), QString());
    const QString key = *pageKeyOf(test::kOrderDetailPage);
    installDecodeFile(key,
                      QString::fromUtf8(servedDecodeFile(key))
                          .replace(QStringLiteral("淘宝:墨岚小店"), QStringLiteral("拍拍:小号"))
                          .toUtf8());

    const PageCaptureResult refused = capture(page);
    EXPECT_EQ(refused.outcome, PageCaptureResult::Outcome::NeedsBinding);
    EXPECT_EQ(refused.count.unboundSeller, QStringLiteral("拍拍:小号"));
    EXPECT_TRUE(storedOrders().isEmpty());

    SellerBindings bindings = SellerBindings::load(m_state.folder, m_state.log);
    ASSERT_TRUE(bindings.bind(QStringLiteral("拍拍:小号"), QStringLiteral("淘宝:墨岚小店"),
                              m_state.folder, m_state.log));
    EXPECT_EQ(
        SellerBindings::load(m_state.folder, m_state.log).resolve(QStringLiteral("拍拍:小号")),
        QStringLiteral("淘宝:墨岚小店"));
    EXPECT_EQ(capture(page).outcome, PageCaptureResult::Outcome::Stored);
    EXPECT_EQ(storedOrders().first().myId, QStringLiteral("淘宝:墨岚小店"));
}

TEST_F(PageCaptureTest, AnOverLongNameIsLeftOutWithANote) {
    const QString page = detailPage().replace(QStringLiteral("李小红"), QString(51, QChar(u'李')));
    const PageCaptureResult result = capture(page);
    ASSERT_EQ(result.outcome, PageCaptureResult::Outcome::Stored);
    EXPECT_EQ(result.count.errorNote, QStringLiteral("\r\n[buy_name]超长51"));
    EXPECT_TRUE(storedOrders().first().buyName.isEmpty());
    EXPECT_EQ(storedOrders().first().buyPhone1, QStringLiteral("13812345678"));
}

TEST_F(PageCaptureTest, ANewPageKindWithTheServiceDownStopsQuickly) {
    QElapsedTimer clock;
    clock.start();
    const PageCaptureResult result =
        capture(detailPage(), QStringLiteral("https://other.example.com/order.html"));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(result.outcome, PageCaptureResult::Outcome::ServiceFailed);
    EXPECT_TRUE(
        result.notices.first().text.startsWith(QStringLiteral("没有取到本类页面的解码文件")));
    EXPECT_TRUE(storedOrders().isEmpty());
}

TEST_F(PageCaptureTest, ShortAddressesAreIgnoredAndFirstShowsTheWelcome) {
    EXPECT_EQ(capture(detailPage(), QStringLiteral("abc")).outcome,
              PageCaptureResult::Outcome::Ignored);
    const PageCaptureResult first = capture(QString(), QStringLiteral("FIRST"));
    EXPECT_EQ(first.outcome, PageCaptureResult::Outcome::FirstUse);
    EXPECT_EQ(first.notices.first().text,
              QStringLiteral("初次使用，看看帮助您马上就会用了。\r\n磨刀不误砍柴功哦   (^v^)"));
}

// A deleted order can be captured again once its shop's list is cleared.
TEST_F(PageCaptureTest, ClearingAShopsListLetsADeletedOrderBeCapturedAgain) {
    capture(detailPage());
    QSqlQuery(m_state.database->connection()).exec(QStringLiteral("delete from order_data"));
    EXPECT_EQ(capture(detailPage()).count.statusLine(),
              QStringLiteral("提示:本次提取订单1个，重复订单1个，有效订单0个。  "));
    CapturedNumbers captured(*m_state.database);
    EXPECT_EQ(captured.clear(QString::fromUtf8(kSender)), 1);
    EXPECT_EQ(capture(detailPage()).count.statusLine(),
              QStringLiteral("提示:本次提取订单1个，重复订单0个，有效订单1个。  "));
    EXPECT_EQ(storedOrders().size(), 1);
}

TEST(DecodeDownload, RepliesAreToldByTheirFirstFourCharacters) {
    const DecodeDownload found =
        DecodeDownload::fromReply(QStringLiteral("[YE]3.2|SET^1^=^x\r\nSETALL^"));
    EXPECT_EQ(found.kind, DecodeDownload::Kind::Found);
    EXPECT_EQ(found.version, QStringLiteral("3.2"));
    EXPECT_EQ(found.decodeText, QStringLiteral("SET^1^=^x\r\nSETALL^"));
    EXPECT_EQ(DecodeDownload::fromReply(QStringLiteral("[NN]")).kind, DecodeDownload::Kind::None);
    // Garbage, an error page, or a found reply without its decode text: as if there were none.
    for (const char* garbage : {"", "<html>500</html>", "[YE]3.2 without a bar", "[ye]1|x"})
        EXPECT_EQ(DecodeDownload::fromReply(QString::fromUtf8(garbage)).kind,
                  DecodeDownload::Kind::Failed)
            << garbage;
}

TEST_F(PageCaptureTest, ADecodeFileThatFindsNothingStoresNothing) {
    installDecodeFile(*pageKeyOf(test::kOrderDetailPage), "MIDHN^O^=^没有的标记{|}");
    const PageCaptureResult result = capture(detailPage());
    EXPECT_EQ(result.outcome, PageCaptureResult::Outcome::Stored);
    EXPECT_EQ(result.count.statusLine(),
              QStringLiteral("提示:本次提取订单0个，重复订单0个，有效订单0个。  "));
    EXPECT_TRUE(result.notices.isEmpty());
    EXPECT_TRUE(storedOrders().isEmpty());
}

TEST(PageText, LineEndsBecomeCrLfAndRecordMarkersLoseTheirBraces) {
    EXPECT_EQ(pageTextForRules(QStringLiteral("a\nb\rc\r\nd\n\re")),
              QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne"));
    const QString forged = pageTextForRules(QStringLiteral("x{|D|}y{|B|}z{|}"));
    EXPECT_FALSE(forged.contains(QStringLiteral("{|D|}")));
    EXPECT_FALSE(forged.contains(QStringLiteral("{|B|}")));
    EXPECT_EQ(forged, QStringLiteral("x｛|D|｝y｛|B|｝z｛|｝"));
}

// A buyer writes the message and the address: neither can make an order or move a field.
TEST_F(PageCaptureTest, PageTextCannotForgeOrShiftRecords) {
    const QString page =
        detailPage()
            .replace(QStringLiteral("请发圆通，谢谢"),
                     QStringLiteral("{|D|}淘宝:墨岚小店{|B|}淘宝:6666666666{|B|}x{|B|}骗子{|B|}1"))
            .replace(QStringLiteral("花溪大道北段218号"), QStringLiteral("花溪大道{|B|}北段218号"));
    const PageCaptureResult result = capture(page);
    ASSERT_EQ(result.outcome, PageCaptureResult::Outcome::Stored);
    const QList<Order> orders = storedOrders();
    ASSERT_EQ(orders.size(), 1);
    EXPECT_EQ(orders.first().orderSign, QStringLiteral("淘宝:3218877301"));
    EXPECT_EQ(orders.first().buyZipcode, QStringLiteral("550025"));
    EXPECT_TRUE(orders.first().buyAddress.contains(QStringLiteral("花溪大道｛|B|｝北段")));
    EXPECT_TRUE(orders.first().buyLy.startsWith(QStringLiteral("｛|D|｝淘宝:墨岚小店")));
}

TEST_F(PageCaptureTest, PagesWithLfOrCrLineEndsCaptureLikeCrLf) {
    capture(detailPage());
    const Order expected = storedOrders().first();
    for (const QString& lineEnd : {QStringLiteral("\n"), QStringLiteral("\r")}) {
        QSqlQuery(m_state.database->connection()).exec(QStringLiteral("delete from order_data"));
        CapturedNumbers(*m_state.database).clear(QString());
        capture(detailPage().replace(QStringLiteral("\r\n"), lineEnd));
        const QList<Order> orders = storedOrders();
        ASSERT_EQ(orders.size(), 1);
        EXPECT_EQ(orders.first().buyName, expected.buyName);
        EXPECT_EQ(orders.first().buyAddress, expected.buyAddress);
        EXPECT_EQ(orders.first().buyLy, expected.buyLy);
    }
}

TEST_F(PageCaptureTest, AnEmptyPageOrABlankRecordStoresNoOrder) {
    for (const QString& page : {QString(), QStringLiteral(" \r\n\r\n ")}) {
        const PageCaptureResult result = capture(page);
        EXPECT_EQ(result.outcome, PageCaptureResult::Outcome::EmptyPage);
        ASSERT_FALSE(result.notices.isEmpty());
    }
    // A decode file that finds nothing but the shop emits a record of empty fields.
    installDecodeFile(*pageKeyOf(test::kOrderDetailPage), "SET^0^=^淘宝:墨岚小店{|}SETALL^");
    EXPECT_EQ(capture(detailPage()).count.newOrders, 0);
    EXPECT_TRUE(storedOrders().isEmpty());
}

TEST_F(PageCaptureTest, AMissingPlaceTableIsToldAndTheAddressKeptWhole) {
    QFile::remove(m_state.folder.file(QStringLiteral("code/Area.txt")));
    loadPlaceTableInto(m_state);
    const PageCaptureResult result = capture(detailPage());
    ASSERT_EQ(result.outcome, PageCaptureResult::Outcome::Stored);
    ASSERT_FALSE(result.notices.isEmpty());
    EXPECT_TRUE(result.notices.first().text.contains(QStringLiteral("Area.txt")));
    EXPECT_TRUE(storedOrders().first().buyAddressSheng.isEmpty());
}

TEST_F(PageCaptureTest, AnOversizedDecodeFileIsRefusedNotRead) {
    QFile file(m_state.folder.file(QStringLiteral("code/") + *pageKeyOf(test::kOrderDetailPage) +
                                   QStringLiteral(".dat")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(TextFile::kMaxBytes + 1)); // sparse: costs no disk
    file.close();
    const PageCaptureResult result = capture(detailPage());
    EXPECT_EQ(result.outcome, PageCaptureResult::Outcome::DecodeFileUnreadable);
    ASSERT_FALSE(result.notices.isEmpty());
    EXPECT_TRUE(result.notices.first().text.contains(QStringLiteral("64 MB")));
}
