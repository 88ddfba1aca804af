#include "TempDataFolder.h"

#include "core/CommandText.h"
#include "core/MainState.h"
#include "core/NumSign.h"
#include "core/Startup.h"
#include "core/TextFile.h"

#include <QFile>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

QString storedSoftSet(MainState& state) {
    QSqlQuery query(state.database->connection());
    query.exec(QStringLiteral("select SoftSet from PrintItem_data"));
    query.next();
    return query.value(0).toString();
}

} // namespace

TEST(Startup, AMissingDataFolderIsCreatedAndTheUnprintedOrdersListed) {
    test::TempDataFolder data;
    MainState state(data.folder());
    const StartupResult result = startUp(state, QString());
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(result.command);
    EXPECT_TRUE(QFile::exists(data.folder().databasePath()));
    EXPECT_EQ(state.serviceBase, QStringLiteral("http://127.0.0.1:8717"));
    EXPECT_EQ(state.informationLine(),
              QStringLiteral("筛选:所有的快递单未打印的订单  总计0条 共0页 第1页"));
    EXPECT_EQ(state.options.toText(), QStringLiteral("0|0|0|0|0|0|0"));
    EXPECT_FALSE(QFile::exists(data.folder().errorLogPath()));
}

TEST(Startup, LoadsProfilesCouriersAndShowsOnlyUnprintedOrders) {
    test::TempDataFolder data;
    {
        MainState first(data.folder());
        ASSERT_TRUE(startUp(first, QString()).ok);
        QSqlQuery query(first.database->connection());
        query.exec(
            QStringLiteral("insert into my_data (my_idh, FaHuoSet) values ('淘宝:甲', null), "
                           "('淘宝:乙', '标题[FAHUO]x')"));
        query.exec(
            QStringLiteral("insert into Delivery_list (Delivery_Name) values ('圆通'), ('EMS')"));
        QList<Order> orders(12);
        for (int i = 0; i < orders.size(); ++i) {
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(i);
            orders[i].numSign = numSignOf(orders[i].orderSign);
            orders[i].kdSign = i < 11 ? 0 : 1;
        }
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*first.database).insert(orders, rule));
    }
    MainState state(data.folder());
    StartupHooks hooks;
    int loaders = 0;
    hooks.loadPlaceTable = [&](MainState&) { ++loaders; };
    hooks.loadFavourites = [&](MainState&) { ++loaders; };
    hooks.defaultShippingDesign = [] { return QStringLiteral("默认"); };
    ASSERT_TRUE(startUp(state, QString(), hooks).ok);

    EXPECT_EQ(loaders, 2);
    ASSERT_EQ(state.profiles.size(), 2);
    EXPECT_EQ(state.profiles[0].myIdh, QStringLiteral("淘宝:甲"));
    EXPECT_EQ(state.profiles[0].faHuoSet, QStringLiteral("默认"));
    EXPECT_EQ(state.profiles[1].faHuoSet, QStringLiteral("标题[FAHUO]x"));
    EXPECT_EQ(state.couriers, (QStringList{"圆通", "EMS"}));
    EXPECT_EQ(state.informationLine(),
              QStringLiteral("筛选:所有的快递单未打印的订单  总计11条 共2页 第1页"));
}

TEST(Startup, ADatabaseFileThatIsNoDatabaseStopsWithAMessage) {
    test::TempDataFolder data;
    QDir().mkpath(data.folder().dataPath());
    data.writeBytes(data.folder().databasePath(), "garbage");
    MainState state(data.folder());
    const StartupResult result = startUp(state, QString());
    EXPECT_FALSE(result.ok);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->icon, Notice::Icon::Critical);
    EXPECT_EQ(data.readBytes(data.folder().databasePath()), QByteArray("garbage"));
}

TEST(CommandText, PrintFilesAreRecognisedWhateverTheCaseOfTheirExtension) {
    test::TempDataFolder data;
    MainState state(data.folder());
    ASSERT_TRUE(startUp(state, QString()).ok);

    const auto kind = [&](const QString& text, CommandSource source) {
        return handleCommandText(state, text, source).kind;
    };
    using Kind = CommandAction::Kind;
    EXPECT_EQ(kind(QStringLiteral("/tmp/今天.MLK"), CommandSource::StartUp), Kind::OpenWaybillFile);
    EXPECT_EQ(kind(QStringLiteral("/tmp/a.mlf"), CommandSource::StartUp), Kind::OpenShipListFile);
    EXPECT_EQ(kind(QStringLiteral("/tmp/a.mlf!x"), CommandSource::Request), Kind::OpenShipListFile);
    EXPECT_EQ(kind(QStringLiteral("/tmp/a.mlk?x"), CommandSource::Request), Kind::OpenWaybillFile);
    EXPECT_EQ(kind(QStringLiteral("!anything"), CommandSource::Request), Kind::None);
    EXPECT_EQ(kind(QStringLiteral("/tmp/a.mlkx"), CommandSource::StartUp), Kind::Capture);
}

// The hint that capture inside the program works better is said once, with the guide's page.
TEST(CommandText, CapturesAreCutAndTheHintIsShownOnceWithAGuidePage) {
    test::TempDataFolder data;
    MainState state(data.folder());
    ASSERT_TRUE(startUp(state, QString()).ok);

    const CommandAction action = handleCommandText(
        state, QStringLiteral("http://shop.test/order?id=1!def"), CommandSource::Request);
    EXPECT_EQ(action.kind, CommandAction::Kind::Capture);
    EXPECT_EQ(action.text, QStringLiteral("http://shop.test/order"));
    ASSERT_TRUE(action.hint);
    EXPECT_EQ(action.hint->text,
              QStringLiteral("软件内部提取比右键提取更好，更稳定。看看视频帮助。"));
    const QString page = action.helpPage.section(u'#', 0, 0);
    EXPECT_TRUE(QFile::exists(QStringLiteral(MLDD_TEST_DATA "/../../help/") + page))
        << action.helpPage.toStdString();
    EXPECT_EQ(storedSoftSet(state), QStringLiteral("0|1|0|0|0|0|0"));
    EXPECT_TRUE(state.filter.caption.isEmpty());

    // The start-up text keeps what follows "?"; only "!" cuts it.
    const CommandAction second =
        handleCommandText(state, QStringLiteral("abc?q!def"), CommandSource::StartUp);
    EXPECT_FALSE(second.hint);
    EXPECT_EQ(state.pendingCapture, QStringLiteral("abc?q"));
    EXPECT_EQ(state.options.value(ProgramOptions::kCaptureHintShown), 1);
}

TEST(Startup, ACommandTextIsHandledInsteadOfListing) {
    test::TempDataFolder data;
    MainState state(data.folder());
    const StartupResult result = startUp(state, QStringLiteral("abc!def"));
    ASSERT_TRUE(result.ok);
    ASSERT_TRUE(result.command);
    EXPECT_EQ(result.command->kind, CommandAction::Kind::Capture);
    EXPECT_EQ(state.pendingCapture, QStringLiteral("abc"));
    EXPECT_EQ(state.cursor.recordCount(), 0);
}
