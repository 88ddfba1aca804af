#include "CaptureFixture.h"
#include "MarketPages.h"
#include "SearchAgreement.h"

#include "capture/PageKey.h"

#include <QProcess>
#include <QSet>
#include <QThread>

using namespace mldd;

namespace {

constexpr int kOrdersPerCopy = 40;

// Captures by real mldd-cli processes: one cut by kill -9, two running at once.
class CaptureProcessTest : public test::CaptureFixture {
protected:
    void SetUp() override {
        CaptureFixture::SetUp();
        const QString key = *pageKeyOf(test::kBatchSendPage);
        installDecodeFile(key, servedDecodeFile(key));
        // The batch file has no goods program; today's refetch of all decode files
        // that this sets off has already happened, so the file stays for every capture.
        QFile stamp(m_state.folder.file(QStringLiteral("code/date.txt")));
        stamp.open(QIODevice::WriteOnly);
        stamp.write(QDate::currentDate().toString(Qt::ISODate).toUtf8() + "\r\n");
        m_state.database.reset(); // the processes own the store from here on
        m_cleanStore = m_dir.filePath(QStringLiteral("clean.db"));
        ASSERT_TRUE(QFile::copy(m_state.folder.databasePath(), m_cleanStore));
    }

    // The sample batch page repeated, each copy with its own order numbers.
    QString writeBatchPage(const QString& name, int copies, const QString& mark) {
        const QString sample = samplePage(QStringLiteral("taobao-batch.txt"));
        QString page;
        for (int copy = 0; copy < copies; ++copy)
            page += QString(sample).replace(QStringLiteral("订单编号："),
                                            QStringLiteral("订单编号：%1%2-").arg(mark).arg(copy));
        const QString path = m_dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(page.toUtf8());
        return path;
    }

    void startAfresh() {
        QFile::remove(m_state.folder.databasePath());
        QFile::copy(m_cleanStore, m_state.folder.databasePath());
    }

    void startCapture(QProcess& cli, const QString& pagePath) {
        cli.start(QStringLiteral(MLDD_CLI),
                  {QStringLiteral("--data"), m_state.folder.dataPath(), QStringLiteral("capture"),
                   QStringLiteral("--url"), test::kBatchSendPage, QStringLiteral("--page"),
                   pagePath});
        ASSERT_TRUE(cli.waitForStarted());
    }

    static void finish(QProcess& cli) {
        ASSERT_TRUE(cli.waitForFinished(120000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    }

    // Two real captures started together on a fresh store, both run to their end.
    void captureAtOnce(const QString& firstPage, const QString& secondPage) {
        startAfresh();
        QProcess first;
        QProcess second;
        startCapture(first, firstPage);
        startCapture(second, secondPage);
        finish(first);
        finish(second);
    }

    QStringList listedNumbers() {
        QString message;
        const auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        EXPECT_TRUE(database) << message.toStdString();
        QStringList numbers;
        QSqlQuery query(database->connection());
        query.exec(QStringLiteral("select order_sign from captured_numbers where shop = '%1'")
                       .arg(QStringLiteral("淘宝:墨岚小店")));
        while (query.next())
            numbers.append(query.value(0).toString());
        return numbers;
    }

    QStringList storedNumbers() {
        QString message;
        const auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        EXPECT_TRUE(database) << message.toStdString();
        QStringList numbers;
        if (!database)
            return numbers;
        OrderStore store(*database);
        const std::vector<qint64> ids = store.allById();
        for (const Order& order : store.byIds(QList<qint64>(ids.begin(), ids.end())))
            numbers.append(order.orderSign);
        return numbers;
    }

    QString m_cleanStore;
};

} // namespace

// A capture killed at any moment leaves all of its orders or none, and the
// re-capture list agreeing with the orders.
TEST_F(CaptureProcessTest, AKilledCaptureStoresAllOrNothing) {
    constexpr int kCopies = 200; // 8,000 orders: the capture runs long enough to be cut
    const QString big = writeBatchPage(QStringLiteral("big.txt"), kCopies, QStringLiteral("K"));
    const QString next = writeBatchPage(QStringLiteral("next.txt"), 1, QStringLiteral("N"));
    int cut = 0;
    for (int delayMs : {150, 300, 450, 600, 800}) {
        startAfresh();
        QProcess killed;
        startCapture(killed, big);
        QThread::msleep(delayMs);
        cut += killed.state() == QProcess::Running ? 1 : 0;
        killed.kill();
        killed.waitForFinished();

        QProcess after;
        startCapture(after, next);
        finish(after);
        const QStringList stored = storedNumbers();
        const qsizetype fromKilled = stored.size() - kOrdersPerCopy;
        EXPECT_TRUE(fromKilled == 0 || fromKilled == kCopies * kOrdersPerCopy)
            << "after " << delayMs << " ms: " << fromKilled;
        const QStringList listed = listedNumbers();
        EXPECT_EQ(QSet<QString>(listed.begin(), listed.end()),
                  QSet<QString>(stored.begin(), stored.end()))
            << "after " << delayMs << " ms";
        // The search index holds exactly the orders that landed.
        QString message;
        const auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        ASSERT_TRUE(database) << message.toStdString();
        test::expectIndexAgreesWithScan(
            *database, "killed after " + std::to_string(delayMs) + " ms", quint32(delayMs), 4);
    }
    EXPECT_GT(cut, 0) << "no capture was cut; the page is too small to test this";
}

// The same page captured twice at once: the second capture waits for the first
// and finds its orders stored, so no order number is ever stored twice.
TEST_F(CaptureProcessTest, OnePageCapturedTwiceAtOnceIsStoredOnce) {
    constexpr int kCopies = 50; // 2,000 orders
    const QString page = writeBatchPage(QStringLiteral("page.txt"), kCopies, QStringLiteral("S"));
    for (int trial = 0; trial < 3; ++trial) {
        captureAtOnce(page, page);
        const QStringList stored = storedNumbers();
        EXPECT_EQ(stored.size(), kCopies * kOrdersPerCopy) << "trial " << trial;
        EXPECT_EQ(QSet<QString>(stored.begin(), stored.end()).size(), stored.size());
        EXPECT_EQ(listedNumbers().size(), kCopies * kOrdersPerCopy);
    }
}

// Two pages at once: both batches end up in the seller's list, so deleting the
// orders and capturing a page again still finds them captured before.
TEST_F(CaptureProcessTest, TwoPagesAtOnceBothReachTheCapturedList) {
    constexpr int kCopies = 25; // 1,000 orders a page
    const QString pageA = writeBatchPage(QStringLiteral("a.txt"), kCopies, QStringLiteral("A"));
    const QString pageB = writeBatchPage(QStringLiteral("b.txt"), kCopies, QStringLiteral("B"));
    for (int trial = 0; trial < 3; ++trial) {
        captureAtOnce(pageA, pageB);
        const QStringList listed = listedNumbers();
        EXPECT_EQ(QSet<QString>(listed.begin(), listed.end()).size(), 2 * kCopies * kOrdersPerCopy)
            << "trial " << trial;
    }

    QString message;
    {
        const auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        QSqlQuery(database->connection()).exec(QStringLiteral("delete from order_data"));
    }
    QProcess again;
    startCapture(again, pageB);
    ASSERT_TRUE(again.waitForFinished(120000));
    EXPECT_TRUE(QString::fromUtf8(again.readAllStandardOutput())
                    .contains(QStringLiteral("重复订单1000个，有效订单0个")));
    EXPECT_TRUE(storedNumbers().isEmpty());
}
