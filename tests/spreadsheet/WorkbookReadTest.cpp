#include "SpreadsheetFixture.h"

#include "spreadsheet/CsvText.h"
#include "spreadsheet/CsvWorkbook.h"
#include "spreadsheet/NumberFormat.h"

#include "core/TextCodec.h"

#include <QTemporaryDir>

using namespace mldd;
using test::TestWorkbooks;

namespace {

std::unique_ptr<Workbook> openBook(const QString& path) {
    std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(path);
    if (auto* notice = std::get_if<Notice>(&opened)) {
        ADD_FAILURE() << notice->text.toStdString();
        return nullptr;
    }
    return std::move(std::get<std::unique_ptr<Workbook>>(opened));
}

SheetTable sheetOf(const Workbook& book, const QString& name) {
    std::variant<SheetTable, Notice> read = book.read(name);
    EXPECT_TRUE(std::holds_alternative<SheetTable>(read));
    return std::holds_alternative<SheetTable>(read) ? std::get<SheetTable>(read) : SheetTable();
}

} // namespace

// The workbook of a spreadsheet program with shared strings, styles, a merge and a hidden sheet.
TEST(WorkbookRead, XlsxCellsReadAsTheSellerSeesThem) {
    ASSERT_TRUE(TestWorkbooks::get().ok());
    const auto book = openBook(TestWorkbooks::get().path(QStringLiteral("orders.xlsx")));
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheetNames(), (QStringList{QStringLiteral("说明"), QStringLiteral("订单")}));
    EXPECT_EQ(book->activeSheet(), 1);
    EXPECT_FALSE(std::holds_alternative<SheetTable>(book->read(QStringLiteral("旧订单"))));

    const SheetTable sheet = sheetOf(*book, QStringLiteral("订单"));
    EXPECT_EQ(sheet.cell(0, 1), QStringLiteral("收货人"));
    EXPECT_EQ(sheet.cell(1, 0), QStringLiteral("2851234567890123"));
    EXPECT_EQ(sheet.cell(1, 2), QStringLiteral("08515551234"));
    EXPECT_EQ(sheet.cell(1, 3), QStringLiteral("13812345678"));
    EXPECT_EQ(sheet.cell(2, 2), QStringLiteral("02164001234")) << "zero-padded number format";
    EXPECT_EQ(sheet.cell(1, 6), QStringLiteral("棉麻衬衫 白色 L 1\n帆布包 2"));
    EXPECT_EQ(sheet.cell(1, 8), QStringLiteral("2024-03-01"));
    EXPECT_EQ(sheet.cell(1, 9), QStringLiteral("89.50"));
    // A merged cell shows its text in every row it covers.
    EXPECT_EQ(sheet.cell(4, 1), QStringLiteral("林琳"));
    EXPECT_EQ(sheet.cell(4, 5), sheet.cell(3, 5));
    EXPECT_EQ(sheet.columnCount(), 11);
}

TEST(WorkbookRead, InlineStringsXlsAndTextFiles) {
    ASSERT_TRUE(TestWorkbooks::get().ok());
    const auto inlineBook = openBook(TestWorkbooks::get().path(QStringLiteral("inline.xlsx")));
    ASSERT_TRUE(inlineBook);
    EXPECT_EQ(inlineBook->sheetNames(),
              (QStringList{QStringLiteral("Sheet1"), QStringLiteral("备注")}));
    const SheetTable inlineSheet = sheetOf(*inlineBook, QStringLiteral("Sheet1"));
    EXPECT_EQ(inlineSheet.cell(2, 1), QStringLiteral("赵六"));
    EXPECT_EQ(inlineSheet.cell(0, 5), QString())
        << "a formula without a stored result shows nothing";
    EXPECT_EQ(sheetOf(*inlineBook, QStringLiteral("备注")).cell(1, 1), QStringLiteral("42"));

    const auto xls = openBook(QStringLiteral(MLDD_TEST_DATA "/data/orders.xls"));
    ASSERT_TRUE(xls);
    EXPECT_EQ(xls->sheetNames(), (QStringList{QStringLiteral("订单"), QStringLiteral("备注")}));
    const SheetTable xlsSheet = sheetOf(*xls, QStringLiteral("订单"));
    EXPECT_EQ(xlsSheet.cell(1, 2), QStringLiteral("01062345678"));
    EXPECT_EQ(xlsSheet.cell(2, 0), QStringLiteral("2851234567890127"));
    EXPECT_EQ(xlsSheet.cell(2, 2), QStringLiteral("13912345678"));

    // GBK, tab-separated, a quoted field with a line break; UTF-8 with commas inside quotes.
    const auto tsv = openBook(TestWorkbooks::get().path(QStringLiteral("orders-gbk.txt")));
    ASSERT_TRUE(tsv);
    const SheetTable tsvSheet = sheetOf(*tsv, QStringLiteral("orders-gbk"));
    EXPECT_EQ(tsvSheet.cell(1, 3), QStringLiteral("书 1\r\n笔 2"));
    EXPECT_EQ(tsvSheet.cell(2, 1), QStringLiteral("赵\"六\""));
    EXPECT_EQ(tsvSheet.rows.size(), 3);
    const auto csv = openBook(TestWorkbooks::get().path(QStringLiteral("orders.csv")));
    ASSERT_TRUE(csv);
    EXPECT_EQ(sheetOf(*csv, QStringLiteral("orders")).cell(2, 3), QStringLiteral("伞, 大号 1"));
}

// Excel's "Unicode text" (UTF-16) and GB18030 text files read as written, and a
// write-back would encode them as they came.
TEST(WorkbookRead, Utf16AndGb18030TextFilesReadAndKeepTheirEncoding) {
    const QString unicode = TestWorkbooks::get().path(QStringLiteral("orders-unicode.txt"));
    const auto tsv = openBook(unicode);
    ASSERT_TRUE(tsv);
    const SheetTable tsvSheet = sheetOf(*tsv, QStringLiteral("orders-unicode"));
    EXPECT_EQ(tsvSheet.cell(0, 0), QStringLiteral("单号"));
    EXPECT_EQ(tsvSheet.cell(1, 3), QStringLiteral("书 1\r\n笔 2"));
    EXPECT_EQ(tsvSheet.cell(2, 3), QStringLiteral("伞, 大号 1"));

    const QString gb18030 = TestWorkbooks::get().path(QStringLiteral("orders-gb18030.csv"));
    const auto csv = openBook(gb18030);
    ASSERT_TRUE(csv);
    EXPECT_EQ(sheetOf(*csv, QStringLiteral("orders-gb18030")).cell(1, 1),
              QStringLiteral("王\U00020000"));

    for (const QString& path : {unicode, gb18030}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const auto read = CsvWorkbook::readFile(path);
        ASSERT_TRUE(std::holds_alternative<CsvWorkbook::File>(read));
        const CsvWorkbook::File& text = std::get<CsvWorkbook::File>(read);
        EXPECT_EQ(text.encoded(text.csv.text), file.readAll()) << path.toStdString();
    }
}

// An ".xls" that is a web page reads as the table a spreadsheet program shows, whatever the
// page's looseness; its encoding comes from its meta tag, or from its bytes when it names none.
TEST(WorkbookRead, WebPageXlsReadsAsItsTable) {
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString page = QStringLiteral(
        "  <!DOCTYPE html><html><head><title>订单</title>"
        "<script>document.write('<table><tr><td>x</td></tr></table>')</script></head><body>"
        "<p>导出时间 <b>2026-12-01</b></p>"
        "<table><tr><th colspan=2>标题</th><th>备注</th>"
        "<tr><td>A&amp;B &lt;5kg&gt;<td>&#26519;&#x6653; &yen;5 &unknown; a&b"
        "<td> 两行\n  之间<BR>第二行 <p>第三段</p></td></tr>"
        "<tr><td>&nbsp;<td><table><tr><td>里</td><td>表</td></tr></table>外<td>1 < 2 <5</tr>"
        "</table><table><tr><td>第二个表</td></tr></table></body></html>");
    const auto book = openBook(write(QStringLiteral("loose.xls"), "\xEF\xBB\xBF" + page.toUtf8()));
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheetNames(), QStringList{QStringLiteral("loose")});
    const SheetTable sheet = sheetOf(*book, QStringLiteral("loose"));
    EXPECT_EQ(sheet.rows, (QList<QStringList>{
                              {QStringLiteral("标题"), QString(), QStringLiteral("备注")},
                              {QStringLiteral("A&B <5kg>"), QStringLiteral("林晓 ¥5 &unknown; a&b"),
                               QStringLiteral("两行 之间\n第二行 第三段")},
                              {QString(), QStringLiteral("里 表 外"), QStringLiteral("1 < 2 <5")},
                              {QStringLiteral("第二个表")}}));

    // GBK named by the page: the bytes of 专业 would also pass as UTF-8.
    const QByteArray gbk = QByteArray("<html><head><meta http-equiv=Content-Type "
                                      "content=\"text/html; charset=gb2312\"></head>") +
                           TextCodec::toGbk(QStringLiteral("<table><tr><td>专业</td></tr>")) +
                           "</table></html>";
    const auto declared = openBook(write(QStringLiteral("gbk.xls"), gbk));
    ASSERT_TRUE(declared);
    EXPECT_EQ(sheetOf(*declared, QStringLiteral("gbk")).cell(0, 0), QStringLiteral("专业"));
    // Upper-case tags and no charset: GB18030 from bytes that are no UTF-8.
    const auto undeclared = openBook(write(
        QStringLiteral("plain.xls"),
        TextCodec::toGb18030(QStringLiteral("<TABLE><TR><TD>收货人<TD>王\U00020000</TABLE>"))));
    ASSERT_TRUE(undeclared);
    EXPECT_EQ(sheetOf(*undeclared, QStringLiteral("plain")).rows,
              (QList<QStringList>{{QStringLiteral("收货人"), QStringLiteral("王\U00020000")}}));
}

TEST(WorkbookRead, CsvFieldsKeepTheirPlaceForWriting) {
    const CsvText csv = CsvText::parse(QStringLiteral("a,\"b,\"\"c\"\"\"\r\n\"x\ny\",,z\r\n"));
    ASSERT_EQ(csv.records.size(), 2);
    EXPECT_EQ(csv.value(0, 1), QStringLiteral("b,\"c\""));
    EXPECT_EQ(csv.value(1, 0), QStringLiteral("x\ny"));
    EXPECT_EQ(csv.records.at(1).fields.size(), 3);
    EXPECT_EQ(csv.text.mid(csv.records.at(0).end, 2), QStringLiteral("\r\n"));
    EXPECT_EQ(CsvText::written(QStringLiteral("a\"b"), u','), QStringLiteral("\"a\"\"b\""));
}

TEST(NumberFormat, DatesNumbersAndLongDigits) {
    using NumberFormat::format;
    // Serial 60 is the 29 February 1900 that never was; 61 is 1 March.
    EXPECT_EQ(format(59, "59", QStringLiteral("yyyy-mm-dd"), false), QStringLiteral("1900-02-28"));
    EXPECT_EQ(format(61, "61", QStringLiteral("yyyy-mm-dd"), false), QStringLiteral("1900-03-01"));
    EXPECT_EQ(format(45352.75, "", NumberFormat::builtInCode(22), false),
              QStringLiteral("2024/3/1 18:00"));
    EXPECT_EQ(format(0, "0", QStringLiteral("yyyy-mm-dd"), true), QStringLiteral("1904-01-01"));
    EXPECT_EQ(format(45352, "", NumberFormat::builtInCode(31), false),
              QStringLiteral("2024年3月1日"));
    EXPECT_EQ(format(0.5, "", QStringLiteral("h:mm:ss"), false), QStringLiteral("12:00:00"));
    EXPECT_EQ(format(1234567.891, "", QStringLiteral("#,##0.00"), false),
              QStringLiteral("1,234,567.89"));
    EXPECT_EQ(format(0.125, "", QStringLiteral("0.0%"), false), QStringLiteral("12.5%"));
    EXPECT_EQ(format(12.5, "", QStringLiteral("\"¥\"0.00"), false), QStringLiteral("¥12.50"));
    EXPECT_EQ(format(-3, "", QStringLiteral("0.00"), false), QStringLiteral("-3.00"));
    // Whole numbers keep every digit; fractions show at most 15 significant digits.
    EXPECT_EQ(format(2.851234567890123e15, "2.851234567890123E+15", QString(), false),
              QStringLiteral("2851234567890123"));
    EXPECT_EQ(format(1.2345678901234567e18, "1.2345678901234567E+18", QString(), false),
              QStringLiteral("1234567890123456700"));
    EXPECT_EQ(format(-1.5e2, "-1.50E2", QString(), false), QStringLiteral("-150"));
    EXPECT_EQ(format(1.25e-5, "1.25E-5", QString(), false), QStringLiteral("0.0000125"));
    EXPECT_EQ(format(0.1 + 0.2, "0.30000000000000004", QString(), false), QStringLiteral("0.3"));
    EXPECT_EQ(format(13812345678, "13812345678", QStringLiteral("@"), false),
              QStringLiteral("13812345678"));
    // Dates a file keeps as ISO text, time-only ones on the day before day 1.
    EXPECT_EQ(NumberFormat::isoDateText(QStringLiteral("1899-12-31T08:05:00.000")),
              QStringLiteral("08:05:00"));
    EXPECT_EQ(NumberFormat::isoDateText(QStringLiteral("2024-12-05T10:30:00.250")),
              QStringLiteral("2024-12-05 10:30:00.250"));
}
