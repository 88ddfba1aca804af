#include "CliRun.h"
#include "MarketplaceExports.h"
#include "SpreadsheetFixture.h"

#include "core/MaskedReceiver.h"
#include "shiplist/DecimalText.h"
#include "shiplist/GoodsSku.h"
#include "shiplist/GoodsTable.h"

#include <QRegularExpression>

using namespace mldd;
using test::MarketplaceExports;

namespace {

/** What one stored order must hold after its export was imported. */
struct Expected {
    QString orderSign;
    QString name;
    QString phone;
    QString province;
    QString city;
    QString county;
    QString address;
    int goodsLines;
    QString quantity; // the shipping list's 数量
    QString total;    // and its 总价
    QString tracking;
};

class ExportImportTest : public test::SpreadsheetFixture {
protected:
    void SetUp() override {
        SpreadsheetFixture::SetUp();
        ASSERT_TRUE(MarketplaceExports::get().ok()) << "make_exports.py failed";
        ASSERT_TRUE(MarketplaceExports::layTable(m_state.folder));
        m_state.database.reset(); // the program under test opens it
    }

    test::CliRun cli(const QStringList& args) {
        return test::runCli(QStringList{QStringLiteral("--data"), m_state.folder.dataPath()} +
                            args);
    }

    test::CliRun importExport(const QString& name) {
        return cli({QStringLiteral("import"), QStringLiteral("--file"),
                    MarketplaceExports::get().path(name)});
    }

    QHash<QString, Order> storedByNumber() {
        QString message;
        auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        OrderReader reader(*database);
        QHash<QString, Order> orders;
        for (qint64 id : OrderStore(*database).allById())
            if (const std::optional<Order> order = reader.byId(id))
                orders.insert(order->orderSign, *order);
        return orders;
    }

    void expectStored(const QHash<QString, Order>& stored, const Expected& expected) {
        SCOPED_TRACE(expected.orderSign.toStdString());
        ASSERT_TRUE(stored.contains(expected.orderSign));
        const Order& order = stored[expected.orderSign];
        EXPECT_EQ(order.buyName, expected.name);
        EXPECT_EQ(order.buyPhone1, expected.phone);
        EXPECT_EQ(order.buyAddressSheng, expected.province);
        EXPECT_EQ(order.buyAddressShi, expected.city);
        EXPECT_EQ(order.buyAddressXian, expected.county);
        EXPECT_EQ(order.buyAddress, expected.address);
        EXPECT_EQ(order.buyGoods.split(QStringLiteral("\r\n")).size(), expected.goodsLines)
            << order.buyGoods.toStdString();
        const GoodsTable table = GoodsTable::fromGoods(order.buyGoods);
        EXPECT_EQ(shortestDecimalText(table.quantity), expected.quantity);
        EXPECT_EQ(shortestDecimalText(table.total), expected.total);
        EXPECT_EQ(order.wuliuCode, expected.tracking);
        EXPECT_EQ(order.djType, 0) << "no export order is merged with another";
    }
};

} // namespace

// Each marketplace's export imports with nothing but the file: every order once, with its
// receiver, places, goods lines that sum right on the shipping list, and tracking number;
// a second import of the same file adds nothing.
TEST_F(ExportImportTest, EveryMarketplaceExportImportsOnceWithNothingToMap) {
    struct File {
        const char* name;
        const char* platform;
        int orders;
        int masked;
    };
    const QList<File> files{{"taobao_orders.csv", "淘宝订单报表", 3, 1},
                            {"pdd.csv", "拼多多", 2, 1},
                            {"douyin.csv", "抖店", 2, 0},
                            {"jd.csv", "京东", 2, 0},
                            {"jd_web.xls", "京东", 2, 0},
                            {"kuaishou.xlsx", "快手", 2, 0},
                            {"kuaishou_2003.xml", "快手", 2, 0},
                            {"xiaohongshu.xlsx", "小红书", 1, 0},
                            {"wechat.xlsx", "微信小店", 3, 2}};
    int total = 0;
    for (const File& file : files) {
        SCOPED_TRACE(file.name);
        const test::CliRun first = importExport(QString::fromUtf8(file.name));
        ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
        const QString masked =
            file.masked ? QStringLiteral("，收件人信息不全%1个").arg(file.masked) : QString();
        EXPECT_EQ(first.out,
                  QStringLiteral("提示:[%1]Excel中共有订单%2个，实提订单%2个，合并订单0个%3。\n")
                      .arg(QString::fromUtf8(file.platform))
                      .arg(file.orders)
                      .arg(masked));
        const test::CliRun again = importExport(QString::fromUtf8(file.name));
        ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
        EXPECT_EQ(again.out,
                  QStringLiteral("提示:[%1]Excel中共有订单%2个，实提订单0个，合并订单0个，"
                                 "已有%2个%3。\n")
                      .arg(QString::fromUtf8(file.platform))
                      .arg(file.orders)
                      .arg(masked));
        total += file.orders;
    }
    const QHash<QString, Order> stored = storedByNumber();
    EXPECT_EQ(stored.size(), total);

    const QList<Expected> expected{
        {"淘宝:3301234567890123401", "王晓明", "13800001111", "浙江省", "杭州市", "西湖区",
         "文三路90号东部软件园", 1, "0", "0", ""},
        {"淘宝:3301234567890123402", "赵丽", "13900002222", "广东省", "广州市", "天河区",
         "体育西路101号", 1, "0", "0", "YT7654321098765"},
        {"拼多多:261201-123456789012345", "刘洋", "13700003333", "湖北省", "武汉市", "洪山区",
         "珞喻路1037号", 1, "3", "100", ""},
        {"拼多多:261201-123456789012346", "孙**", "137****4444", "江苏省", "南京市", "鼓楼区",
         "****", 1, "1", "45", "ZT1234567890"},
        {"抖店:6934567890123456789", "黄磊", "15800005555", "山东省", "青岛市", "市南区",
         "八大关街道香港中路10号", 2, "3", "144.8", ""},
        {"抖店:6934567890123456792", "何静", "15900006666", "贵州省", "贵阳市", "花溪区",
         "花溪大道北段218号", 1, "1", "59.9", ""},
        {"京东:310012345678", "马超", "13600007777", "河南省", "郑州市", "金水区", "花园路100号", 2,
         "3", "119", ""},
        // The web page's cells: guards, &nbsp; and entities gone, a <br> only a line break.
        {"京东:310012345680", "林晓", "13700001212", "河北省", "石家庄市", "长安区", "中山东路5号",
         2, "3", "98.8", ""},
        {"京东:310012345681", "韩梅", "13600003434", "山西省", "太原市", "小店区", "长风街8号", 1,
         "1", "59", ""},
        {"快手:2412012345678902", "郑强", "13200001234", "云南省", "昆明市", "五华区",
         "华山南路6号", 1, "3", "19.5", ""},
        {"快手:2412012345678904", "蒋涛", "13000004321", "湖北省", "宜昌市", "西陵区",
         "东山大道3号", 1, "2", "24", ""},
        {"小红书:P761234567890123456", "钱芳", "13100002345", "陕西省", "西安市", "雁塔区",
         "小寨东路1号", 2, "3", "148.5", ""},
        {"微信小店:3712345678901234567", "周丽", "13212345774-1234", "宁夏回族自治区", "银川市",
         "兴庆区", "解放西街3号", 1, "1", "128", ""},
        {"微信小店:3712345678901234568", "林**", "183****2807", "广西壮族自治区", "南宁市",
         "青秀区", "****", 2, "3", "55", ""},
    };
    for (const Expected& order : expected)
        expectStored(stored, order);
    EXPECT_EQ(stored[QStringLiteral("淘宝:3301234567890123402")].deliveryCode,
              QStringLiteral("圆通速递"));
    EXPECT_EQ(stored[QStringLiteral("淘宝:3301234567890123401")].buyZipcode,
              QStringLiteral("310012"));
    EXPECT_EQ(stored[QStringLiteral("抖店:6934567890123456792")].buyLy,
              QStringLiteral("送货前电话联系"));
    const Order web = stored[QStringLiteral("京东:310012345680")];
    EXPECT_TRUE(web.buyGoods.startsWith(QStringLiteral("儿童T恤&短裤套装 编码:TS-KID 1 79\r\n"
                                                       "袜子 <3双装> 编码:SOCK-3 2 9.9")))
        << web.buyGoods.toStdString();
    EXPECT_EQ(web.buyLy.split(QRegularExpression(QStringLiteral("\\s+"))),
              (QStringList{QStringLiteral("周末送货"), QStringLiteral("请电话联系")}));
    EXPECT_TRUE(stored[QStringLiteral("抖店:6934567890123456789")].buyLy.isEmpty())
        << "\"-\" is the export's empty cell";
    const GoodsSku::NameAndSku shirt = GoodsSku::split(
        stored[QStringLiteral("抖店:6934567890123456789")].buyGoods.section(u' ', 0, 3));
    EXPECT_EQ(shirt.sku, QStringLiteral("TS-W-XL"));
    EXPECT_EQ(shirt.name, QStringLiteral("纯棉T恤 白色 XL"));

    // The orders shipped elsewhere and the masked ones, as the list's filters show them.
    const test::CliRun shipped =
        cli({QStringLiteral("orders"), QStringLiteral("--state"), QStringLiteral("别处已发货")});
    EXPECT_TRUE(shipped.out.contains(QStringLiteral("总计2条"))) << shipped.out.toStdString();
    const test::CliRun masked =
        cli({QStringLiteral("orders"), QStringLiteral("--state"), MaskedReceiver::kMark});
    EXPECT_TRUE(masked.out.contains(QStringLiteral("总计4条"))) << masked.out.toStdString();
}

// The goods report of 淘宝 completes the orders of its orders report in either order, and a
// later export with the full receiver completes a masked order: no order is stored twice.
TEST_F(ExportImportTest, ASecondReportCompletesTheOrdersOfTheFirst) {
    ASSERT_EQ(importExport(QStringLiteral("taobao_goods.csv")).exitCode, 0);
    const test::CliRun orders = importExport(QStringLiteral("taobao_orders.csv"));
    ASSERT_EQ(orders.exitCode, 0) << orders.err.toStdString();
    EXPECT_EQ(orders.out, QStringLiteral("提示:[淘宝订单报表]Excel中共有订单3个，实提订单0个，"
                                         "合并订单0个，补全3个，收件人信息不全1个。\n"));
    const test::CliRun goodsAgain = importExport(QStringLiteral("taobao_goods.csv"));
    EXPECT_TRUE(goodsAgain.out.contains(QStringLiteral("已有3个"))) << goodsAgain.out.toStdString();

    ASSERT_EQ(importExport(QStringLiteral("wechat.xlsx")).exitCode, 0);
    const test::CliRun later = importExport(QStringLiteral("wechat_later.xlsx"));
    EXPECT_EQ(later.out, QStringLiteral("提示:[微信小店]Excel中共有订单1个，实提订单0个，"
                                        "合并订单0个，补全1个。\n"));

    const QHash<QString, Order> stored = storedByNumber();
    EXPECT_EQ(stored.size(), 6);
    expectStored(stored, {"淘宝:3301234567890123401", "王晓明", "13800001111", "浙江省", "杭州市",
                          "西湖区", "文三路90号东部软件园", 2, "3", "118", ""});
    const Order shirt = stored[QStringLiteral("淘宝:3301234567890123401")];
    EXPECT_TRUE(shirt.buyGoods.startsWith(
        QStringLiteral("棉麻衬衫 颜色分类:白色 尺码:L 编码:SHIRT-W-L 1 79\r\n")))
        << "a variant's \";\" would split the goods line";
    expectStored(stored, {"微信小店:3712345678901234568", "林小梅", "18312342807", "广西壮族自治区",
                          "南宁市", "青秀区", "民族大道100号", 2, "3", "55", ""});
    EXPECT_FALSE(MaskedReceiver::isMasked(stored[QStringLiteral("微信小店:3712345678901234568")]));
    EXPECT_TRUE(MaskedReceiver::isMasked(stored[QStringLiteral("微信小店:3712345678901234569")]))
        << "the other 林** stays masked and on its own";
}

// A masked receiver's waybill is refused with the order named and what to do; its shipping
// list prints.
TEST_F(ExportImportTest, AMaskedOrderGetsItsShippingListButNoWaybill) {
    ASSERT_EQ(importExport(QStringLiteral("wechat.xlsx")).exitCode, 0);
    const Order masked = storedByNumber()[QStringLiteral("微信小店:3712345678901234569")];
    const QString id = QString::number(masked.id);
    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    const test::CliRun waybill = cli({QStringLiteral("print"), QStringLiteral("waybill"),
                                      QStringLiteral("--ids"), id, QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(waybill.exitCode, 1);
    EXPECT_TRUE(waybill.err.contains(QStringLiteral("订单微信小店:3712345678901234569")))
        << waybill.err.toStdString();
    EXPECT_TRUE(waybill.err.contains(QStringLiteral("网店自己的打单工具")));
    EXPECT_FALSE(QFile::exists(pdf));

    const test::CliRun list = cli({QStringLiteral("print"), QStringLiteral("shiplist"),
                                   QStringLiteral("--ids"), id, QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_TRUE(QFile::exists(pdf));
}

// A row cut short is named by its line and the rest imported; a file of no known layout names
// the headers it has and the fields it lacks, and stores nothing.
TEST_F(ExportImportTest, BadRowsAndUnknownLayoutsAreToldInTheSellersWords) {
    const test::CliRun cut = importExport(QStringLiteral("pdd_cut.csv"));
    ASSERT_EQ(cut.exitCode, 0) << cut.err.toStdString();
    EXPECT_TRUE(cut.out.contains(QStringLiteral("共有订单2个，实提订单2个")))
        << cut.out.toStdString();
    EXPECT_TRUE(cut.err.contains(QStringLiteral("第4行只有4列，比表头少，缺了买家姓名")))
        << cut.err.toStdString();

    const test::CliRun unknown = importExport(QStringLiteral("unknown.csv"));
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("表格中的表头：日期、客户、金额")))
        << unknown.err.toStdString();
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("收货地址")));
    EXPECT_EQ(storedByNumber().size(), 2);
}
