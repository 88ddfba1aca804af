#include "TempDataFolder.h"

#include "core/OrderDatabase.h"
#include "core/OrderSearchIndex.h"
#include "core/OrderStore.h"
#include "core/PrintSettings.h"
#include "core/SchemaUpgrade.h"
#include "core/StoreBackup.h"
#include "core/StoreCheck.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

QStringList columnsOf(QSqlDatabase db, const QString& table) {
    QStringList names;
    const QSqlRecord record = db.record(table);
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    return names;
}

QString schemaText(QSqlDatabase db) {
    QSqlQuery query(db);
    query.exec(QStringLiteral("select group_concat(sql, ';') from sqlite_master"));
    query.next();
    return query.value(0).toString();
}

std::unique_ptr<OrderDatabase> openOrFail(const QString& path) {
    QString message;
    auto database = OrderDatabase::open(path, &message);
    EXPECT_TRUE(database) << message.toStdString();
    return database;
}

// The tables as the first released program shipped them: none of the upgrade's columns.
void makeOldDatabase(const QString& path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
    db.setDatabaseName(path);
    db.open();
    QSqlQuery query(db);
    query.exec(QStringLiteral(
        "create table order_data (id INTEGER PRIMARY KEY AUTOINCREMENT, dj_type INTEGER DEFAULT 0, "
        "hb_dj_id varchar(255), cf_sign INTEGER DEFAULT 0, kd_sign INTEGER DEFAULT 0, "
        "fh_sign INTEGER DEFAULT 0, kd_print INTEGER DEFAULT 0, fh_print INTEGER DEFAULT 0, "
        "time_get TEXT DEFAULT (datetime('now','localtime')), my_id varchar(50), "
        "order_sign varchar(50), buy_id varchar(50), buy_name varchar(50), buy_phone1 varchar(50), "
        "buy_phone2 varchar(50), buy_zipcode varchar(50), buy_address varchar(255), "
        "buy_address_sheng varchar(50), buy_address_shi varchar(50), buy_address_xian varchar(50), "
        "buy_end varchar(255), buy_goods TEXT, buy_njpm varchar(255), buy_ly TEXT, "
        "delivery varchar(255))"));
    query.exec(QStringLiteral("create table my_data (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                              "my_idh varchar(50), my_fjr varchar(50))"));
    query.exec(QStringLiteral("create table PrintItem_data (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                              "ORDER_DATA_buy_id INTEGER, SYS_Day INTEGER)"));
    query.exec(QStringLiteral("insert into order_data (order_sign, buy_name) values "
                              "('淘宝:123', '张三')"));
    query.exec(
        QStringLiteral("insert into PrintItem_data (ORDER_DATA_buy_id, SYS_Day) values (0, 2)"));
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("old"));
}

} // namespace

TEST(OrderDatabase, ANewDatabaseIsCurrentAndItsUpgradeChangesNothing) {
    test::TempDataFolder data;
    const QString path = data.folder().databasePath(); // its folder does not exist yet
    QString schemaBefore;
    {
        auto database = openOrFail(path);
        ASSERT_TRUE(database);
        EXPECT_TRUE(database->connection().tables().contains(QStringLiteral("Delivery_list")));
        schemaBefore = schemaText(database->connection());
    }
    auto database = openOrFail(path);
    ASSERT_TRUE(database);
    QSqlDatabase db = database->connection();
    EXPECT_EQ(upgradeSchema(db), 0);
    EXPECT_EQ(schemaText(db), schemaBefore);
}

TEST(OrderDatabase, AnOldDatabaseGainsExactlyWhatItLacks) {
    test::TempDataFolder data;
    const QString path = data.folder().databasePath();
    QDir().mkpath(data.folder().dataPath());
    makeOldDatabase(path);

    auto database = openOrFail(path);
    ASSERT_TRUE(database);
    QSqlDatabase db = database->connection();
    const QStringList orderColumns = columnsOf(db, QStringLiteral("order_data"));
    for (const char* added : {"NumSign", "kd_code", "Delivery_code", "Seller_mem", "wuliu_code"})
        EXPECT_TRUE(orderColumns.contains(QLatin1String(added))) << added;
    EXPECT_EQ(orderColumns.size(), 25 + 5);
    EXPECT_EQ(columnsOf(db, QStringLiteral("my_data")),
              (QStringList{"id", "my_idh", "my_fjr", "KeySession", "FaHuoSet"}));
    EXPECT_EQ(columnsOf(db, QStringLiteral("PrintItem_data")),
              (QStringList{"id", "ORDER_DATA_buy_id", "SYS_Day", "SelectKD", "SoftSet", "Menu_set",
                           "SYS_Date", "Goods_Simplify", "ORDER_DATA_buy_ly",
                           "ORDER_DATA_seller_mem", "Print_FaHuo"}));
    EXPECT_TRUE(
        columnsOf(db, QStringLiteral("Delivery_list")).contains(QStringLiteral("Delivery_Name")));

    QSqlQuery stored(db);
    stored.exec(QStringLiteral("select order_sign, buy_name from order_data"));
    ASSERT_TRUE(stored.next());
    EXPECT_EQ(stored.value(1).toString(), QStringLiteral("张三"));
    // The search's index starts empty when the store opens; the search finds the
    // store's orders past its mark until the catch-up (at start) takes them in.
    const SqlCondition sign = OrderSearchIndex::contains({QStringLiteral("order_sign")},
                                                         QStringLiteral("宝:12"), true);
    EXPECT_EQ(
        OrderStore(*database).ids(QStringLiteral("select indexed from order_text_grams_mark")),
        std::vector<qint64>{0});
    EXPECT_EQ(OrderStore(*database).listed(sign).size(), 1);
    ASSERT_TRUE(OrderSearchIndex::catchUp(*database));
    EXPECT_EQ(OrderStore(*database).ids(QStringLiteral("select rowid from order_text_grams "
                                                       "where order_text_grams match ?"),
                                        {sign.values.first()}),
              std::vector<qint64>{1});
    EXPECT_EQ(OrderStore(*database).listed(sign).size(), 1);

    // The old settings row keeps its values; the new columns read as their defaults.
    const PrintSettings settings = PrintSettings::load(db, ErrorLog(data.folder().errorLogPath()));
    EXPECT_EQ(settings.itemFlags[0], 0);
    EXPECT_EQ(settings.sysDay, 2);
    EXPECT_EQ(settings.softSet, PrintSettings::kDefaultSoftSet);
    EXPECT_EQ(settings.menuSet, PrintSettings::kDefaultMenuSet);
}

// Every insert keeps up every index: one whose columns lead another index
// serves no look-up the other does not serve, and only slows the inserts down.
TEST(OrderDatabase, NoIndexOfTheOrdersRepeatsTheLeadingColumnsOfAnother) {
    test::TempDataFolder data;
    auto database = openOrFail(data.folder().databasePath());
    ASSERT_TRUE(database);
    QSqlQuery query(database->connection());
    ASSERT_TRUE(query.exec(QStringLiteral(
        "select list.name, info.name from pragma_index_list('order_data') as list, "
        "pragma_index_info(list.name) as info where list.partial = 0 and list.origin = 'c' "
        "order by list.name, info.seqno")));
    QMap<QString, QStringList> columns;
    while (query.next())
        columns[query.value(0).toString()].append(query.value(1).toString());
    ASSERT_GE(columns.size(), 3);
    for (auto index = columns.constBegin(); index != columns.constEnd(); ++index) {
        for (auto other = columns.constBegin(); other != columns.constEnd(); ++other) {
            if (other != index) {
                EXPECT_NE(other->mid(0, index->size()), *index)
                    << index.key().toStdString() << " leads " << other.key().toStdString();
            }
        }
    }
}

TEST(OrderDatabase, AFileThatIsNoDatabaseIsToldAndNeverTouched) {
    test::TempDataFolder data;
    QDir().mkpath(data.folder().dataPath());
    const QString path = data.folder().databasePath();
    const QByteArray content("this is the seller's spreadsheet, not a database\r\n");
    data.writeBytes(path, content);

    QString message;
    EXPECT_FALSE(OrderDatabase::open(path, &message));
    EXPECT_TRUE(message.contains(QStringLiteral("不是数据库"))) << message.toStdString();
    EXPECT_EQ(data.readBytes(path), content);
    EXPECT_EQ(QDir(data.folder().dataPath()).entryList(QDir::Files), QStringList{"mlddsj.db"});
}

TEST(PrintSettings, AnEmptyTableGetsExactlyOneRowOfDefaults) {
    test::TempDataFolder data;
    auto database = openOrFail(data.folder().databasePath());
    QSqlDatabase db = database->connection();
    const ErrorLog log(data.folder().errorLogPath());
    PrintSettings::load(db, log);
    const PrintSettings settings = PrintSettings::load(db, log);

    QSqlQuery rows(db);
    rows.exec(QStringLiteral("select count(*), SoftSet, Menu_set, ORDER_DATA_buy_end, SelectKD "
                             "from PrintItem_data"));
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(0).toInt(), 1);
    EXPECT_EQ(rows.value(1).toString(), QStringLiteral("0|0|0|0|0|0|0"));
    EXPECT_EQ(rows.value(2).toString(), QStringLiteral("111111111111"));
    EXPECT_EQ(rows.value(3).toInt(), 11);
    EXPECT_EQ(settings.selectKD, rows.value(4).toString());
    EXPECT_EQ(settings.selectKD.count(QStringLiteral("鑫飞鸿")), 2);
    EXPECT_EQ(settings.selectKD.section(u'|', 0, 0).split(u':').size(), 28);
    EXPECT_TRUE(settings.selectKD.endsWith(u'|'));
    EXPECT_TRUE(std::all_of(settings.itemFlags.begin(), settings.itemFlags.end(),
                            [](int flag) { return flag == 1; }));
}

TEST(PrintSettings, AnEmptyPlanIsReplacedAndSavedAtOnce) {
    test::TempDataFolder data;
    auto database = openOrFail(data.folder().databasePath());
    QSqlDatabase db = database->connection();
    const ErrorLog log(data.folder().errorLogPath());
    PrintSettings edited = PrintSettings::load(db, log);
    edited.selectKD.clear();
    edited.softSet = QStringLiteral("0|2|0|0|0|0|0");
    edited.fontSizeStep = 3;
    ASSERT_TRUE(edited.save(db, log));

    QSqlQuery(db).exec(QStringLiteral("update PrintItem_data set Menu_set = ''"));
    const PrintSettings loaded = PrintSettings::load(db, log);
    EXPECT_EQ(loaded.softSet, QStringLiteral("0|2|0|0|0|0|0"));
    EXPECT_EQ(loaded.menuSet, PrintSettings::kDefaultMenuSet);
    EXPECT_EQ(PrintSettings::sizeStepName(loaded.fontSizeStep), QStringLiteral("大一号"));
    QSqlQuery plan(db);
    plan.exec(QStringLiteral("select SelectKD from PrintItem_data"));
    plan.next();
    EXPECT_EQ(plan.value(0).toString(), PrintSettings::kDefaultCourierPlan);
}

TEST(PrintSettings, SizeStepsMapUnknownNumbersToNormal) {
    EXPECT_EQ(PrintSettings::sizeStepName(0), QStringLiteral("正常大小"));
    EXPECT_EQ(PrintSettings::sizeStepName(2), QStringLiteral("小二号"));
    EXPECT_EQ(PrintSettings::sizeStepName(4), QStringLiteral("大二号"));
    EXPECT_EQ(PrintSettings::sizeStepName(-1), QStringLiteral("正常大小"));
    EXPECT_EQ(PrintSettings::sizeStepName(5), QStringLiteral("正常大小"));
}

// One backup a day by the daily check, the seven newest kept, and any of them can replace the store.
TEST(StoreBackup, KeepsSevenDailyBackupsAndRestoresOne) {
    test::TempDataFolder data;
    auto database = openOrFail(data.folder().databasePath());
    StoreBackup backups(data.folder());
    const QDateTime first(QDate(2026, 12, 1), QTime(9, 0));
    QString error;
    for (int day = 0; day < 9; ++day) {
        QSqlQuery(database->connection())
            .exec(QStringLiteral("insert into my_data (my_idh) values ('day %1')").arg(day));
        const StoreCheck::Result checked = StoreCheck::run(data.folder(), first.addDays(day));
        ASSERT_TRUE(checked.backup) << checked.error.toStdString();
        // A second check on the same day makes none.
        const StoreCheck::Result again =
            StoreCheck::run(data.folder(), first.addDays(day).addSecs(3600));
        ASSERT_EQ(again.outcome, StoreCheck::Outcome::Sound);
        ASSERT_FALSE(again.backup);
    }
    const QStringList kept = backups.list();
    ASSERT_EQ(kept.size(), StoreBackup::kKept);
    EXPECT_EQ(StoreBackup::madeAt(kept.first()), first.addDays(8));
    EXPECT_EQ(StoreBackup::madeAt(kept.last()), first.addDays(2));
    database.reset();

    ASSERT_TRUE(backups.restore(kept.last(), first.addDays(9), &error)) << error.toStdString();
    database = openOrFail(data.folder().databasePath());
    QSqlQuery count(database->connection());
    count.exec(QStringLiteral("select count(*) from my_data"));
    count.next();
    EXPECT_EQ(count.value(0).toInt(), 3); // as it was on the third day
}
