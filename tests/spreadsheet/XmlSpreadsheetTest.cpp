#include "XmlSpreadsheets.h"

#include "spreadsheet/Workbook.h"

#include "core/TextCodec.h"
#include "core/TextFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace mldd;

namespace {

// A notes sheet, a hidden one, and the orders the workbook opens on: a long order number, rich
// text with a comment of its own, merges across and down, skipped rows and cells, every type,
// number formats of styles.
const QByteArray kOrderSheets = R"(
 <ExcelWorkbook xmlns="urn:schemas-microsoft-com:office:excel"><ActiveSheet>2</ActiveSheet></ExcelWorkbook>
 <Styles>
  <Style ss:ID="Default" ss:Name="Normal"><Alignment ss:Vertical="Center"/></Style>
  <Style ss:ID="s21"><NumberFormat ss:Format="00000000000"/></Style>
  <Style ss:ID="s22"><NumberFormat ss:Format="General Date"/></Style>
 </Styles>
 <Worksheet ss:Name="说明">
  <Table><Row><Cell><Data ss:Type="String">店铺导出 &amp; 说明</Data></Cell></Row></Table>
 </Worksheet>
 <Worksheet ss:Name="旧表">
  <Table><Row><Cell><Data ss:Type="String">不再用</Data></Cell></Row></Table>
  <WorksheetOptions xmlns="urn:schemas-microsoft-com:office:excel">
   <Visible>SheetHidden</Visible>
  </WorksheetOptions>
 </Worksheet>
 <Worksheet ss:Name="订单">
  <Table ss:ExpandedColumnCount="7" ss:ExpandedRowCount="6" x:FullColumns="1">
   <Column ss:Width="120"/>
   <Row>
    <Cell><Data ss:Type="String">订单号</Data></Cell>
    <Cell><Data ss:Type="String">收货人</Data></Cell>
    <Cell><Data ss:Type="String">下单时间</Data></Cell>
    <Cell><Data ss:Type="String">电话</Data></Cell>
    <Cell ss:MergeAcross="1"><Data ss:Type="String">地址</Data></Cell>
    <Cell><Data ss:Type="String">商品</Data></Cell>
   </Row>
   <Row>
    <Cell><Data ss:Type="Number">1.2345678901234567E+18</Data></Cell>
    <Cell ss:MergeDown="1"><ss:Data ss:Type="String" xmlns="http://www.w3.org/TR/REC-html40"><B>林</B><Font html:Color="#FF0000">晓</Font>梅</ss:Data><Comment ss:Author="店长"><ss:Data xmlns="http://www.w3.org/TR/REC-html40"><B>老客户</B></ss:Data></Comment></Cell>
    <Cell><Data ss:Type="DateTime">2024-12-05T10:30:00.000</Data></Cell>
    <Cell><Data ss:Type="Number">13800138000</Data></Cell>
    <Cell ss:MergeAcross="1"><Data ss:Type="String">浙江省杭州市西湖区文三路90号</Data></Cell>
    <Cell><Data ss:Type="String">棉麻衬衫 白色 L 1&#10;帆布包 2</Data></Cell>
   </Row>
   <Row>
    <Cell><Data ss:Type="Number">2851234567890123</Data></Cell>
    <Cell ss:StyleID="s22"><Data ss:Type="DateTime">2024-12-06T00:00:00.000</Data></Cell>
    <Cell ss:StyleID="s21"><Data ss:Type="Number">2164001234</Data></Cell>
    <Cell ss:Index="7"><Data ss:Type="String">手工皂 3</Data></Cell>
   </Row>
   <Row ss:Index="6">
    <Cell ss:Index="2"><Data ss:Type="Boolean">1</Data></Cell>
    <Cell><Data ss:Type="Error">#N/A</Data></Cell>
    <Cell ss:Formula="=1+1"/>
    <Cell><Data ss:Type="Number">89.5</Data></Cell>
   </Row>
  </Table>
 </Worksheet>
)";

// The workbook's visible sheet names and the sheet it opens on.
using OpenedSheet = std::pair<QStringList, SheetTable>;

class XmlSpreadsheetTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(TextFile::writeBytes(path, bytes));
        return path;
    }

    // The sheets of the workbook, or the text of its refusal.
    static std::variant<OpenedSheet, QString> opened(const QString& path) {
        std::variant<std::unique_ptr<Workbook>, Notice> book = Workbook::open(path);
        if (auto* notice = std::get_if<Notice>(&book))
            return notice->text;
        const Workbook& workbook = *std::get<std::unique_ptr<Workbook>>(book);
        const QStringList names = workbook.sheetNames();
        std::variant<SheetTable, Notice> read = workbook.read(names.value(workbook.activeSheet()));
        if (auto* notice = std::get_if<Notice>(&read))
            return notice->text;
        return std::pair{names, std::get<SheetTable>(read)};
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(XmlSpreadsheetTest, CellsReadWhereTheSpreadsheetProgramShowsThem) {
    const auto read =
        opened(write(QStringLiteral("orders.xls"), test::xmlSpreadsheet(kOrderSheets)));
    ASSERT_FALSE(std::holds_alternative<QString>(read)) << std::get<QString>(read).toStdString();
    const auto& [names, sheet] = std::get<OpenedSheet>(read);
    EXPECT_EQ(names, (QStringList{QStringLiteral("说明"), QStringLiteral("订单")}));
    EXPECT_EQ(sheet.name, QStringLiteral("订单"));
    EXPECT_EQ(sheet.rows,
              (QList<QStringList>{
                  {QStringLiteral("订单号"), QStringLiteral("收货人"), QStringLiteral("下单时间"),
                   QStringLiteral("电话"), QStringLiteral("地址"), QStringLiteral("地址"),
                   QStringLiteral("商品")},
                  {QStringLiteral("1234567890123456700"), QStringLiteral("林晓梅"),
                   QStringLiteral("2024-12-05 10:30:00"), QStringLiteral("13800138000"),
                   QStringLiteral("浙江省杭州市西湖区文三路90号"),
                   QStringLiteral("浙江省杭州市西湖区文三路90号"),
                   QStringLiteral("棉麻衬衫 白色 L 1\n帆布包 2")},
                  // The name merged down takes this row's second cell, and reads there as the sheet
                  // shows it; the next cell goes past it. A styled date and a zero-padded phone
                  // number read as the sheet shows them.
                  {QStringLiteral("2851234567890123"), QStringLiteral("林晓梅"),
                   QStringLiteral("2024/12/6 0:00"), QStringLiteral("02164001234"), QString(),
                   QString(), QStringLiteral("手工皂 3")},
                  {},
                  {},
                  {QString(), QStringLiteral("TRUE"), QStringLiteral("#N/A"), QString(),
                   QStringLiteral("89.5")}}));
    EXPECT_EQ(sheet.errors.value(SheetTable::cellKey(5, 2)), QStringLiteral("#N/A"));
    EXPECT_TRUE(sheet.uncalculated.contains(SheetTable::cellKey(5, 3)));

    // The same workbook named .xml, and saved by a program that writes GB2312.
    const auto xml =
        opened(write(QStringLiteral("orders.xml"), test::xmlSpreadsheet(kOrderSheets)));
    ASSERT_FALSE(std::holds_alternative<QString>(xml));
    EXPECT_EQ(std::get<OpenedSheet>(xml).second.rows, sheet.rows);
    QByteArray gb = TextCodec::toGb18030(QString::fromUtf8(test::xmlSpreadsheet(kOrderSheets)));
    gb.replace("encoding=\"UTF-8\"", "encoding=\"GB2312\"");
    const auto gbRead = opened(write(QStringLiteral("gb.xls"), gb));
    ASSERT_FALSE(std::holds_alternative<QString>(gbRead));
    EXPECT_EQ(std::get<OpenedSheet>(gbRead).second.rows, sheet.rows);
}

TEST_F(XmlSpreadsheetTest, ABrokenWorkbookIsRefusedAsDamaged) {
    const QByteArray whole = test::xmlSpreadsheet(kOrderSheets);
    const QByteArray noSheet = test::xmlSpreadsheet(" <Styles/>\n");
    QByteArray misnested = whole;
    misnested.replace("</Data></Cell></Row></Table>", "</Cell></Data></Row></Table>");
    QByteArray backwards = whole;
    backwards.replace("<Row ss:Index=\"6\">", "<Row ss:Index=\"2\">");
    for (const auto& [name, bytes] :
         {std::pair{"cut.xls", whole.first(whole.size() / 2)}, std::pair{"empty.xml", noSheet},
          std::pair{"misnested.xls", misnested}, std::pair{"backwards.xls", backwards}}) {
        const auto read = opened(write(QString::fromLatin1(name), bytes));
        ASSERT_TRUE(std::holds_alternative<QString>(read)) << name;
        EXPECT_EQ(std::get<QString>(read),
                  QStringLiteral("表格文件 %1 不完整或已经损坏，读不出来。\r\n"
                                 "请用表格软件打开它检查一下，另存一份后再导入。\r\n"
                                 "这次没有导入订单。")
                      .arg(QString::fromLatin1(name)));
    }
    // An .xml that is no workbook is no table to import.
    const auto other = opened(write(QStringLiteral("feed.xml"), "<?xml version=\"1.0\"?><rss/>"));
    ASSERT_TRUE(std::holds_alternative<QString>(other));
    EXPECT_TRUE(std::get<QString>(other).contains(QStringLiteral("不是能导入的表格")));
}
