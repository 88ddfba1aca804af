#include "CliRun.h"
#include "SpreadsheetFixture.h"
#include "XmlSpreadsheets.h"

#include "core/TextFile.h"

using namespace mldd;
using test::TestWorkbooks;

namespace {

const QStringList kMaps{QStringLiteral("--map"), QStringLiteral("买家公司或订单编号=A"),
                        QStringLiteral("--map"), QStringLiteral("买家姓名=B"),
                        QStringLiteral("--map"), QStringLiteral("买家电话1=D"),
                        QStringLiteral("--map"), QStringLiteral("收货地址=F"),
                        QStringLiteral("--map"), QStringLiteral("商品内容=G")};

class CliImportTest : public test::SpreadsheetFixture {
protected:
    void SetUp() override {
        SpreadsheetFixture::SetUp();
        m_state.database.reset(); // the program under test opens it
        m_big = copyOf(QStringLiteral("big.xlsx"));
    }

    QStringList importArgs(const QStringList& maps = kMaps) const {
        return QStringList{QStringLiteral("--data"),
                           m_state.folder.dataPath(),
                           QStringLiteral("import"),
                           QStringLiteral("--file"),
                           m_big,
                           QStringLiteral("--layout"),
                           QStringLiteral("店铺导出"),
                           QStringLiteral("--sender"),
                           QString::fromUtf8(kSender),
                           QStringLiteral("--template"),
                           QStringLiteral("圆通")} +
               maps;
    }

    qsizetype storedCount() {
        QString message;
        auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
        return qsizetype(OrderStore(*database).allById().size());
    }

    // Every stored order printed with a tracking number, then written back into the workbook.
    test::CliRun printAndWriteBack() {
        {
            QString message;
            auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
            QSqlQuery(database->connection())
                .exec(QStringLiteral("update order_data set kd_sign = 1, wuliu_code = 'ZT' || id"));
        }
        return test::runCli({QStringLiteral("--data"), m_state.folder.dataPath(),
                             QStringLiteral("writeback"), QStringLiteral("--file"), m_big,
                             QStringLiteral("--layout"), QStringLiteral("店铺导出")});
    }

    QString m_big;
};

} // namespace

// The 10,000-row workbook: imported once with the right counts, never twice, and
// written back into its two new columns only.
TEST_F(CliImportTest, ATenThousandRowWorkbookImportsOnceAndTakesItsNumbersBack) {
    const test::CliRun bad =
        test::runCli(importArgs({QStringLiteral("--map"), QStringLiteral("地址=F")}));
    EXPECT_EQ(bad.exitCode, 2);
    const test::CliRun noAddress =
        test::runCli(importArgs({QStringLiteral("--map"), QStringLiteral("买家姓名=B")}));
    EXPECT_EQ(noAddress.exitCode, 1);
    EXPECT_EQ(noAddress.err, QStringLiteral("地址不能空，请匹配！\n"));

    const test::CliRun first = test::runCli(importArgs());
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(first.out,
              QStringLiteral("提示:Excel中共有订单10000个，实提订单9000个，合并订单1000个。\n"));
    // The second run uses the layout the first one saved.
    const test::CliRun second = test::runCli(
        {QStringLiteral("--data"), m_state.folder.dataPath(), QStringLiteral("import"),
         QStringLiteral("--file"), m_big, QStringLiteral("--layout"), QStringLiteral("店铺导出")});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(
        second.out,
        QStringLiteral("提示:Excel中共有订单10000个，实提订单0个，合并订单0个，已有10000个。\n"));
    EXPECT_EQ(storedCount(), 10000);

    const test::CliRun written = printAndWriteBack();
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_EQ(written.out, QStringLiteral("已把10000个订单的快递单号和快递公司写入 big.xlsx。\n"));
    const QStringList changed =
        TestWorkbooks::make({QStringLiteral("compare"),
                             TestWorkbooks::get().path(QStringLiteral("big.xlsx")), m_big})
            .split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(changed.size(), 2 * 10001);
    EXPECT_TRUE(std::all_of(changed.begin(), changed.end(), [](const QString& cell) {
        return cell.startsWith(QStringLiteral("订单!K")) ||
               cell.startsWith(QStringLiteral("订单!L"));
    }));
    const SheetTable sheet = readSheet(m_big);
    EXPECT_EQ(sheet.cell(10, 11), sheet.cell(9, 11)) << "a merged row takes its parcel's number";
}

// An import killed at any moment leaves the order table as it was before.
TEST_F(CliImportTest, AKilledImportStoresNothing) {
    const QString clean = m_dir.filePath(QStringLiteral("clean.db"));
    ASSERT_TRUE(QFile::copy(m_state.folder.databasePath(), clean));
    int cut = 0;
    for (int delayMs : {120, 200, 280, 360}) {
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(m_state.folder.databasePath() + suffix);
        QFile::copy(clean, m_state.folder.databasePath());
        const bool killed = test::runCliKilledAfter(importArgs(), delayMs);
        const qsizetype stored = storedCount();
        // A kill after the commit, while the program still reports, leaves every order.
        EXPECT_TRUE(stored == 0 || stored == 10000) << "after " << delayMs << " ms: " << stored;
        cut += killed && stored == 0 ? 1 : 0;
    }
    EXPECT_GT(cut, 0)
        << "no import was cut before its commit; the workbook is too small to test this";
}

// An older export in the XML workbook format imports as the seller's workbooks do; a broken one
// is refused and the orders imported before stay.
TEST_F(CliImportTest, AnXmlWorkbookImportsAndABrokenOneLosesNothing) {
    const QByteArray sheet = test::xmlSpreadsheet(R"(<Worksheet ss:Name="订单"><Table>
   <Row><Cell><Data ss:Type="String">订单编号</Data></Cell><Cell><Data ss:Type="String">收货人</Data>
    </Cell><Cell ss:Index="4"><Data ss:Type="String">电话</Data></Cell><Cell ss:Index="6"><Data
    ss:Type="String">地址</Data></Cell><Cell><Data ss:Type="String">商品</Data></Cell></Row>
   <Row><Cell><Data ss:Type="Number">1.2345678901234567E+18</Data></Cell><Cell ss:MergeAcross="1"><Data
    ss:Type="String">周小燕</Data></Cell><Cell><Data ss:Type="Number">13800138000</Data></Cell>
    <Cell ss:Index="6"><Data ss:Type="String">浙江省杭州市西湖区文三路90号</Data></Cell>
    <Cell><Data ss:Type="String">茶杯 2</Data></Cell></Row>
   <Row ss:Index="4"><Cell><Data ss:Type="Number">2851234567890123</Data></Cell><Cell><Data
    ss:Type="String">吴建国</Data></Cell><Cell ss:Index="6"><Data
    ss:Type="String">广东省深圳市南山区科技园南路8号</Data></Cell><Cell><Data
    ss:Type="String">台灯 1</Data></Cell></Row></Table></Worksheet>)");
    m_big = m_dir.filePath(QStringLiteral("旧版导出.xls"));
    ASSERT_TRUE(TextFile::writeBytes(m_big, sheet));
    const test::CliRun run = test::runCli(importArgs());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("提示:Excel中共有订单2个，实提订单2个，合并订单0个。\n"));
    QString message;
    auto database = OrderDatabase::open(m_state.folder.databasePath(), &message);
    const std::vector<qint64> ids = OrderStore(*database).allById();
    QStringList stored;
    for (const Order& order : OrderStore(*database).byIds(QList<qint64>(ids.begin(), ids.end())))
        stored.append(QStringList{order.orderSign, order.buyName, order.buyPhone1,
                                  order.buyAddressSheng, order.buyGoods}
                          .join(u'|'));
    EXPECT_EQ(stored,
              (QStringList{QStringLiteral("1234567890123456700|周小燕|13800138000|浙江省|茶杯 2"),
                           QStringLiteral("2851234567890123|吴建国||广东省|台灯 1")}));

    // Printed, the tracking numbers go back into a new workbook beside it.
    const test::CliRun written = printAndWriteBack();
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_TRUE(written.out.startsWith(QStringLiteral("已把2个订单的快递单号和快递公司写入 "
                                                      "旧版导出-快递单号.xlsx。\r\n.xls文件")))
        << written.out.toStdString();
    EXPECT_EQ(readSheet(m_dir.filePath(QStringLiteral("旧版导出-快递单号.xlsx"))).cell(3, 0),
              QStringLiteral("2851234567890123"));

    // Cut off as an interrupted download leaves it: refused, and the two orders stay.
    ASSERT_TRUE(TextFile::writeBytes(m_big, sheet.first(sheet.size() - 40)));
    const test::CliRun broken = test::runCli(importArgs());
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.contains(QStringLiteral("表格文件 旧版导出.xls 不完整或已经损坏")))
        << broken.err.toStdString();
    EXPECT_EQ(storedCount(), 2);
}
