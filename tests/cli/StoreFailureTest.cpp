#include "CliRun.h"

#include "core/NumSign.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace mldd;

namespace {

using test::CliRun;
using test::runCli;

// The store's real troubles, each met by a real mldd-cli: a read-only folder and
// a full disk (made in a mount namespace of their own), another program holding
// the store, and a damaged file.
class StoreFailureTest : public ::testing::Test {
protected:
    QString data() const { return m_dir.filePath(QStringLiteral("data")); }
    QString store() const { return data() + QStringLiteral("/mlddsj.db"); }

    CliRun cli(const QStringList& args) {
        return runCli(QStringList{QStringLiteral("--data"), data()} + args);
    }

    void storeOrders(int count) {
        QString message;
        auto database = OrderDatabase::open(store(), &message);
        ASSERT_TRUE(database) << message.toStdString();
        QList<Order> batch(count);
        for (int i = 0; i < count; ++i) {
            batch[i].orderSign = QStringLiteral("淘宝:%1").arg(5000 + i);
            batch[i].numSign = numSignOf(batch[i].orderSign);
            batch[i].buyName = QStringLiteral("收货人%1").arg(i);
            batch[i].buyAddress = QStringLiteral("花溪大道北段%1号").arg(i).repeated(4);
        }
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(batch, rule));
    }

    QByteArray storeDigest() const {
        QFile file(store());
        file.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    // Runs a shell script in a mount namespace of its own, so that it may mount.
    static CliRun inOwnMounts(const QString& script) {
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CLI"), QStringLiteral(MLDD_CLI));
        shell.setProcessEnvironment(environment);
        shell.start(QStringLiteral("unshare"),
                    {QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"), script});
        shell.waitForFinished(120000);
        CliRun run{
            shell.exitCode(), shell.readAllStandardOutput(), shell.readAllStandardError(), {}, {}};
        run.out = QString::fromUtf8(run.outBytes);
        run.err = QString::fromUtf8(run.errBytes);
        return run;
    }

    static bool canMount() {
        return inOwnMounts(QStringLiteral("mount -t tmpfs tmpfs /mnt")).exitCode == 0;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(StoreFailureTest, AReadOnlyDataFolderIsCalledSo) {
    if (!canMount())
        GTEST_SKIP() << "mount namespaces are not allowed here";
    storeOrders(3);
    const QByteArray before = storeDigest();
    const CliRun run =
        inOwnMounts(QStringLiteral("mount --bind '%1' '%1' && mount -o remount,bind,ro '%1' && "
                                   "exec \"$CLI\" --data '%1' orders")
                        .arg(data()));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("是只读的"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(store())) << run.err.toStdString();
    EXPECT_EQ(storeDigest(), before);
}

TEST_F(StoreFailureTest, AFullDiskIsCalledSoAndTheStoreStaysAsItWas) {
    if (!canMount())
        GTEST_SKIP() << "mount namespaces are not allowed here";
    const CliRun run = inOwnMounts(
        QStringLiteral(
            "mount -t tmpfs -o size=3m tmpfs '%1' && D='%1/data' && "
            "\"$CLI\" --data \"$D\" profile save --id 小店 --address 贵阳 >/dev/null 2>&1 && "
            "before=$(sha256sum < \"$D/mlddsj.db\") && "
            "dd if=/dev/zero of='%1/filler' bs=16k >/dev/null 2>&1; "
            "\"$CLI\" --data \"$D\" profile save --id 大店 --address 上海 --name 张三; rc=$?; "
            "[ \"$before\" = \"$(sha256sum < \"$D/mlddsj.db\")\" ] && echo unchanged; exit $rc")
            .arg(m_dir.path()));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("磁盘空间已满"))) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QStringLiteral("unchanged"));
}

// While another program holds the store, a save says it did not happen.
TEST_F(StoreFailureTest, ASaveWhileAnotherProgramHoldsTheStoreReportsIt) {
    QDir().mkpath(data() + QStringLiteral("/Delivery"));
    QFile(data() + QStringLiteral("/Delivery/中通.mlg")).open(QIODevice::WriteOnly);
    ASSERT_EQ(cli({QStringLiteral("orders")}).exitCode, 0);
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(store()).constData(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    const CliRun run = cli({QStringLiteral("plan"), QStringLiteral("中通")});
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.out.contains(QStringLiteral("已保存")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("正被另一个程序占用"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(store())) << run.err.toStdString();
    EXPECT_EQ(cli({QStringLiteral("plan"), QStringLiteral("中通")}).exitCode, 0);
}

// Damage in the middle of the file is found at start-up, before anything is
// written into it, and the day's backup puts the orders back.
TEST_F(StoreFailureTest, ADamagedStoreIsFoundAndRestoredFromTheBackup) {
    storeOrders(2042);
    const CliRun checked = cli({QStringLiteral("db"), QStringLiteral("check")});
    ASSERT_EQ(checked.exitCode, 0) << checked.err.toStdString();
    EXPECT_TRUE(checked.out.contains(QStringLiteral("已备份"))); // the day's backup is made
    QFile file(store());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 middle = file.size() / 2 / 4096 * 4096;
    file.seek(middle);
    file.write(QByteArray(3 * 4096, '\x5a'));
    file.close();
    const QByteArray damaged = storeDigest();

    const CliRun refused = cli({QStringLiteral("orders")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("已经损坏"))) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("db restore"))) << refused.err.toStdString();
    EXPECT_EQ(storeDigest(), damaged);

    const CliRun restored = cli({QStringLiteral("db"), QStringLiteral("restore")});
    ASSERT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    const CliRun listed = cli({QStringLiteral("orders")});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains(QStringLiteral("总计2042条")));
    // The damaged file is kept, not thrown away.
    EXPECT_EQ(QDir(data() + QStringLiteral("/backup"))
                  .entryList({QStringLiteral("before-restore-*.db")})
                  .size(),
              1);
}

// A store too big to be read whole at start: damage that the list meets is
// reported by SQLite's own error, never shown as a shorter list.
TEST_F(StoreFailureTest, DamageABigStoresListMeetsIsReported) {
    storeOrders(20000);
    ASSERT_GT(QFileInfo(store()).size(), OrderDatabase::kWholeCheckBytes);
    ASSERT_EQ(cli({QStringLiteral("orders")}).exitCode, 0);
    qint64 rootPage = 0;
    {
        auto database = OrderDatabase::open(store(), nullptr);
        QSqlQuery root(database->connection());
        root.exec(QStringLiteral("select rootpage from sqlite_master where name = 'listed_kd'"));
        ASSERT_TRUE(root.next());
        rootPage = root.value(0).toLongLong();
        QSqlQuery(database->connection()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QFile file(store());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek((rootPage - 1) * 4096);
    file.write(QByteArray(4096, '\x5a'));
    file.close();

    const CliRun refused = cli({QStringLiteral("orders")});
    EXPECT_EQ(refused.exitCode, 1) << refused.out.left(200).toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("已经损坏"))) << refused.err.toStdString();
}
