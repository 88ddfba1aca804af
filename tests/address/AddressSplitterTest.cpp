#include "address/AddressSplitter.h"
#include "address/ProvinceNames.h"

#include "core/TextFile.h"

#include <QFile>
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
    expectSplit(split(QStringLiteral("北京北京市海淀区中关村大街1号")), QStringLiteral("北京"),
                QStringLiteral("北京市"), QStringLiteral("海淀区"), QStringLiteral("中关村大街1号"),
                QStringLiteral("北京"));
    // The longer form comes first in the table, so nothing of it is left behind.
    expectSplit(split(QStringLiteral("北京市 朝阳区 建国路")), QStringLiteral("北京市"),
                QStringLiteral("北京市"), QStringLiteral("朝阳区"), QStringLiteral("建国路"),
                QStringLiteral("北京市"));
}

TEST_F(SplitterTest, ShortenedNamesAreFoundAndStoredShort) {
    expectSplit(split(QStringLiteral("贵州省贵阳花溪区溪北路")), QStringLiteral("贵州省"),
                QStringLiteral("贵阳"), QStringLiteral("花溪区"), QStringLiteral("溪北路"),
                QStringLiteral("贵阳"));
    // Eight passes bring 务川仡佬族苗族自治县 down to 务川.
    expectSplit(split(QStringLiteral("贵州省遵义市务川大坪镇")), QStringLiteral("贵州省"),
                QStringLiteral("遵义市"), QStringLiteral("务川"), QStringLiteral("大坪镇"),
                QStringLiteral("务川"));
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
                QStringLiteral("吉安"), QStringLiteral("吉安县"), QStringLiteral("敦厚镇"),
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
        EXPECT_EQ(fields.city, QStringLiteral("贵阳"));
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

// Real addresses from another source than the set above: universities' addresses as
// a map service lists them, with its province, city and district, and a county only
// where the address itself names one (tools/area/README.md). The splitter may store
// a name shortened, as the seller wrote it.
TEST(ShippedTableTest, SplitsUnseenRealAddressesRight) {
    const ErrorLog log(QStringLiteral("/nonexistent/ERR.TXT"));
    const PlaceTable table = shippedTable(log);
    const TextFileContent cases =
        TextFile::read(QStringLiteral(MLDD_TEST_DATA "/data/real_addresses.tsv"));
    ASSERT_TRUE(cases.ok());
    const auto same = [](const QString& found, const QString& wanted) {
        return found == wanted || (found.size() >= 2 && wanted.startsWith(found));
    };
    int right = 0;
    for (const QString& line : cases.lines) {
        const QStringList want = line.split(u'\t');
        ASSERT_EQ(want.size(), 4) << line.toStdString();
        PlaceFields fields;
        QString address = want[0];
        SplitAddress(table, fields, address, log);
        if (same(fields.province, want[1]) && same(fields.city, want[2]) &&
            same(fields.county, want[3]))
            ++right;
        else
            std::cout << "  " << want[0].toStdString() << " -> " << fields.province.toStdString()
                      << '|' << fields.city.toStdString() << '|' << fields.county.toStdString()
                      << '\n';
    }
    const double share = 100.0 * right / cases.lines.size();
    std::cout << "unseen addresses split right: " << right << " of " << cases.lines.size() << " ("
              << share << "%)\n";
    EXPECT_GE(share, 98.0);
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
        {"河北省石家庄市高新区天山大街", "石家庄市", "高新区", "石家庄市"},
        {"河南省郑州市航空港区新港大道", "郑州市", "航空港区", "郑州市"},
        {"江苏省苏州市工业园区星湖街", "苏州市", "工业园区", "苏州市"},
        {"海南省三沙市西沙群岛永兴岛", "三沙市", "西沙群岛", "西沙群岛"},
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
