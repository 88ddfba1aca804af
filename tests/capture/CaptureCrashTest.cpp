#include "CaptureFixture.h"
#include "CliRun.h"

#include "capture/CapturedNumbers.h"
#include "capture/PageKey.h"

using namespace mldd;

namespace {

const QString kBatchAddress = QStringLiteral("https://trade.taobao.com/trade/batch_send.htm");
constexpr int kCopies = 200; // 8,000 orders: the capture runs long enough to be cut

class CaptureCrashTest : public test::CaptureFixture {
protected:
    // The sample batch page repeated, each copy with its own order numbers.
    QString bigBatchPage() {
        const QString sample = samplePage(QStringLiteral("taobao-batch.txt"));
        QString page;
        for (int copy = 0; copy < kCopies; ++copy)
            page += QString(sample).replace(QStringLiteral("订单编号："),
                                            QStringLiteral("订单编号：%1-").arg(copy));
        return page;
    }
};

} // namespace

// A capture killed at any moment leaves all of its orders or none, and the
// re-capture list agreeing with the orders once the next capture has settled it.
TEST_F(CaptureCrashTest, AKilledCaptureStoresAllOrNothing) {
    const QString key = *pageKeyOf(kBatchAddress);
    installDecodeFile(key, servedDecodeFile(key));
    const QString pagePath = m_dir.filePath(QStringLiteral("big.txt"));
    QFile pageFile(pagePath);
    ASSERT_TRUE(pageFile.open(QIODevice::WriteOnly));
    pageFile.write(bigBatchPage().toUtf8());
    pageFile.close();
    const QString backup = m_dir.filePath(QStringLiteral("clean.db"));
    m_state.database.reset();
    ASSERT_TRUE(QFile::copy(m_state.folder.databasePath(), backup));

    int cut = 0;
    for (int delayMs : {150, 300, 450, 600, 800}) {
        QFile::remove(m_state.folder.databasePath());
        QFile::copy(backup, m_state.folder.databasePath());
        QFile::remove(m_state.folder.file(QStringLiteral("淘宝;墨岚小店.dat")));

        const bool killed = test::runCliKilledAfter(
            {QStringLiteral("--data"), m_state.folder.dataPath(), QStringLiteral("capture"),
             QStringLiteral("--url"), kBatchAddress, QStringLiteral("--page"), pagePath},
            delayMs);
        cut += killed ? 1 : 0;

        QString message;
        auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        ASSERT_TRUE(database) << message.toStdString();
        OrderStore store(*database);
        CapturedNumbers::recover(m_state.folder, store);
        const size_t stored = store.allById().size();
        EXPECT_TRUE(stored == 0 || stored == size_t(kCopies * 40))
            << "after " << delayMs << " ms: " << stored;
        const QString list =
            QString::fromUtf8(fileBytes(m_state.folder.file(QStringLiteral("淘宝;墨岚小店.dat"))));
        EXPECT_EQ(size_t(list.count(u'|')), stored) << "after " << delayMs << " ms";
    }
    EXPECT_GT(cut, 0) << "no capture was cut; the page is too small to test this";
}
