#include "CaptureFixture.h"
#include "MarketPages.h"
#include "TestPostgres.h"

#include "capture/PageKey.h"
#include "core/StoreAddress.h"

#include <QProcess>
#include <QSet>

using namespace mldd;

namespace {

/** Two stations, each with its own data folder, capturing into one PostgreSQL store. */
class SharedCaptureTest : public test::CaptureFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.isRunning());
        ASSERT_TRUE(m_server.createDatabase(QStringLiteral("shared")));
        QDir().mkpath(m_state.folder.file(QStringLiteral("set")));
        QFile setting(m_state.folder.settingsFile(QStringLiteral("database.dat")));
        ASSERT_TRUE(setting.open(QIODevice::WriteOnly));
        setting.write(m_server.address(QStringLiteral("shared")).toUtf8() + "\r\n");
        setting.close();
        CaptureFixture::SetUp();
        ASSERT_TRUE(m_state.database->isServer());
        const QString key = *pageKeyOf(test::kBatchSendPage);
        installDecodeFile(key, servedDecodeFile(key));
        QFile stamp(m_state.folder.file(QStringLiteral("code/date.txt")));
        stamp.open(QIODevice::WriteOnly);
        stamp.write(QDate::currentDate().toString(Qt::ISODate).toUtf8() + "\r\n");
        stamp.close();
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-r"), m_state.folder.dataPath(), otherStation()}),
            0);
    }

    QString otherStation() const { return m_dir.filePath(QStringLiteral("station2")); }

    QString writePage(int copies) {
        const QString sample = samplePage(QStringLiteral("taobao-batch.txt"));
        QString page;
        for (int copy = 0; copy < copies; ++copy)
            page += QString(sample).replace(QStringLiteral("订单编号："),
                                            QStringLiteral("订单编号：S%1-").arg(copy));
        const QString path = m_dir.filePath(QStringLiteral("page.txt"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(page.toUtf8());
        return path;
    }

    static void startCapture(QProcess& cli, const QString& dataPath, const QString& page) {
        cli.start(QStringLiteral(MLDD_CLI),
                  {QStringLiteral("--data"), dataPath, QStringLiteral("capture"),
                   QStringLiteral("--url"), test::kBatchSendPage, QStringLiteral("--page"), page});
        ASSERT_TRUE(cli.waitForStarted());
    }

    test::TestPostgres m_server;
};

} // namespace

// Each station keeps its own captured-number list, so only the shared store can
// tell the second station that the first one has stored the page already.
TEST_F(SharedCaptureTest, OnePageCapturedAtTwoStationsAtOnceIsStoredOnce) {
    constexpr int kOrders = 50 * 40;
    const QString page = writePage(50);
    QProcess first;
    QProcess second;
    startCapture(first, m_state.folder.dataPath(), page);
    startCapture(second, otherStation(), page);
    for (QProcess* station : {&first, &second}) {
        ASSERT_TRUE(station->waitForFinished(120000));
        EXPECT_EQ(station->exitCode(), 0) << station->readAllStandardError().toStdString();
    }
    m_state.database =
        OrderDatabase::open(StoreAddress::chosen(m_state.folder, QString(), m_state.log), nullptr);
    ASSERT_TRUE(m_state.database);
    QStringList stored;
    for (const Order& order : storedOrders())
        stored.append(order.orderSign);
    EXPECT_EQ(stored.size(), kOrders);
    EXPECT_EQ(QSet<QString>(stored.begin(), stored.end()).size(), kOrders);
}
