#include "address/PastedReceiver.h"
#include "address/PastedAddress.h"
#include "address/PastedBatch.h"
#include "address/PlaceTable.h"

#include "core/ErrorLog.h"

#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

using namespace mldd;

namespace {

/** A receiver as a buyer writes it, and the split a seller expects of it. */
struct Buyer {
    QString name;
    QString mobile;
    QString province; // as written
    QString city;     // as written; empty where the buyer skips it
    QString county;
    QString street;
    QString zipcode;
    QString wantProvince; // the table's full names
    QString wantCity;
    QString wantCounty;
};

// Municipalities, autonomous regions and prefectures, county-level cities and
// functional zones, written with and without 省/市.
const QList<Buyer>& buyers() {
    static const QList<Buyer> list{
        {"张伟", "13812345678", "广东省", "深圳市", "南山区", "粤海街道科技园南区1栋101", "518057",
         "广东省", "深圳市", "南山区"},
        {"王芳", "13900001111", "北京市", "", "朝阳区", "建国路88号现代城5号楼", "100022", "北京市",
         "北京市", "朝阳区"},
        {"李娜", "15012345678", "上海", "", "浦东新区", "张江路100弄3号", "201203", "上海市",
         "上海市", "浦东新区"},
        {"刘洋", "18623456789", "重庆", "重庆市", "渝中区", "解放碑民族路1号", "400010", "重庆市",
         "重庆市", "渝中区"},
        {"陈静", "13698765432", "广西", "南宁市", "青秀区", "民族大道136号", "530022",
         "广西壮族自治区", "南宁市", "青秀区"},
        {"杨磊", "13511112222", "内蒙古", "呼和浩特", "赛罕区", "大学东街23号", "010020",
         "内蒙古自治区", "呼和浩特市", "赛罕区"},
        {"赵敏", "17788889999", "新疆", "乌鲁木齐市", "天山区", "解放南路8号", "830002",
         "新疆维吾尔自治区", "乌鲁木齐市", "天山区"},
        {"黄强", "18912341234", "西藏", "拉萨", "城关区", "北京中路6号", "850000", "西藏自治区",
         "拉萨市", "城关区"},
        {"周杰", "13312345678", "湖北省", "恩施州", "利川市", "都亭街道清江大道9号", "445400",
         "湖北省", "恩施土家族苗族自治州", "利川市"},
        {"吴刚", "15888886666", "云南", "大理州", "大理市", "下关镇建设路5号", "671000", "云南省",
         "大理白族自治州", "大理市"},
        {"徐丽", "13701234567", "贵州", "贵阳", "清镇市", "红枫湖镇12号", "551400", "贵州省",
         "贵阳市", "清镇市"},
        {"孙悦", "18098765432", "浙江省", "金华市", "义乌市", "稠城街道工人北路3号", "322000",
         "浙江省", "金华市", "义乌市"},
        {"马超", "13409876543", "江苏省", "苏州市", "苏州工业园区", "星湖街328号", "215123",
         "江苏省", "苏州市", "苏州工业园区"},
        {"朱琳", "15500001111", "河南省", "郑州市", "郑州航空港经济综合实验区", "新港大道7号",
         "451162", "河南省", "郑州市", "郑州航空港经济综合实验区"},
        {"胡军", "13212345678", "宁夏", "银川市", "兴庆区", "解放东街2号", "750001",
         "宁夏回族自治区", "银川市", "兴庆区"},
        {"林晓", "13612345678", "黑龙江", "哈尔滨", "道里区", "中央大街100号", "150010", "黑龙江省",
         "哈尔滨市", "道里区"},
        {"何平", "15912345678", "四川省", "凉山州", "西昌市", "航天大道三段4号", "615000", "四川省",
         "凉山彝族自治州", "西昌市"},
        {"欧阳晓明", "15312345678", "甘肃", "临夏州", "临夏市", "红园路11号", "731100", "甘肃省",
         "临夏回族自治州", "临夏市"},
    };
    return list;
}

QString spaced(const Buyer& b) {
    return QStringList{b.province, b.city, b.county, b.street}.join(u' ').simplified();
}
QString joined(const Buyer& b) {
    return b.province + b.city + b.county + b.street;
}
// 138 1234 5678
QString grouped(const QString& mobile) {
    return mobile.left(3) + u' ' + mobile.mid(3, 4) + u' ' + mobile.mid(7);
}

using Format = std::function<QString(const Buyer&)>;

// The ways buyers paste a receiver today.
const QList<std::pair<QString, Format>>& formats() {
    static const QList<std::pair<QString, Format>> list{
        {"复制地址四行",
         [](const Buyer& b) {
             return "收货人：" + b.name + "\n手机号码：" + b.mobile + "\n所在地区：" +
                    QStringList{b.province, b.city, b.county}.join(u' ').simplified() +
                    "\n详细地址：" + b.street;
         }},
        {"订单页复制",
         [](const Buyer& b) {
             return b.name + "，86-" + b.mobile + "，" + spaced(b) + "，" + b.zipcode;
         }},
        {"空格隔开", [](const Buyer& b) { return b.name + " " + b.mobile + " " + joined(b); }},
        {"没有邮编", [](const Buyer& b) { return b.name + "，" + b.mobile + "，" + joined(b); }},
        {"一行带标签",
         [](const Buyer& b) {
             return "收件人: " + b.name + " 电话: " + b.mobile + " 地址: " + joined(b);
         }},
        {"地址在前", [](const Buyer& b) { return joined(b) + "，" + b.name + "，" + b.mobile; }},
        {"地址一行姓名电话一行",
         [](const Buyer& b) { return "地址：" + joined(b) + "\n" + b.name + " " + b.mobile; }},
        {"标签逗号",
         [](const Buyer& b) {
             return "姓名：" + b.name + "，电话：" + b.mobile.left(3) + "-" + b.mobile.mid(3, 4) +
                    "-" + b.mobile.mid(7) + "，地址：" + joined(b);
         }},
        {"加86分组",
         [](const Buyer& b) { return b.name + " +86 " + grouped(b.mobile) + " " + spaced(b); }},
        {"三行", [](const Buyer& b) { return b.name + "\n" + b.mobile + "\n" + joined(b); }},
        {"收货人带电话",
         [](const Buyer& b) {
             return "收货人：" + b.name + " " + b.mobile + "\n收货地址：" + joined(b);
         }},
    };
    return list;
}

class PastedReceiverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_table = new PlaceTable(LoadPlaceTable(
            QStringLiteral(MLDD_SOURCE_ROOT "/data/code/Area.txt"), ErrorLog(QString())));
    }
    static void TearDownTestSuite() { delete s_table; }

    PastedReceiver read(const QString& text) const {
        return RecognizeReceiver(text, *s_table, m_log);
    }

    QTemporaryDir m_dir;
    ErrorLog m_log{m_dir.filePath(QStringLiteral("ERR.TXT"))};
    static inline PlaceTable* s_table = nullptr;
};

} // namespace

// Every format over every buyer: the share of right fields per format is
// printed; each field must be right in at least 95 of 100 receivers.
TEST_F(PastedReceiverTest, TodaysFormatsAcrossProvinces) {
    const QStringList fields{"姓名", "电话", "省", "市", "县"};
    for (const auto& [caption, format] : formats()) {
        QMap<QString, int> right;
        for (const Buyer& b : buyers()) {
            const QString text = format(b);
            const PastedReceiver got = read(text);
            const QList<std::pair<QString, QString>> pairs{{got.name, b.name},
                                                           {got.phone1, b.mobile},
                                                           {got.province, b.wantProvince},
                                                           {got.city, b.wantCity},
                                                           {got.county, b.wantCounty}};
            for (qsizetype i = 0; i < fields.size(); ++i) {
                if (pairs[i].first == pairs[i].second)
                    ++right[fields[i]];
                else
                    std::cout << caption.toStdString() << ": " << text.toStdString() << " → "
                              << fields[i].toStdString() << " " << pairs[i].first.toStdString()
                              << '\n';
            }
        }
        QString shares;
        for (const QString& field : fields) {
            const double share = 100.0 * right[field] / double(buyers().size());
            shares += QStringLiteral(" %1 %2%").arg(field).arg(share, 0, 'f', 0);
            EXPECT_GE(share, 95.0) << caption.toStdString() << ' ' << field.toStdString();
        }
        std::cout << caption.toStdString() << ':' << shares.toStdString() << '\n';
    }
}

// The comma rules of order pages keep their results on the blocks they were made for.
TEST_F(PastedReceiverTest, CommaBlocksReadAsTheOrderPageRulesReadThem) {
    for (const QString& text :
         {QStringLiteral("张三，13800138000，，浙江省 杭州市 西湖区 文三路310012号，310012"),
          QStringLiteral("李四，139，0571-1，浙江省 ，杭州市西湖区，310000"),
          QStringLiteral("浙江省杭州市西湖区文三路1号，310000，王五，13800138000 0571-88888888"),
          QStringLiteral("收货信息\r\n赵六，13800138000，，杭州市文三路1号，310000\r\n第二行"),
          QStringLiteral("赵六 ， 13800138000，  ，杭州市文三路1号 ，310000"),
          QStringLiteral("孙七，13800138000，浙江省杭州市西湖区文三路一号院三栋，310000")}) {
        ReceiverBoxes want;
        want.address = text;
        RecognizePastedAddress(want);
        const PastedReceiver got = read(text);
        EXPECT_EQ(got.name, want.name) << text.toStdString();
        EXPECT_EQ(got.phone1, want.phone1) << text.toStdString();
        EXPECT_EQ(got.phone2, want.phone2) << text.toStdString();
        EXPECT_EQ(got.zipcode, want.zipcode) << text.toStdString();
        EXPECT_EQ(got.address, want.address) << text.toStdString();
    }
    // Where those rules go wrong they give way: no postcode, a 86- prefix.
    const PastedReceiver noZip =
        read(QStringLiteral("张三，13812345678，广东省深圳市南山区粤海街道1栋"));
    EXPECT_EQ(noZip.zipcode, QString());
    EXPECT_EQ(noZip.county, QStringLiteral("南山区"));
    EXPECT_EQ(read(QStringLiteral("张三，86-13812345678，，广东省 深圳市 南山区 粤海街道，518000"))
                  .phone1,
              QStringLiteral("13812345678"));
}

TEST_F(PastedReceiverTest, PhonesPostcodesAndTheLabelledPartWin) {
    PastedReceiver got = read(QStringLiteral(
        "李雷 0851-86612345 13800138000-2345 贵州省贵阳市南明区花果园R1区8栋2单元1201 550002"));
    EXPECT_EQ(got.phone1, QStringLiteral("0851-86612345"));
    EXPECT_EQ(got.phone2, QStringLiteral("13800138000-2345"));
    EXPECT_EQ(got.zipcode, QStringLiteral("550002"));
    EXPECT_EQ(got.rest, QStringLiteral("花果园R1区8栋2单元1201"));

    // Six digits inside a house number or a phone are no postcode.
    got = read(QStringLiteral("韩梅梅 13912345678 浙江省杭州市西湖区文三路310012号"));
    EXPECT_EQ(got.zipcode, QString());
    EXPECT_EQ(got.rest, QStringLiteral("文三路310012号"));

    // Two names: the labelled one wins; two phones: the labelled one comes first.
    got = read(QStringLiteral("王小二 13600000000\n收货人：李小三\n电话：+86 139-0000-1111\n"
                              "地址：四川省成都市武侯区人民南路四段1号"));
    EXPECT_EQ(got.name, QStringLiteral("李小三"));
    EXPECT_EQ(got.phone1, QStringLiteral("13900001111"));
    EXPECT_EQ(got.phone2, QStringLiteral("13600000000"));
    EXPECT_EQ(got.city, QStringLiteral("成都市"));

    // A Latin name keeps its words; a name never has digits.
    got = read(QStringLiteral("John Smith 13800138000 上海市徐汇区漕溪北路88号"));
    EXPECT_EQ(got.name, QStringLiteral("John Smith"));
    EXPECT_TRUE(got.isWhole()) << got.problem().toStdString();
}

TEST_F(PastedReceiverTest, MaskedAndBadInputIsMarkedNeverGuessed) {
    PastedReceiver got = read(QStringLiteral("林**，138****5678，广东省广州市天河区体育西路**号"));
    EXPECT_TRUE(got.masked);
    EXPECT_EQ(got.name, QStringLiteral("林**"));
    EXPECT_EQ(got.phone1, QStringLiteral("138****5678"));

    got = read(QString());
    EXPECT_EQ(got.unclear, (QStringList{"姓名", "电话", "地址"}));
    EXPECT_EQ(got.problem(), QStringLiteral("没有认出姓名、电话、地址"));

    // A phone with letters is no phone; text without an address has none.
    got = read(QStringLiteral("张三 138abc45678 广东省深圳市南山区科技园"));
    EXPECT_TRUE(got.phone1.isEmpty());
    EXPECT_EQ(got.name, QStringLiteral("张三"));
    EXPECT_EQ(got.problem(), QStringLiteral("没有认出电话"));
    got = read(QStringLiteral("张三 13800138000 明天下午送到"));
    EXPECT_EQ(got.province, QString());
    EXPECT_TRUE(got.unclear.contains(QStringLiteral("地址")));

    // Control characters are separators, not part of any box.
    got = read(QStringLiteral("张三\x01\x1b 13800138000\x7f 广东省深圳市南山区\u200b科技园"));
    EXPECT_EQ(got.name, QStringLiteral("张三"));
    EXPECT_EQ(got.phone1, QStringLiteral("13800138000"));
    EXPECT_EQ(got.county, QStringLiteral("南山区"));
}

TEST_F(PastedReceiverTest, BatchesAreCutWhereSellersCutThem) {
    const auto names = [](const QList<PastedBlock>& blocks) {
        QStringList list;
        for (const PastedBlock& block : blocks)
            list.append(QString::number(block.firstLine) + u':' + block.receiver.name);
        return list;
    };
    const QString a = QStringLiteral("收货人：张三\n手机号码：13812345678\n所在地区：广东省 深圳市 "
                                     "南山区\n详细地址：粤海街道1栋");
    const QString b = QStringLiteral("李四\n13900001111\n北京市朝阳区建国路1号");
    EXPECT_EQ(names(RecognizeBatch(a + "\n\n\n" + b + "\n", *s_table, m_log)),
              (QStringList{"1:张三", "7:李四"}));
    EXPECT_EQ(names(RecognizeBatch(a + "\n-----------\n" + b, *s_table, m_log)),
              (QStringList{"1:张三", "6:李四"}));
    EXPECT_EQ(names(RecognizeBatch("1. " + a + "\n2、" + b, *s_table, m_log)),
              (QStringList{"1:张三", "5:李四"}));
    // One whole receiver per line.
    EXPECT_EQ(
        names(RecognizeBatch(QStringLiteral("王五 13500000000 湖南省长沙市岳麓区麓山南路1号\n"
                                            "赵六，13700000000，湖南省长沙市芙蓉区五一大道2号"),
                             *s_table, m_log)),
        (QStringList{"1:王五", "2:赵六"}));

    EXPECT_TRUE(RecognizeBatch(QStringLiteral(" \n\n---\n"), *s_table, m_log).isEmpty());
    // Ten thousand lines of no receiver: one block, refused, nothing guessed.
    const QList<PastedBlock> junk =
        RecognizeBatch(QStringLiteral("没有地址的一行字\n").repeated(10000), *s_table, m_log);
    ASSERT_EQ(junk.size(), 1);
    EXPECT_EQ(junk.first().refusal(), QStringLiteral("这一段有10000行，不像一个收件人"));
}
