#include "address/AddressSplitter.h"
#include "address/OfficialNames.h"
#include "address/ProvinceNames.h"

#include "core/TextFile.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

using namespace mldd;

namespace {

// Guizhou with three cities (one without a county list), Beijing flagged Z,
// Zhejiang written without 省, Tibet without city data.
const QString kTable = QStringLiteral("/贵州省/1/N/北京市/2/Z/北京/2/Z/浙江/3/N/西藏/0/N"
                                      "[S]/贵阳市/1/N/遵义市/2/N/六盘水市/0/N"
                                      "[D]/花溪区/0/N/南明区/0/N/开阳县/0/N/息县/0/N"
                                      "[D]/汇川区/0/N/赤水市/0/N/务川仡佬族苗族自治县/0/N"
                                      "[S]/北京市/1/N[D]/海淀区/0/N/朝阳区/0/N"
                                      "[S]/杭州市/1/N[D]/西湖区/0/N/桐庐县/0/N");

struct Split {
    PlaceFields fields;
    QString address;
};

class SplitterTest : public ::testing::Test {
protected:
    Split split(const QString& address, const QString& table = kTable) {
        Split result{{}, address};
        SplitAddress(parsePlaceTable(table), result.fields, result.address, m_log);
        return result;
    }

    int logLines() const {
        const TextFileContent content = TextFile::read(m_log.path());
        return int(content.lines.size());
    }

    QString lastLogLine() const { return TextFile::read(m_log.path()).lines.value(0); }

    QTemporaryDir m_dir;
    ErrorLog m_log{m_dir.filePath(QStringLiteral("ERR.TXT"))};
};

void expectSplit(const Split& got, const QString& province, const QString& city,
                 const QString& county, const QString& rest, const QString& destination) {
    EXPECT_EQ(got.fields.province, province);
    EXPECT_EQ(got.fields.city, city);
    EXPECT_EQ(got.fields.county, county);
    EXPECT_EQ(got.address, rest);
    EXPECT_EQ(got.fields.destination, destination);
}

PlaceTable shippedTable(const ErrorLog& log) {
    return LoadPlaceTable(QStringLiteral(MLDD_SOURCE_ROOT "/data/code/Area.txt"), log);
}

} // namespace

TEST_F(SplitterTest, DistrictLeavesTheCityAsDestination) {
    expectSplit(split(QStringLiteral("贵州省贵阳市花溪区溪北路12号")), QStringLiteral("贵州省"),
                QStringLiteral("贵阳市"), QStringLiteral("花溪区"), QStringLiteral("溪北路12号"),
                QStringLiteral("贵阳市"));
    expectSplit(split(QStringLiteral("贵州省遵义市赤水市人民路")), QStringLiteral("贵州省"),
                QStringLiteral("遵义市"), QStringLiteral("赤水市"), QStringLiteral("人民路"),
                QStringLiteral("赤水市"));
}

TEST_F(SplitterTest, ProvinceFlaggedZStaysTheDestination) {
    // The province is stored under its full name; the destination stays as written.
    expectSplit(split(QStringLiteral("北京北京市海淀区中关村大街1号")), QStringLiteral("北京市"),
                QStringLiteral("北京市"), QStringLiteral("海淀区"), QStringLiteral("中关村大街1号"),
                QStringLiteral("北京"));
    // The longer form comes first in the table, so nothing of it is left behind.
    expectSplit(split(QStringLiteral("北京市 朝阳区 建国路")), QStringLiteral("北京市"),
                QStringLiteral("北京市"), QStringLiteral("朝阳区"), QStringLiteral("建国路"),
                QStringLiteral("北京市"));
}

TEST_F(SplitterTest, ShortenedNamesAreFoundAndStoredInFull) {
    expectSplit(split(QStringLiteral("贵州省贵阳花溪区溪北路")), QStringLiteral("贵州省"),
                QStringLiteral("贵阳市"), QStringLiteral("花溪区"), QStringLiteral("溪北路"),
                QStringLiteral("贵阳"));
    // Eight passes bring 务川仡佬族苗族自治县 down to 务川.
    expectSplit(split(QStringLiteral("贵州省遵义市务川大坪镇")), QStringLiteral("贵州省"),
                QStringLiteral("遵义市"), QStringLiteral("务川仡佬族苗族自治县"),
                QStringLiteral("大坪镇"), QStringLiteral("务川"));
    // A two-character county is only ever tried whole.
    expectSplit(split(QStringLiteral("贵州省贵阳市息烽路")), QStringLiteral("贵州省"),
                QStringLiteral("贵阳市"), QString(), QStringLiteral("息烽路"),
                QStringLiteral("贵阳市"));
}

// The two faults a seller saw on the waybill: a two-character alias cut to one
// character claiming a county, and a city name cut out of the county's name.
TEST_F(SplitterTest, TwoCharacterNamesStayWholeAndTheCityIsCutOnlyInFront) {
    const QString table =
        QStringLiteral("/新疆/1/N/江西/2/N"
                       "[S]/博尔塔拉蒙古自治州/1/N/博州/1/N/巴音郭楞蒙古自治州/2/N"
                       "[D]/博乐市/0/N/精河县/0/N[D]/库尔勒市/0/N/博湖县/0/N"
                       "[S]/吉安市/1/N[D]/吉州区/0/N/吉安县/0/N");
    expectSplit(split(QStringLiteral("新疆博湖县本布图镇"), table), QStringLiteral("新疆"),
                QStringLiteral("巴音郭楞蒙古自治州"), QStringLiteral("博湖县"),
                QStringLiteral("本布图镇"), QStringLiteral("博湖县"));
    expectSplit(split(QStringLiteral("江西吉安吉安县敦厚镇"), table), QStringLiteral("江西"),
                QStringLiteral("吉安市"), QStringLiteral("吉安县"), QStringLiteral("敦厚镇"),
                QStringLiteral("吉安县"));
}

TEST_F(SplitterTest, CountyWithoutItsCityCompletesTheCity) {
    expectSplit(split(QStringLiteral("贵州省汇川区上海路")), QStringLiteral("贵州省"),
                QStringLiteral("遵义市"), QStringLiteral("汇川区"), QStringLiteral("上海路"),
                QStringLiteral("遵义市"));
    // A city without a county list gives way to the one whose list names the county.
    expectSplit(split(QStringLiteral("贵州省六盘水市汇川区上海路")), QStringLiteral("贵州省"),
                QStringLiteral("遵义市"), QStringLiteral("汇川区"), QStringLiteral("上海路"),
                QStringLiteral("遵义市"));
    // No county anywhere: the city stays and no destination is worked out.
    expectSplit(split(QStringLiteral("贵州省六盘水市钟山路")), QStringLiteral("贵州省"),
                QStringLiteral("六盘水市"), QString(), QStringLiteral("钟山路"), QString());
}

// Order pages repeat the region in the detail; the repeat goes, a street named
// after the city stays.
TEST_F(SplitterTest, RepeatedPrefixIsCut) {
    expectSplit(split(QStringLiteral("贵州省遵义市遵义市务川仡佬族苗族自治县溪北路2号")),
                QStringLiteral("贵州省"), QStringLiteral("遵义市"),
                QStringLiteral("务川仡佬族苗族自治县"), QStringLiteral("溪北路2号"),
                QStringLiteral("务川仡佬族苗族自治县"));
    expectSplit(split(QStringLiteral("浙江杭州市西湖区浙江杭州市西湖区文三路478号")),
                QStringLiteral("浙江"), QStringLiteral("杭州市"), QStringLiteral("西湖区"),
                QStringLiteral("文三路478号"), QStringLiteral("杭州市"));
    expectSplit(split(QStringLiteral("浙江 杭州市 杭州 桐庐县 城南街道")), QStringLiteral("浙江"),
                QStringLiteral("杭州市"), QStringLiteral("桐庐县"), QStringLiteral("城南街道"),
                QStringLiteral("桐庐县"));
    // A short name goes only before another place name.
    expectSplit(split(QStringLiteral("浙江杭州市杭州大厦")), QStringLiteral("浙江"),
                QStringLiteral("杭州市"), QString(), QStringLiteral("杭州大厦"),
                QStringLiteral("杭州市"));
    const QString table = QStringLiteral("/内蒙古/1/N[S]/呼伦贝尔市/1/N[D]/海拉尔区/0/N");
    expectSplit(split(QStringLiteral("内蒙古呼伦贝尔市呼伦贝尔市路9号"), table),
                QStringLiteral("内蒙古"), QStringLiteral("呼伦贝尔市"), QString(),
                QStringLiteral("呼伦贝尔市路9号"), QStringLiteral("呼伦贝尔市"));
    expectSplit(split(QStringLiteral("内蒙古呼伦贝尔市海拉尔区呼伦贝尔路9号"), table),
                QStringLiteral("内蒙古"), QStringLiteral("呼伦贝尔市"), QStringLiteral("海拉尔区"),
                QStringLiteral("呼伦贝尔路9号"), QStringLiteral("呼伦贝尔市"));
}

// Pasted and imported addresses often start at the city or the county.
TEST_F(SplitterTest, AddressWithoutProvinceIsCompletedWhereOnlyOnePlaceFits) {
    const QString table = QStringLiteral(
        "/北京市/1/Z/吉林省/2/N/吉林/2/N/贵州省/3/N"
        "[S]/北京市/1/N[D]/朝阳区/0/N/海淀区/0/N"
        "[S]/长春市/1/N/吉林市/2/N[D]/朝阳区/0/N/南关区/0/N[D]/船营区/0/N"
        "[S]/遵义市/1/N/仁怀市/0/Z[D]/汇川区/0/N/务川仡佬族苗族自治县/0/N/道真县/0/N");
    expectSplit(split(QStringLiteral("遵义市汇川区上海路"), table), QStringLiteral("贵州省"),
                QStringLiteral("遵义市"), QStringLiteral("汇川区"), QStringLiteral("上海路"),
                QStringLiteral("遵义市"));
    expectSplit(split(QStringLiteral("遵义 务川仡佬族苗族自治县 大坪镇"), table),
                QStringLiteral("贵州省"), QStringLiteral("遵义市"),
                QStringLiteral("务川仡佬族苗族自治县"), QStringLiteral("大坪镇"),
                QStringLiteral("务川仡佬族苗族自治县"));
    expectSplit(split(QStringLiteral("汇川区上海路"), table), QStringLiteral("贵州省"),
                QStringLiteral("遵义市"), QStringLiteral("汇川区"), QStringLiteral("上海路"),
                QStringLiteral("遵义市"));
    expectSplit(split(QStringLiteral("仁怀市茅台镇"), table), QStringLiteral("贵州省"),
                QStringLiteral("仁怀市"), QString(), QStringLiteral("茅台镇"),
                QStringLiteral("仁怀市"));
    expectSplit(split(QStringLiteral("海淀区中关村大街1号"), table), QStringLiteral("北京市"),
                QStringLiteral("北京市"), QStringLiteral("海淀区"), QStringLiteral("中关村大街1号"),
                QStringLiteral("北京市"));
    // 吉林市 begins with the province's short name; the longer name wins.
    expectSplit(split(QStringLiteral("吉林市船营区"), table), QStringLiteral("吉林省"),
                QStringLiteral("吉林市"), QStringLiteral("船营区"), QString(),
                QStringLiteral("吉林市"));
    // 道 begins streets and counties alike.
    expectSplit(split(QStringLiteral("遵义道真县洛龙镇"), table), QStringLiteral("贵州省"),
                QStringLiteral("遵义市"), QStringLiteral("道真县"), QStringLiteral("洛龙镇"),
                QStringLiteral("道真县"));
    // Beijing's or Changchun's: left as it was. A short city name before a street
    // word names a street.
    for (const QString& address : {QStringLiteral("朝阳区建国路"), QStringLiteral("遵义路8号")})
        expectSplit(split(address, table), QString(), QString(), QString(), address, QString());
}

// A zone or district whose name begins with its city's name is taken whole, with
// or without the city in front.
TEST_F(SplitterTest, CountyBeginningWithTheCityNameIsTakenWhole) {
    const QString table =
        QStringLiteral("/山东省/1/N/山东/1/N/四川省/2/N"
                       "[S]/东营市/1/N[D]/东营区/0/N/东营港经济开发区/0/N/港经济开发区/0/N"
                       "[S]/乐山市/1/N[D]/市中区/0/N/沙湾区/0/N");
    for (const QString& address :
         {QStringLiteral("山东东营港经济开发区港城路"), QStringLiteral("东营港经济开发区港城路"),
          QStringLiteral("山东东营市东营港经济开发区港城路")}) {
        const Split got = split(address, table);
        EXPECT_EQ(got.fields.city, QStringLiteral("东营市")) << address.toStdString();
        EXPECT_EQ(got.fields.county, QStringLiteral("东营港经济开发区")) << address.toStdString();
        EXPECT_EQ(got.address, QStringLiteral("港城路")) << address.toStdString();
    }
    expectSplit(split(QStringLiteral("山东东营东营港经济开发区港城路"), table),
                QStringLiteral("山东省"), QStringLiteral("东营市"),
                QStringLiteral("东营港经济开发区"), QStringLiteral("港城路"),
                QStringLiteral("东营"));
    expectSplit(split(QStringLiteral("山东东营区西城街道"), table), QStringLiteral("山东省"),
                QStringLiteral("东营市"), QStringLiteral("东营区"), QStringLiteral("西城街道"),
                QStringLiteral("东营市"));
    // 市中区 written after the city's full name takes its 市.
    expectSplit(split(QStringLiteral("四川省乐山市中区嘉定路"), table), QStringLiteral("四川省"),
                QStringLiteral("乐山市"), QStringLiteral("市中区"), QStringLiteral("嘉定路"),
                QStringLiteral("乐山"));
}

TEST_F(SplitterTest, WhatIsLeftOfTheAddress) {
    // Province and city names are cut only in front; a county name wherever it occurs.
    expectSplit(split(QStringLiteral("浙江杭州市西湖区文三路杭州市第二中学浙江西湖区")),
                QStringLiteral("浙江"), QStringLiteral("杭州市"), QStringLiteral("西湖区"),
                QStringLiteral("文三路杭州市第二中学浙江"), QStringLiteral("杭州市"));
    expectSplit(split(QStringLiteral(" 火星 基地 1号 ")), QString(), QString(), QString(),
                QStringLiteral("火星基地1号"), QString());
    expectSplit(split(QStringLiteral("西藏拉萨市北京中路")), QStringLiteral("西藏"), QString(),
                QString(), QStringLiteral("拉萨市北京中路"), QString());
}

TEST_F(SplitterTest, RepeatedCallsSeeTheWholeTable) {
    const PlaceTable table = parsePlaceTable(kTable);
    for (int i = 0; i < 2; ++i) {
        PlaceFields fields{QStringLiteral("old"), QStringLiteral("old"), QStringLiteral("old"),
                           QStringLiteral("old")};
        QString address = QStringLiteral("贵州省贵阳花溪区");
        SplitAddress(table, fields, address, m_log);
        EXPECT_EQ(fields.city, QStringLiteral("贵阳市"));
        EXPECT_EQ(fields.destination, QStringLiteral("贵阳"));
    }
    PlaceFields fields;
    QString address = QStringLiteral("贵州省贵阳市南明区");
    SplitAddress(table, fields, address, m_log);
    EXPECT_EQ(fields.city, QStringLiteral("贵阳市"));
    EXPECT_EQ(fields.county, QStringLiteral("南明区"));
}

TEST_F(SplitterTest, FaultyEntriesAreLoggedWhenReachedAndEndTheCall) {
    // Cut short, not a number, past the last section: the province is never taken.
    for (const QString& table :
         {QStringLiteral("/贵州省/1"), QStringLiteral("/贵州省/x/N[S]/贵阳市/0/N"),
          QStringLiteral("/贵州省/5/N[S]/贵阳市/0/N")}) {
        const Split got = split(QStringLiteral("贵州省 贵阳市"), table);
        EXPECT_EQ(got.fields.province, QString()) << table.toStdString();
        EXPECT_EQ(got.address, QStringLiteral("贵州省贵阳市"));
    }
    EXPECT_EQ(logLines(), 3);
    EXPECT_TRUE(lastLogLine().contains(QStringLiteral("|12368|"))) << lastLogLine().toStdString();

    // A faulty entry that is never reached costs nothing.
    expectSplit(split(QStringLiteral("浙江杭州"), QStringLiteral("/浙江/0/N/贵州省/1")),
                QStringLiteral("浙江"), QString(), QString(), QStringLiteral("杭州"), QString());
    EXPECT_EQ(logLines(), 3);

    // A city pointing past its county lists: the province found so far stays.
    const QString badCity = QStringLiteral("/贵州省/1/N[S]/贵阳市/3/N[D]/花溪区/0/N");
    expectSplit(split(QStringLiteral("贵州省贵阳市花溪区"), badCity), QStringLiteral("贵州省"),
                QString(), QString(), QStringLiteral("贵阳市花溪区"), QString());
    // The search through every city's list reaches it too.
    expectSplit(split(QStringLiteral("贵州省花溪区"), badCity), QStringLiteral("贵州省"), QString(),
                QString(), QStringLiteral("花溪区"), QString());
    EXPECT_EQ(logLines(), 5);
}

TEST_F(SplitterTest, OddAddressesNeitherCrashNorHang) {
    EXPECT_EQ(split(QStringLiteral("     ")).address, QString());
    const QString street = QStringLiteral("很长的街道名").repeated(1700);
    const Split got = split(QStringLiteral("贵州省贵阳市") + street);
    EXPECT_EQ(got.fields.city, QStringLiteral("贵阳市"));
    EXPECT_EQ(got.address, street);
    EXPECT_EQ(split(QString(), QString()).address, QString());
    EXPECT_EQ(logLines(), 0);
}

TEST_F(SplitterTest, LoaderJoinsLinesAndToleratesMissingOrEmptyFiles) {
    const QString path = m_dir.filePath(QStringLiteral("Area.txt"));
    EXPECT_TRUE(LoadPlaceTable(path, m_log).isEmpty());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Split got{{}, QStringLiteral("贵州省贵阳市")};
    SplitAddress(LoadPlaceTable(path, m_log), got.fields, got.address, m_log);
    EXPECT_EQ(got.fields.province, QString());

    // A record may be broken over lines anywhere, even inside a separator.
    ASSERT_TRUE(TextFile::write(path, {QStringLiteral("/贵州"), QStringLiteral("省/1/N[S"),
                                       QStringLiteral("]/贵阳市/0/"), QStringLiteral("N")}));
    got = {{}, QStringLiteral("贵州省贵阳市")};
    SplitAddress(LoadPlaceTable(path, m_log), got.fields, got.address, m_log);
    EXPECT_EQ(got.fields.city, QStringLiteral("贵阳市"));
    EXPECT_EQ(logLines(), 0);

    // A folder where the file should be cannot be read: logged under the loader's code.
    EXPECT_TRUE(LoadPlaceTable(m_dir.path(), m_log).isEmpty());
    EXPECT_TRUE(lastLogLine().contains(QStringLiteral("|wmb1|"))) << lastLogLine().toStdString();
}

TEST(ProvinceNamesTest, AnswersWithOneLetter) {
    EXPECT_EQ(ContainsProvinceName(QStringLiteral("收货地址：内蒙古呼和浩特市")),
              QStringLiteral("Y"));
    EXPECT_EQ(ContainsProvinceName(QStringLiteral("寄往澳门")), QStringLiteral("Y"));
    EXPECT_EQ(ContainsProvinceName(QStringLiteral("内蒙 呼和浩特")), QStringLiteral("N"));
    EXPECT_EQ(ContainsProvinceName(QString()), QStringLiteral("N"));
}

// The shipped table against a few hundred real-looking addresses with the split a
// person expects (tools/area/make_split_cases.py).
TEST(ShippedTableTest, SplitsRealAddressesRight) {
    const ErrorLog log(QStringLiteral("/nonexistent/ERR.TXT"));
    const PlaceTable table = shippedTable(log);
    const TextFileContent cases =
        TextFile::read(QStringLiteral(MLDD_TEST_DATA "/data/split_cases.tsv"));
    ASSERT_TRUE(cases.ok());
    int right = 0;
    for (const QString& line : cases.lines) {
        const QStringList want = line.split(u'\t');
        ASSERT_EQ(want.size(), 6);
        PlaceFields fields;
        QString address = want[0];
        SplitAddress(table, fields, address, log);
        const QStringList got{fields.province, fields.city, fields.county, address,
                              fields.destination};
        if (got == want.mid(1))
            ++right;
        else
            std::cout << "  " << want[0].toStdString() << " -> " << got.join(u'|').toStdString()
                      << '\n';
    }
    const double share = 100.0 * right / cases.lines.size();
    std::cout << "split right: " << right << " of " << cases.lines.size() << " (" << share
              << "%)\n";
    EXPECT_GE(share, 98.0);
}

// Whether `address` splits to the official names of the province, city and
// county a person reads in it, however the address writes them (吉安市 for 吉安);
// prints it when not. An empty name means nothing may be found.
bool splitsAs(const PlaceTable& table, const QString& address, const QStringList& wanted) {
    const ErrorLog log(QStringLiteral("/nonexistent/ERR.TXT"));
    PlaceFields fields;
    QString rest = address;
    SplitAddress(table, fields, rest, log);
    if (QStringList{fields.province, fields.city, fields.county} == wanted.mid(0, 3))
        return true;
    std::cout << "  " << address.toStdString() << " -> " << fields.province.toStdString() << '|'
              << fields.city.toStdString() << '|' << fields.county.toStdString() << '\n';
    return false;
}

// Real addresses from another source than the set above: universities' addresses as
// a map service lists them, with its province, city and district, and a county only
// where the address itself names one (tools/area/README.md).
TEST(ShippedTableTest, SplitsUnseenRealAddressesRight) {
    const ErrorLog log(QStringLiteral("/nonexistent/ERR.TXT"));
    const PlaceTable table = shippedTable(log);
    const TextFileContent cases =
        TextFile::read(QStringLiteral(MLDD_TEST_DATA "/data/real_addresses.tsv"));
    ASSERT_TRUE(cases.ok());
    int right = 0;
    for (const QString& line : cases.lines) {
        const QStringList want = line.split(u'\t');
        ASSERT_EQ(want.size(), 4) << line.toStdString();
        right += splitsAs(table, want[0], want.mid(1));
    }
    const double share = 100.0 * right / cases.lines.size();
    std::cout << "unseen addresses split right: " << right << " of " << cases.lines.size() << " ("
              << share << "%)\n";
    EXPECT_GE(share, 98.0);
}

// Addresses as sellers and order pages write them, in six habits: full names, no
// suffixes, spaces, a repeated prefix, the city first, the county first
// (tools/area/make_seller_addresses.py). Each habit on its own must split right.
TEST(ShippedTableTest, SplitsEveryWritingHabitRight) {
    const ErrorLog log(QStringLiteral("/nonexistent/ERR.TXT"));
    const PlaceTable table = shippedTable(log);
    const TextFileContent cases =
        TextFile::read(QStringLiteral(MLDD_TEST_DATA "/data/seller_addresses.tsv"));
    ASSERT_TRUE(cases.ok());
    QMap<QString, std::pair<int, int>> habits; // habit -> right, all
    for (const QString& line : cases.lines) {
        const QStringList want = line.split(u'\t');
        ASSERT_EQ(want.size(), 5) << line.toStdString();
        auto& [right, all] = habits[want[0]];
        right += splitsAs(table, want[1], want.mid(2));
        ++all;
    }
    EXPECT_EQ(habits.size(), 6);
    for (auto it = habits.cbegin(); it != habits.cend(); ++it) {
        const auto [right, all] = it.value();
        const double share = 100.0 * right / all;
        std::cout << it.key().toStdString() << ": " << right << " of " << all << " (" << share
                  << "%)\n";
        EXPECT_GE(share, 99.5) << it.key().toStdString();
    }
}

// Functional zones and 三沙's island groups stand under their cities; a zone, like a
// district, leaves the city as the destination.
TEST(ShippedTableTest, FunctionalZonesAndIslandGroupsAreCounties) {
    const ErrorLog log(QStringLiteral("/nonexistent/ERR.TXT"));
    const PlaceTable table = shippedTable(log);
    const struct {
        const char* address;
        const char* city;
        const char* county;
        const char* destination;
    } cases[] = {
        {"甘肃省兰州市兰州新区西岔镇", "兰州市", "兰州新区", "兰州市"},
        {"湖北省黄冈市龙感湖管理区严家闸", "黄冈市", "龙感湖管理区", "黄冈市"},
        {"河北省石家庄市高新区天山大街", "石家庄市", "石家庄高新技术产业开发区", "石家庄市"},
        {"河南省郑州市航空港区新港大道", "郑州市", "郑州航空港经济综合实验区", "郑州市"},
        {"江苏省苏州市工业园区星湖街", "苏州市", "苏州工业园区", "苏州市"},
        {"海南省三沙市西沙群岛永兴岛", "三沙市", "西沙群岛", "西沙群岛"},
        {"山东省菏泽经济技术开发区长江路", "菏泽市", "菏泽经济技术开发区", "菏泽市"},
        {"合肥高新技术产业开发区望江西路", "合肥市", "合肥高新技术产业开发区", "合肥市"},
        {"河北衡水滨湖新区彭杜乡", "衡水市", "衡水滨湖新区", "衡水市"},
        {"新疆克拉玛依区胜利路", "克拉玛依市", "克拉玛依区", "克拉玛依市"},
        {"甘肃省临夏市和平路", "临夏回族自治州", "临夏市", "临夏市"},
    };
    for (const auto& wanted : cases) {
        PlaceFields fields;
        QString address = QString::fromUtf8(wanted.address);
        SplitAddress(table, fields, address, log);
        EXPECT_EQ(fields.city, QString::fromUtf8(wanted.city)) << wanted.address;
        EXPECT_EQ(fields.county, QString::fromUtf8(wanted.county)) << wanted.address;
        EXPECT_EQ(fields.destination, QString::fromUtf8(wanted.destination)) << wanted.address;
    }
}

// However an address writes a place, the order stores the table's full name, so
// that lists, filters and the express plan read one name; the destination stays
// as written. Names that only look like a short form stay themselves.
TEST(ShippedTableTest, StoresTheFullNamesOfThePlaces) {
    const ErrorLog log(QStringLiteral("/nonexistent/ERR.TXT"));
    const PlaceTable table = shippedTable(log);
    const struct {
        const char* address;
        const char* province;
        const char* city;
        const char* county;
        const char* destination;
    } cases[] = {
        {"贵州贵阳清镇市红枫湖镇", "贵州省", "贵阳市", "清镇市", "清镇市"},
        {"北京朝阳区建国路", "北京市", "北京市", "朝阳区", "北京"},
        {"广西南宁青秀区民族大道", "广西壮族自治区", "南宁市", "青秀区", "南宁"},
        {"湖北恩施州利川市都亭街道", "湖北省", "恩施土家族苗族自治州", "利川市", "利川市"},
        {"海南白沙县牙叉镇", "海南省", "白沙黎族自治县", "", "白沙县"},
        {"内蒙古呼伦贝尔莫力达瓦旗尼尔基镇", "内蒙古自治区", "呼伦贝尔市", "莫力达瓦达斡尔族自治旗",
         "莫力达瓦旗"},
        {"山西运城绛县古绛镇", "山西省", "运城市", "绛县", "绛县"},
        {"内蒙古鄂尔多斯鄂托克旗乌兰镇", "内蒙古自治区", "鄂尔多斯市", "鄂托克旗", "鄂托克旗"},
    };
    for (const auto& wanted : cases) {
        PlaceFields fields;
        QString address = QString::fromUtf8(wanted.address);
        SplitAddress(table, fields, address, log);
        EXPECT_EQ(
            (QStringList{fields.province, fields.city, fields.county, fields.destination}),
            (QStringList{QString::fromUtf8(wanted.province), QString::fromUtf8(wanted.city),
                         QString::fromUtf8(wanted.county), QString::fromUtf8(wanted.destination)}))
            << wanted.address;
    }
}

// Places that came split already (a decode file's fields, an export's columns) are stored
// under the same full names as split ones; what the table does not know stays as written.
TEST(ShippedTableTest, PlacesGivenSplitTakeTheFullNamesToo) {
    const ErrorLog log(QStringLiteral("/nonexistent/ERR.TXT"));
    const PlaceTable table = shippedTable(log);
    const struct {
        const char* given[3];
        const char* stored[3];
    } cases[] = {
        {{"广东", "深圳", "南山区"}, {"广东省", "深圳市", "南山区"}},
        {{"北京", "北京", "朝阳区"}, {"北京市", "北京市", "朝阳区"}},
        {{"湖北省", "恩施州", "利川市"}, {"湖北省", "恩施土家族苗族自治州", "利川市"}},
        {{"广西", "南宁市", "青秀区"}, {"广西壮族自治区", "南宁市", "青秀区"}},
        {{"内蒙古", "鄂尔多斯", "鄂托克旗"}, {"内蒙古自治区", "鄂尔多斯市", "鄂托克旗"}},
        {{"广东省", "火星市", "南山区"}, {"广东省", "火星市", "南山区"}},
        {{"火星", "深圳", "南山区"}, {"火星", "深圳", "南山区"}},
        {{"", "", ""}, {"", "", ""}},
    };
    for (const auto& wanted : cases) {
        QStringList place{QString::fromUtf8(wanted.given[0]), QString::fromUtf8(wanted.given[1]),
                          QString::fromUtf8(wanted.given[2])};
        useOfficialNames(table, place[0], place[1], place[2]);
        EXPECT_EQ(place, (QStringList{QString::fromUtf8(wanted.stored[0]),
                                      QString::fromUtf8(wanted.stored[1]),
                                      QString::fromUtf8(wanted.stored[2])}))
            << wanted.given[0] << wanted.given[1] << wanted.given[2];
    }
}
