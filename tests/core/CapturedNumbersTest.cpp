#include "TempDataFolder.h"

#include "core/CapturedNumbers.h"
#include "core/OrderDatabase.h"

#include <QDir>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace mldd;

namespace {

std::unique_ptr<OrderDatabase> openStore(const test::TempDataFolder& data) {
    QString message;
    auto database = OrderDatabase::open(data.folder().databasePath(), &message);
    EXPECT_TRUE(database) << message.toStdString();
    return database;
}

void execRaw(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

const QString kShopA = QStringLiteral("淘宝:a");
const QString kShopB = QStringLiteral("其他:b");

} // namespace

TEST(CapturedNumbers, MatchWholeNumbersPerShopAndClearOneShopOrAll) {
    test::TempDataFolder data;
    auto database = openStore(data);
    CapturedNumbers captured(*database);
    ASSERT_EQ(captured.add(kShopA, {QStringLiteral("淘宝:112"), QStringLiteral("淘宝:7")}), 2);
    ASSERT_EQ(captured.add(kShopB, {QStringLiteral("淘宝:112")}), 1);
    EXPECT_EQ(captured.add(kShopB, {QStringLiteral("淘宝:112")}), 0); // held already
    const QStringList asked{QStringLiteral("淘宝:12"), QStringLiteral("淘宝:112"), QString()};
    EXPECT_EQ(captured.capturedOf(kShopA, asked), QSet<QString>{QStringLiteral("淘宝:112")});
    EXPECT_TRUE(captured.capturedOf(QStringLiteral("淘宝:c"), asked).isEmpty());

    const QList<CapturedNumbers::ShopList> shops = captured.shops();
    ASSERT_EQ(shops.size(), 2);
    EXPECT_EQ(shops.at(0).shop, kShopB);
    EXPECT_EQ(shops.at(1).shop, kShopA);
    EXPECT_EQ(shops.at(1).count, 2);

    EXPECT_EQ(captured.clear(kShopA), 2);
    EXPECT_TRUE(captured.capturedOf(kShopA, asked).isEmpty());
    EXPECT_EQ(captured.capturedOf(kShopB, asked).size(), 1); // another shop keeps its list
    EXPECT_EQ(captured.clear(QString()), 1);
    EXPECT_TRUE(captured.shops().isEmpty());
}

// A folder of the text-file days: its lists move into the store at the first
// open and are gone from the folder; a capture that died with a staged list
// counts as finished only when its last order is stored.
TEST(CapturedNumbers, AnOldFoldersListsMoveIntoTheStoreOnce) {
    constexpr int kNumbers = 1'000'000;
    test::TempDataFolder data;
    const QString store = data.folder().databasePath();
    openStore(data).reset();
    execRaw(store, "drop table captured_numbers; insert into order_data (order_sign) "
                   "values ('淘宝:9'); PRAGMA user_version = 0");

    QByteArray big;
    big.reserve(kNumbers * 17);
    for (int i = 0; i < kNumbers; ++i)
        big += "淘宝:" + QByteArray::number(3218877301LL + i) + '|';
    data.writeBytes(data.path(QStringLiteral("淘宝;a.dat")), big);
    data.writeBytes(data.path(QStringLiteral("其他;b.dat")), "淘宝:1|淘宝:2|\r\n");
    // b's capture finished (淘宝:9 is stored): its staged list is the one that counts.
    data.writeBytes(data.path(QStringLiteral("其他;b.dat.new")), "淘宝:1|淘宝:2|淘宝:9|\r\n");
    // c's first capture died before its order was stored.
    data.writeBytes(data.path(QStringLiteral("淘宝;c.dat.new")), "淘宝:5|\r\n");

    auto database = openStore(data);
    ASSERT_TRUE(database);
    CapturedNumbers captured(*database);
    const QList<CapturedNumbers::ShopList> shops = captured.shops();
    ASSERT_EQ(shops.size(), 2);
    EXPECT_EQ(shops.at(0).shop, kShopB);
    EXPECT_EQ(shops.at(0).count, 3);
    EXPECT_EQ(shops.at(1).shop, kShopA);
    EXPECT_EQ(shops.at(1).count, kNumbers);
    EXPECT_EQ(captured.capturedOf(kShopA, {QStringLiteral("淘宝:%1").arg(3218877301LL + kNumbers - 1)})
                  .size(),
              1);
    EXPECT_TRUE(QDir(data.folder().dataPath())
                    .entryList({QStringLiteral("*.dat*")}, QDir::Files)
                    .isEmpty());
    database.reset();

    // Once: a list file that appears later is not the store's business.
    data.writeBytes(data.path(QStringLiteral("淘宝;d.dat")), "淘宝:4|");
    database = openStore(data);
    EXPECT_EQ(CapturedNumbers(*database).shops().size(), 2);
}
