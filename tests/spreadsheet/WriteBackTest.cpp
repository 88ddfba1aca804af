#include "FullDisk.h"
#include "MarketplaceExports.h"
#include "SpreadsheetFixture.h"

#include "spreadsheet/ExportLayouts.h"
#include "spreadsheet/WriteBack.h"

using namespace mldd;
using test::TestWorkbooks;

namespace {

class WriteBackTest : public test::SpreadsheetFixture {
protected:
    // Marks every stored order printed, with a tracking number made of its id.
    void printAll() {
        QSqlQuery(m_state.database->connection())
            .exec(QStringLiteral(
                "update order_data set kd_sign = 1, wuliu_code = 'YT' || (9000 + id)"));
    }

    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static QStringList changedCells(const QString& before, const QString& after) {
        return test::TestWorkbooks::make({QStringLiteral("compare"), before, after})
            .split(u'\n', Qt::SkipEmptyParts);
    }
};

} // namespace

// Only the two new columns change; other cells, sheets (the hidden one too) and formats stay.
TEST_F(WriteBackTest, XlsxGainsCourierAndTrackingColumnsAndNothingElse) {
    const QString path = copyOf(QStringLiteral("orders.xlsx"));
    imported(path, ordersLayout());
    m_state.settings.selectKD.clear();
    // Only printed orders are written: the second row's order stays unprinted.
    printAll();
    QSqlQuery(m_state.database->connection())
        .exec(QStringLiteral("update order_data set kd_sign = 0 where buy_name = '张伟'"));

    const WriteBack::Result result =
        WriteBack::run(m_state, path, ordersLayout(), QStringLiteral("订单"));
    ASSERT_TRUE(result.ok) << result.notice.text.toStdString();
    EXPECT_EQ(result.written, 3);
    EXPECT_EQ(result.notPrinted, 1);
    EXPECT_EQ(changedCells(TestWorkbooks::get().path(QStringLiteral("orders.xlsx")), path),
              (QStringList{"订单!L1", "订单!M1", "订单!L2", "订单!M2", "订单!L4", "订单!M4",
                           "订单!L5", "订单!M5"}));

    const SheetTable sheet = readSheet(path, QStringLiteral("订单"));
    EXPECT_EQ(sheet.cell(0, 11), QStringLiteral("快递公司"));
    EXPECT_EQ(sheet.cell(0, 12), QStringLiteral("快递单号"));
    EXPECT_EQ(sheet.cell(1, 11), QStringLiteral("圆通"));
    EXPECT_EQ(sheet.cell(1, 12), QStringLiteral("YT9001"));
    // The merged row ships in the parcel of the order that took it in.
    EXPECT_EQ(sheet.cell(4, 12), sheet.cell(3, 12));

    // A second write-back finds the columns by their headers and adds none.
    const WriteBack::Result again =
        WriteBack::run(m_state, path, ordersLayout(), QStringLiteral("订单"));
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(readSheet(path, QStringLiteral("订单")).columnCount(), 13);

    // After a waybill run the print run asks about the workbook its orders came from.
    const QList<Order> stored = storedOrders();
    EXPECT_EQ(WriteBack::workbooksOf(m_state, {stored.first().id, stored.last().id}),
              QStringList{path});
    EXPECT_EQ(WriteBack::questionAfterPrint({path})->buttons, Notice::Buttons::YesNo);
    EXPECT_FALSE(WriteBack::questionAfterPrint({}));
}

// A write-back that does not fit on the disk says so and leaves the workbook as it was.
TEST_F(WriteBackTest, AFullDiskLeavesTheWorkbookAsItWas) {
    test::FullDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString path = disk.path(QStringLiteral("b.xlsx"));
    ASSERT_TRUE(QFile::copy(copyOf(QStringLiteral("orders.xlsx")), path));
    imported(path, ordersLayout());
    printAll();
    const QByteArray before = bytesOf(path);
    ASSERT_GT(before.size(), 4096);
    disk.fill(4096);

    const WriteBack::Result result =
        WriteBack::run(m_state, path, ordersLayout(), QStringLiteral("订单"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.notice.text.contains(QStringLiteral("磁盘空间已满")))
        << result.notice.text.toStdString();
    EXPECT_EQ(bytesOf(path), before);
}

TEST_F(WriteBackTest, ChosenColumnsCsvAndXls) {
    // The columns chosen in the layout are written, here into an inline-string workbook.
    const QString inlinePath = copyOf(QStringLiteral("inline.xlsx"));
    ImportLayout layout;
    layout.sender = QString::fromUtf8(kSender);
    layout.expressions[ImportLayout::BuyerName] = *ColumnExpression::parse(QStringLiteral("B"));
    layout.expressions[ImportLayout::Address] = *ColumnExpression::parse(QStringLiteral("C"));
    layout.expressions[ImportLayout::TrackingColumn] =
        *ColumnExpression::parse(QStringLiteral("E"));
    layout.expressions[ImportLayout::CourierColumn] = *ColumnExpression::parse(QStringLiteral("G"));
    imported(inlinePath, layout);
    printAll();
    ASSERT_TRUE(WriteBack::run(m_state, inlinePath, layout, QStringLiteral("Sheet1")).ok);
    const QStringList changed =
        changedCells(TestWorkbooks::get().path(QStringLiteral("inline.xlsx")), inlinePath);
    EXPECT_EQ(changed, (QStringList{"Sheet1!G1", "Sheet1!E2", "Sheet1!G2", "Sheet1!E3", "Sheet1!G3",
                                    "Sheet1!E4", "Sheet1!G4"}));

    // A GBK text file keeps every other byte; the new fields follow each line's last one.
    const QString tsvPath = copyOf(QStringLiteral("orders-gbk.txt"));
    QSqlQuery(m_state.database->connection()).exec(QStringLiteral("delete from order_data"));
    imported(tsvPath, layout);
    printAll();
    const QByteArray before = fileBytes(tsvPath);
    ASSERT_TRUE(WriteBack::run(m_state, tsvPath, layout, QStringLiteral("orders-gbk")).ok);
    const QString text = TextCodec::fromGbk(fileBytes(tsvPath));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.at(0), QStringLiteral("单号\t姓名\t地址\t商品\t快递单号\t\t快递公司"));
    EXPECT_TRUE(lines.at(3).startsWith(QStringLiteral("C2\t\"赵\"\"六\"\"\"")));
    EXPECT_TRUE(lines.at(3).endsWith(QStringLiteral("伞, 大号 1\tYT") +
                                     QString::number(9000 + storedOrders().last().id) +
                                     QStringLiteral("\t\t圆通")))
        << lines.at(3).toStdString();
    // The quoted goods with their line break stand as they were, the new fields after them.
    const QString firstRecord = TextCodec::fromGbk(before).section(QStringLiteral("\r\n"), 1, 2);
    EXPECT_TRUE(text.contains(firstRecord + u'\t')) << firstRecord.toStdString();

    // An .xls stays as it is; the numbers go into a new .xlsx beside it.
    const QString xlsPath = m_dir.filePath(QStringLiteral("orders.xls"));
    QFile::copy(QStringLiteral(MLDD_TEST_DATA "/data/orders.xls"), xlsPath);
    ImportLayout xlsLayout = layout;
    xlsLayout.expressions[ImportLayout::Address] = *ColumnExpression::parse(QStringLiteral("D"));
    xlsLayout.expressions[ImportLayout::TrackingColumn] = ColumnExpression();
    xlsLayout.expressions[ImportLayout::CourierColumn] = ColumnExpression();
    imported(xlsPath, xlsLayout);
    printAll();
    const QByteArray xlsBefore = fileBytes(xlsPath);
    const WriteBack::Result xls =
        WriteBack::run(m_state, xlsPath, xlsLayout, QStringLiteral("订单"));
    ASSERT_TRUE(xls.ok) << xls.notice.text.toStdString();
    EXPECT_EQ(fileBytes(xlsPath), xlsBefore);
    EXPECT_TRUE(xls.notice.text.contains(QStringLiteral("orders-快递单号.xlsx")));
    const SheetTable written = readSheet(xls.writtenFile);
    EXPECT_EQ(written.cell(1, 1), QStringLiteral("王五"));
    EXPECT_EQ(written.cell(0, 6), QStringLiteral("快递单号"));
    EXPECT_EQ(written.cell(2, 5), QStringLiteral("圆通"));
}

// With an order-number column the number finds each row's order: the seller may sort the rows
// or add a row for the same buyer after the import; a row whose order is not found is named.
TEST_F(WriteBackTest, TheOrderNumberIsTheKeyAndRowsWithoutAnOrderAreNamed) {
    const QString path = m_dir.filePath(QStringLiteral("week.csv"));
    const auto write = [&](const QStringList& lines) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    };
    const QString header = QStringLiteral("单号,姓名,电话,电话2,省,地址,商品,留言");
    const QString wang =
        QStringLiteral("A1001,王芳,13800000001,,,浙江省杭州市西湖区文三路1号,杯子 1,");
    const QString zhao =
        QStringLiteral("A1002,赵磊,13800000002,,,江苏省南京市鼓楼区中山路2号,伞 1,");
    write({header, wang, zhao});
    ImportLayout layout = ordersLayout();
    layout.expressions[ImportLayout::Province] = ColumnExpression();
    imported(path, layout);
    printAll();
    qint64 wangId = 0, zhaoId = 0;
    for (const Order& order : storedOrders())
        (order.orderSign == u"A1001" ? wangId : zhaoId) = order.id;

    // Sorted by name, and a new order of 赵磊 typed below after the import.
    write({header, zhao, wang,
           QStringLiteral("A1003,赵磊,13800000002,,,江苏省南京市鼓楼区中山路2号,帽子 1,")});
    const WriteBack::Result result = WriteBack::run(m_state, path, layout, QStringLiteral("week"));
    ASSERT_TRUE(result.ok) << result.notice.text.toStdString();
    EXPECT_EQ(result.written, 2);
    const QStringList lines = QString::fromUtf8(fileBytes(path)).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.at(1).contains(QStringLiteral("YT%1").arg(9000 + zhaoId)))
        << lines.at(1).toStdString();
    EXPECT_TRUE(lines.at(2).contains(QStringLiteral("YT%1").arg(9000 + wangId)))
        << lines.at(2).toStdString();
    EXPECT_FALSE(lines.at(3).contains(QStringLiteral("YT"))) << lines.at(3).toStdString();
    EXPECT_TRUE(result.notice.text.contains(QStringLiteral("1行")) &&
                result.notice.text.contains(QStringLiteral("第4行（A1003 赵磊）")))
        << result.notice.text.toStdString();
}

TEST_F(WriteBackTest, AnOpenOrReadOnlyFileIsLeftAlone) {
    const QString path = copyOf(QStringLiteral("orders.xlsx"));
    imported(path, ordersLayout());
    printAll();
    const QByteArray before = fileBytes(path);

    QFile lock(m_dir.filePath(QStringLiteral(".~lock.orders.xlsx#")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    WriteBack::Result result =
        WriteBack::run(m_state, path, ordersLayout(), QStringLiteral("订单"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.notice.text.contains(QStringLiteral("正在被表格软件打开")));
    lock.remove();

    QFile(path).setPermissions(QFile::ReadOwner | QFile::ReadGroup);
    result = WriteBack::run(m_state, path, ordersLayout(), QStringLiteral("订单"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.notice.text.contains(QStringLiteral("是只读的")));
    EXPECT_EQ(fileBytes(path), before);

    // A file that cannot be read is refused in write-back's words, never in the import's.
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(before.left(before.size() / 2));
    damaged.close();
    const QByteArray cut = fileBytes(path);
    for (const auto& refused :
         {WriteBack::run(m_state, path, ordersLayout(), QStringLiteral("订单")).notice,
          std::get<Notice>(WriteBack::targetOf(m_state, path))}) {
        EXPECT_TRUE(refused.text.endsWith(QStringLiteral("表格文件没有改动。")))
            << refused.text.toStdString();
        EXPECT_FALSE(refused.text.contains(QStringLiteral("导入订单")))
            << refused.text.toStdString();
    }
    EXPECT_EQ(fileBytes(path), cut);
}

// An export writes an order of several goods as several rows: each of them is the parcel's row
// and gets its tracking number. A web-page .xls cannot be rewritten: a new .xlsx beside it.
TEST_F(WriteBackTest, EveryGoodsRowOfAnOrderGetsItsTrackingNumber) {
    ASSERT_TRUE(test::MarketplaceExports::get().ok());
    ASSERT_TRUE(test::MarketplaceExports::layTable(m_state.folder));
    const QString path = m_dir.filePath(QStringLiteral("jd_web.xls"));
    ASSERT_TRUE(
        QFile::copy(test::MarketplaceExports::get().path(QStringLiteral("jd_web.xls")), path));
    const SheetTable sheet = readSheet(path);
    const ExportLayouts::Recognition found =
        ExportLayouts::forSheet(m_state.folder, m_state.log, sheet, m_state.profiles);
    ASSERT_TRUE(found.recognized);
    imported(path, found.layout);
    printAll();

    const WriteBack::Result result = WriteBack::run(m_state, path, found.layout, sheet.name);
    ASSERT_TRUE(result.ok) << result.notice.text.toStdString();
    EXPECT_EQ(result.written, 2);
    EXPECT_EQ(result.writtenFile, m_dir.filePath(QStringLiteral("jd_web-快递单号.xlsx")));
    const SheetTable written = readSheet(result.writtenFile);
    const int header = found.layout.headerRow - 1;
    const int tracking = int(written.rows.value(header).indexOf(QStringLiteral("快递单号")));
    ASSERT_GE(tracking, 0);
    // Two goods rows of the first order, one of the second.
    EXPECT_TRUE(written.cell(header + 1, tracking).startsWith(QStringLiteral("YT")));
    EXPECT_EQ(written.cell(header + 2, tracking), written.cell(header + 1, tracking));
    EXPECT_TRUE(written.cell(header + 3, tracking).startsWith(QStringLiteral("YT")));
    EXPECT_NE(written.cell(header + 3, tracking), written.cell(header + 1, tracking));
    EXPECT_EQ(written.cell(header + 2, 2), QStringLiteral("袜子 <3双装>"));
}

TEST(WriteBackCourier, TheCourierNameIsTheFirstOneTheTemplateNames) {
    const QStringList names{QStringLiteral("圆通"), QStringLiteral("EMS")};
    EXPECT_EQ(WriteBack::courierName(QStringLiteral("圆通(新版)"), names), QStringLiteral("圆通"));
    EXPECT_EQ(WriteBack::courierName(QStringLiteral("京东"), names), QStringLiteral("京东"));
}
