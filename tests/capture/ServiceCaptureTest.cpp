#include "CaptureFixture.h"
#include "MarketPages.h"
#include "ServiceProcess.h"

#include "capture/PageCapture.h"
#include "capture/PageKey.h"
#include "capture/SellerBindings.h"

#include <QTcpServer>
#include <QTcpSocket>

using namespace mldd;

namespace {

using Outcome = PageCaptureResult::Outcome;

// Captures against a real mldd-service on loopback, serving the repository's content.
class ServiceCaptureTest : public test::CaptureFixture {
protected:
    void SetUp() override {
        CaptureFixture::SetUp();
        ASSERT_NE(m_service.port(), 0) << "mldd-service did not start";
        m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(m_service.port());
    }

    PageCaptureResult capture(const QString& address, const QString& page) {
        return capturePage(m_state, address, page, ServiceClient(5000), false);
    }

    bool decodeFileOnDisk(const QString& address) {
        return QFile::exists(m_state.folder.file(QStringLiteral("code/") + *pageKeyOf(address) +
                                                 QStringLiteral(".dat")));
    }

    test::ServiceProcess m_service{
        {QStringLiteral("--content"), QStringLiteral(MLDD_SOURCE_DIR "/service/content")}};
};

} // namespace

TEST_F(ServiceCaptureTest, TheFirstCaptureDownloadsTheDecodeFileTheNextUsesIt) {
    EXPECT_FALSE(decodeFileOnDisk(test::kBatchSendPage));
    const PageCaptureResult first = capture(test::kBatchSendPage + QStringLiteral("?page=1"),
                                            samplePage(QStringLiteral("taobao-batch.txt")));
    ASSERT_EQ(first.outcome, Outcome::Stored);
    EXPECT_EQ(first.count.newOrders, 40);
    EXPECT_TRUE(decodeFileOnDisk(test::kBatchSendPage));
    EXPECT_EQ(first.count.statusLine(),
              QStringLiteral("提示:本次提取订单40个，重复订单0个，有效订单40个。  "));

    // With the service gone the file on disk still serves the same kind of page.
    m_state.serviceBase = QStringLiteral("http://127.0.0.1:9");
    const PageCaptureResult second =
        capture(test::kBatchSendPage, samplePage(QStringLiteral("taobao-batch.txt")));
    EXPECT_EQ(second.outcome, Outcome::Stored);
    EXPECT_EQ(second.count.alreadyCaptured, 40);
    EXPECT_EQ(storedOrders().size(), 40);

    // Addresses in several habits are split by the place table.
    int split = 0;
    for (const Order& order : storedOrders())
        split += (!order.buyAddressSheng.isEmpty() && !order.buyAddressShi.isEmpty()) ? 1 : 0;
    EXPECT_EQ(split, 40);
}

TEST_F(ServiceCaptureTest, ASecondMarketplaceWithItsSellerBound) {
    const QString address = QStringLiteral("http://sell.paipai.com/order/detail.html");
    const QString page = samplePage(QStringLiteral("paipai-detail.txt"));
    EXPECT_EQ(capture(address, page).outcome, Outcome::NeedsBinding);
    SellerBindings bindings = SellerBindings::load(m_state.folder, m_state.log);
    bindings.bind(QStringLiteral("拍拍:墨岚小店"), QString::fromUtf8(kSender), m_state.folder,
                  m_state.log);
    ASSERT_EQ(capture(address, page).outcome, Outcome::Stored);
    const Order order = storedOrders().first();
    EXPECT_EQ(order.orderSign, QStringLiteral("拍拍:7700123456"));
    EXPECT_EQ(order.buyPhone2, QStringLiteral("0991-2345678"));
    EXPECT_EQ(order.buyGoods, QStringLiteral("羊毛围巾 灰色 1 129.00\r\n羊绒手套 1 59.00"));
    EXPECT_EQ(order.buyAddressShi, QStringLiteral("乌鲁木齐市"));
    EXPECT_EQ(order.buyEnd, QStringLiteral("乌鲁木齐市"));
}

TEST_F(ServiceCaptureTest, BlockedAndUnknownPageKinds) {
    const PageCaptureResult blocked =
        capture(QStringLiteral("http://trade.taobao.com/trade/itemlist/list_sold_items.htm"),
                samplePage(QStringLiteral("taobao-detail.txt")));
    EXPECT_EQ(blocked.outcome, Outcome::Blocked);
    ASSERT_EQ(blocked.notices.size(), 2);
    EXPECT_EQ(blocked.notices[0].icon, Notice::Icon::Critical);
    EXPECT_TRUE(blocked.notices[1].text.contains(QStringLiteral("【批量发货页面】")));

    const PageCaptureResult unknown = capture(QStringLiteral("http://shop.example.com/orders.php"),
                                              QStringLiteral("没有地址的页面"));
    EXPECT_EQ(unknown.outcome, Outcome::NoDecodeFile);
    ASSERT_TRUE(unknown.question);
    EXPECT_EQ(unknown.question->buttons, Notice::Buttons::YesNo);
    EXPECT_TRUE(unknown.progress.startsWith(QStringLiteral("提示：暂无本类解码文件")));
    EXPECT_FALSE(capture(QStringLiteral("http://shop.example.com/orders.php"),
                         QStringLiteral("收货地址：浙江省杭州市"))
                     .question);
    EXPECT_TRUE(storedOrders().isEmpty());
}

namespace {

// A maker's service gone wrong: it answers every request with `head` and then
// sends data without end.
class EndlessService {
public:
    explicit EndlessService(QByteArray head) : m_head(std::move(head)) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
                socket->write(m_head);
                const auto more = [socket] {
                    if (socket->bytesToWrite() < 4 * kChunk)
                        socket->write(QByteArray(kChunk, 'x'));
                };
                QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
                more();
            });
        });
    }

    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/x").arg(m_server.serverPort()));
    }

private:
    static constexpr int kChunk = 1 << 20;
    QTcpServer m_server;
    QByteArray m_head;
};

} // namespace

// A reply of gigabytes is cut off at the limit, said or unsaid in its head,
// instead of filling the memory.
TEST(ServiceClientLimit, AnEndlessReplyIsGivenUpAtTheLimit) {
    for (const QByteArray& head :
         {QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 3000000000\r\n\r\n"),
          QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")}) {
        EndlessService service(head);
        const ServiceReply reply = ServiceClient(30000).get(service.url());
        EXPECT_FALSE(reply.ok) << head.toStdString();
        EXPECT_TRUE(reply.error.contains(QStringLiteral("64 MB"))) << reply.error.toStdString();
    }
}
