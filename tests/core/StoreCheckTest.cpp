#include "TempDataFolder.h"

#include "core/CapturedNumbers.h"
#include "core/NumSign.h"
#include "core/OrderCursor.h"
#include "core/OrderDatabase.h"
#include "core/OrderSearchIndex.h"
#include "core/OrderStore.h"
#include "core/StoreBackup.h"
#include "core/StoreCheck.h"
#include "core/StoreSeal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <thread>

using namespace mldd;

namespace {

const QDateTime kMonday(QDate(2026, 12, 7), QTime(9, 30));

class StoreCheckTest : public ::testing::Test {
protected:
    QString store() const { return m_data.folder().databasePath(); }

    std::unique_ptr<OrderDatabase> open(QString* message = nullptr) {
        QString refused;
        auto database = OrderDatabase::open(store(), &refused);
        if (message)
            *message = refused;
        return database;
    }

    void storeOrders(int count, int addressRepeats) {
        auto database = open();
        ASSERT_TRUE(database);
        QList<Order> batch(count);
        for (int i = 0; i < count; ++i) {
            batch[i].orderSign = QStringLiteral("淘宝:%1").arg(5000 + i);
            batch[i].numSign = numSignOf(batch[i].orderSign);
            batch[i].buyId = QStringLiteral("buyer%1").arg(i);
            batch[i].buyName = QStringLiteral("收货人%1").arg(i);
            batch[i].buyAddress =
                QStringLiteral("花溪大道北段%1号").arg(i).repeated(addressRepeats);
        }
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(batch, rule));
    }

    int orderCount() {
        auto database = open();
        QSqlQuery count(database->connection());
        count.exec(QStringLiteral("select count(*) from order_data"));
        count.next();
        return count.value(0).toInt();
    }

    void execRaw(const QByteArray& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(store()).constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    // The index is maintained as one on buy_id while three tracking numbers change,
    // then reads as the tracking index again: its entries for those rows are stale.
    void makeTrackingIndexStale(const QByteArray& trackingNumber = "改过") {
        execRaw("PRAGMA writable_schema = ON; update sqlite_master set sql = "
                "'CREATE INDEX order_by_tracking ON order_data (buy_id)' where name = "
                "'order_by_tracking'");
        execRaw("update order_data set wuliu_code = '" + trackingNumber + "' where id <= 3");
        execRaw("PRAGMA writable_schema = ON; update sqlite_master set sql = "
                "'CREATE INDEX order_by_tracking ON order_data (wuliu_code)' where name = "
                "'order_by_tracking'");
    }

    test::TempDataFolder m_data;
};

} // namespace

// Index entries that no longer match their rows ("row N missing from index"),
// the table itself sound: the daily check rebuilds the index and says so.
TEST_F(StoreCheckTest, DamageToAnIndexOnlyIsRepairedAndSaidSo) {
    storeOrders(200, 1);
    makeTrackingIndexStale();

    const StoreCheck::Result result = StoreCheck::run(m_data.folder(), kMonday);
    ASSERT_EQ(result.outcome, StoreCheck::Outcome::Repaired)
        << result.problems.join(u'\n').toStdString();
    EXPECT_TRUE(
        result.problems.first().contains(QStringLiteral("missing from index order_by_tracking")));
    const std::optional<Notice> notice = result.notice(m_data.folder());
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->text.contains(QStringLiteral("已经重建索引")))
        << notice->text.toStdString();
    EXPECT_TRUE(result.backup); // the repaired store is the day's backup

    QString message;
    auto database = open(&message);
    ASSERT_TRUE(database) << message.toStdString();
    QString error;
    EXPECT_TRUE(StoreCheck::problemsOf(database->handle(), &error).isEmpty());
    QSqlQuery changed(database->connection());
    changed.exec(QStringLiteral("select count(*) from order_data where wuliu_code = '改过'"));
    changed.next();
    EXPECT_EQ(changed.value(0).toInt(), 3);
}

// The start's quick check reads no index against its table: a batch looks at the indexes
// of the orders table before it writes, and rebuilds a stale one first. The window has
// them read behind its first page; what that found holds only while no other program
// wrote to the file since.
TEST_F(StoreCheckTest, ABatchRebuildsAStaleIndexBeforeItWrites) {
    storeOrders(200, 1);
    enum class Way { BatchReadsThem, StartReadsThem, AnotherProgramWroteAfterTheStart };
    int round = 0;
    for (const Way way :
         {Way::BatchReadsThem, Way::StartReadsThem, Way::AnotherProgramWroteAfterTheStart}) {
        SCOPED_TRACE(int(way));
        const QByteArray trackingNumber = "改过" + QByteArray::number(++round);
        if (way != Way::AnotherProgramWroteAfterTheStart)
            makeTrackingIndexStale(trackingNumber);
        QString message;
        auto database = open(&message);
        ASSERT_TRUE(database) << message.toStdString();
        if (way != Way::BatchReadsThem)
            database->beginIndexCheck();
        if (way == Way::AnotherProgramWroteAfterTheStart)
            makeTrackingIndexStale(trackingNumber);

        QList<Order> batch(1);
        batch[0].orderSign = QStringLiteral("淘宝:900%1").arg(round);
        batch[0].numSign = numSignOf(batch[0].orderSign);
        batch[0].wuliuCode = QString::fromUtf8(trackingNumber);
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(batch, rule));

        QString error;
        EXPECT_EQ(StoreCheck::problemsOf(database->handle(), &error), QStringList());
        QSqlQuery found(database->connection());
        found.prepare(QStringLiteral("select count(*) from order_data indexed by "
                                     "order_by_tracking where wuliu_code = ?"));
        found.addBindValue(QString::fromUtf8(trackingNumber));
        found.exec();
        found.next();
        EXPECT_EQ(found.value(0).toInt(), 4);
    }
}

// A store this program left with its indexes found sound, closed or still held by a window
// while commands write to it, needs no look at them before the next batch; a write by another
// program, even at once, or a copy of the file, and the next batch looks again.
TEST_F(StoreCheckTest, OnlyAStoreLeftAsThisProgramLeftItSkipsTheLookAtItsIndexes) {
    storeOrders(200, 1);
    EXPECT_TRUE(StoreSeal::intact(store()));
    execRaw("select count(*) from order_data"); // another program only reading
    EXPECT_TRUE(StoreSeal::intact(store()));

    makeTrackingIndexStale();
    EXPECT_FALSE(StoreSeal::intact(store()));
    storeOrders(1, 1);
    {
        auto database = open();
        QString error;
        EXPECT_EQ(StoreCheck::problemsOf(database->handle(), &error), QStringList());
    }
    EXPECT_TRUE(StoreSeal::intact(store()));

    const QString copy = m_data.folder().file(QStringLiteral("copy.db"));
    ASSERT_TRUE(QFile::copy(store(), copy));
    ASSERT_TRUE(QFile::copy(store() + QStringLiteral("-seal"), copy + QStringLiteral("-seal")));
    EXPECT_FALSE(StoreSeal::intact(copy));

    const auto addOrder = [](OrderDatabase& database, int number) {
        QList<Order> batch(1);
        batch[0].orderSign = QStringLiteral("淘宝:%1").arg(number);
        OrderWriteRule rule;
        return OrderStore(database).insert(batch, rule);
    };
    // The window holds the store (its log is there) while commands add orders.
    auto window = open();
    ASSERT_TRUE(addOrder(*window, 9001));
    EXPECT_TRUE(StoreSeal::intact(store()));
    {
        auto command = open();
        ASSERT_TRUE(addOrder(*command, 9002));
    }
    EXPECT_TRUE(StoreSeal::intact(store()));
    ASSERT_TRUE(addOrder(*window, 9003));
    EXPECT_TRUE(StoreSeal::intact(store()));

    // Another program writes while the window holds the store: its next batch looks again.
    makeTrackingIndexStale("改过2");
    EXPECT_FALSE(StoreSeal::intact(store()));
    ASSERT_TRUE(addOrder(*window, 9004));
    QString error;
    EXPECT_EQ(StoreCheck::problemsOf(window->handle(), &error), QStringList());
    EXPECT_TRUE(StoreSeal::intact(store()));
    window.reset();

    // A window that only showed orders leaves what its look behind the first page found.
    {
        auto database = open();
        database->beginIndexCheck();
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    EXPECT_TRUE(StoreSeal::intact(store()));

    // The note alone spares the look: one made over another program's write (as this
    // program never makes it) is believed, and the stale index is written through.
    makeTrackingIndexStale("改过3");
    StoreSeal::seal(store());
    auto trusting = open();
    ASSERT_TRUE(addOrder(*trusting, 9005));
    EXPECT_NE(StoreCheck::problemsOf(trusting->handle(), &error), QStringList());
}

// A store too big to read whole at every start, damaged in the middle: the
// daily check finds it, and no start uses it again until a backup is restored.
TEST_F(StoreCheckTest, DamageToTheTableIsRememberedUntilARestore) {
    storeOrders(6000, 12);
    ASSERT_GT(QFileInfo(store()).size(), OrderDatabase::kWholeCheckBytes);
    ASSERT_TRUE(StoreCheck::run(m_data.folder(), kMonday).backup);
    {
        QFile file(store());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(file.size() / 2 / 4096 * 4096);
        file.write(QByteArray(3 * 4096, '\x5a'));
    }
    const QDateTime tuesday = kMonday.addDays(1);
    const StoreCheck::Result result = StoreCheck::run(m_data.folder(), tuesday);
    ASSERT_EQ(result.outcome, StoreCheck::Outcome::Damaged);
    EXPECT_FALSE(result.backup); // a damaged store is never a backup
    EXPECT_TRUE(result.notice(m_data.folder())->text.contains(QStringLiteral("已经损坏")));

    QString message;
    EXPECT_FALSE(open(&message));
    EXPECT_TRUE(message.contains(QStringLiteral("已经损坏"))) << message.toStdString();

    const StoreBackup backups(m_data.folder());
    ASSERT_TRUE(backups.restore(*backups.latest(), tuesday, &message)) << message.toStdString();
    EXPECT_EQ(orderCount(), 6000);
    EXPECT_EQ(StoreCheck::run(m_data.folder(), tuesday).outcome, StoreCheck::Outcome::Sound);
}

// After a restore the captured numbers are the backup's, so orders captured
// since can be captured again, and the seller is told what the backup lacks.
TEST_F(StoreCheckTest, ARestoreBringsTheCapturedListBackAndSaysWhatTheBackupLacks) {
    const QString shop = QStringLiteral("淘宝:墨岚小店");
    {
        auto database = open();
        ASSERT_EQ(CapturedNumbers(*database).add(shop, {QStringLiteral("淘宝:1")}), 1);
    }
    ASSERT_TRUE(StoreCheck::run(m_data.folder(), kMonday).backup);
    {
        auto database = open();
        ASSERT_EQ(CapturedNumbers(*database).add(shop, {QStringLiteral("淘宝:2")}), 1);
    }
    const StoreBackup backups(m_data.folder());
    QString message;
    ASSERT_TRUE(backups.restore(*backups.latest(), kMonday.addSecs(3600), &message));
    EXPECT_TRUE(message.contains(QStringLiteral("2026-12-07 09:30"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("以后提取的订单要重新提取")));
    EXPECT_TRUE(message.contains(QStringLiteral("以后打印的订单")));

    auto database = open();
    EXPECT_EQ(CapturedNumbers(*database).capturedOf(
                  shop, {QStringLiteral("淘宝:1"), QStringLiteral("淘宝:2")}),
              QSet<QString>{QStringLiteral("淘宝:1")});
}

// A day's backup is packed, restores to the same orders, and a packed backup cut short
// is refused without touching the store.
TEST_F(StoreCheckTest, APackedBackupRestoresTheSameOrdersAndACutOneIsRefused) {
    storeOrders(3000, 2);
    const auto ordersNow = [&] {
        auto database = open();
        QStringList rows;
        QSqlQuery query(database->connection());
        query.exec(QStringLiteral("select id, order_sign, buy_id, buy_name, buy_address from "
                                  "order_data order by id"));
        while (query.next())
            rows.append(QStringList{query.value(0).toString(), query.value(1).toString(),
                                    query.value(2).toString(), query.value(3).toString(),
                                    query.value(4).toString()}
                            .join(u'|'));
        return rows;
    };
    const QStringList before = ordersNow();
    const std::optional<QString> backup = StoreCheck::run(m_data.folder(), kMonday).backup;
    ASSERT_TRUE(backup);
    EXPECT_TRUE(backup->endsWith(QStringLiteral(".db.zst"))) << backup->toStdString();
    EXPECT_LT(QFileInfo(*backup).size() * 3, QFileInfo(store()).size());
    EXPECT_TRUE(StoreBackup(m_data.folder())
                    .entryCaption()
                    .startsWith(QStringLiteral("备份订单数据库（上次 2026-12-07 09:30，")))
        << StoreBackup(m_data.folder()).entryCaption().toStdString();

    execRaw("delete from order_data where id > 100");
    const StoreBackup backups(m_data.folder());
    const QString cut = backups.folderPath() + QStringLiteral("/mlddsj-20261206-093000.db.zst");
    {
        QFile whole(*backup);
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        m_data.writeBytes(cut, whole.read(whole.size() / 2));
    }
    QString message;
    EXPECT_FALSE(backups.restore(cut, kMonday.addSecs(60), &message));
    EXPECT_TRUE(message.contains(QStringLiteral("订单数据库没有改动"))) << message.toStdString();
    EXPECT_EQ(orderCount(), 100);

    ASSERT_TRUE(backups.restore(*backup, kMonday.addSecs(120), &message)) << message.toStdString();
    EXPECT_EQ(ordersNow(), before);
}

// The newest backups are kept, at most seven and together at most twice the store; the
// newest even when it alone is bigger. Earlier versions' plain backups count the same.
TEST_F(StoreCheckTest, BackupsKeptTakeAtMostTwiceTheStore) {
    const StoreBackup backups(m_data.folder());
    QDir().mkpath(backups.folderPath());
    const auto make = [&](int day, const char* ending, int bytes) {
        m_data.writeBytes(
            backups.folderPath() +
                QStringLiteral("/mlddsj-202612%1-090000").arg(day, 2, 10, QChar(u'0')) +
                QLatin1String(ending),
            QByteArray(bytes, 'x'));
    };
    make(1, ".db", 900);
    for (int day = 2; day <= 9; ++day)
        make(day, ".db.zst", 300);
    const QStringList all = backups.list();
    ASSERT_EQ(all.size(), 9);
    EXPECT_TRUE(all.first().endsWith(QStringLiteral("20261209-090000.db.zst")));
    EXPECT_TRUE(all.last().endsWith(QStringLiteral("20261201-090000.db")));
    EXPECT_EQ(StoreBackup::kept(all, 1000), all.mid(0, 6));   // 6 × 300 ≤ 2000
    EXPECT_EQ(StoreBackup::kept(all, 100000), all.mid(0, 7)); // seven at most
    EXPECT_EQ(StoreBackup::kept(all, 10), all.mid(0, 1));     // the newest always
}

// Each batch of the day adds a part to the search index; the daily check merges them
// into one, and a search then finds what it found before.
TEST_F(StoreCheckTest, TheDailyCheckMergesTheSearchIndexsPartsIntoOne) {
    for (int batch = 0; batch < 9; ++batch)
        storeOrders(50, 1);
    const auto parts = [&] {
        auto database = open();
        QSqlQuery query(database->connection());
        query.exec(QStringLiteral("select count(distinct segid) from order_text_grams_idx"));
        query.next();
        return query.value(0).toInt();
    };
    const auto found = [&](const char* key) {
        auto database = open();
        OrderCursor cursor;
        cursor.requery(OrderStore(*database),
                       OrderSearchIndex::searched(*database, {QStringLiteral("buy_address")},
                                                  QString::fromUtf8(key)));
        return cursor.ids();
    };
    EXPECT_GT(parts(), 1);
    const std::vector<qint64> before = found("大道北段4");
    ASSERT_EQ(before.size(), 9 * 11);

    // The window holds the store meanwhile, as it left it after its own batch: the merge
    // touches no index of the orders, so the window's next batch need not look at them.
    auto window = open();
    ASSERT_TRUE(window->inTransaction([] { return true; }));
    ASSERT_TRUE(StoreSeal::intact(store()));
    const StoreCheck::Result checked = StoreCheck::run(m_data.folder(), kMonday);
    EXPECT_EQ(checked.outcome, StoreCheck::Outcome::Sound);
    EXPECT_TRUE(checked.backup);
    EXPECT_EQ(parts(), 1);
    EXPECT_EQ(found("大道北段4"), before);
    EXPECT_TRUE(StoreSeal::intact(store()));
    window.reset();
    // A check with nothing left to merge leaves the index as it is.
    EXPECT_EQ(StoreCheck::run(m_data.folder(), kMonday.addDays(1)).outcome,
              StoreCheck::Outcome::Sound);
    EXPECT_EQ(parts(), 1);
}
