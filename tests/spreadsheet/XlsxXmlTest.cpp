// Sheet and shared-string parts written by hand the way other programs write them:
// each must read as the seller's spreadsheet program shows it, and a part that is
// not well-formed must be refused, never read half.
#include "spreadsheet/XlsxWorkbook.h"
#include "spreadsheet/ZipWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

const QByteArray kWorkbook =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"订单\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
const QByteArray kRelationships =
    "<?xml version=\"1.0\"?><Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";

// The sheet "订单" of a workbook made of these parts, or the notice that refused it.
std::variant<SheetTable, Notice> readParts(const QByteArray& sheet, const QByteArray& shared) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("book.xlsx"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(*ZipWriter::create({{QStringLiteral("xl/workbook.xml"), kWorkbook},
                                   {QStringLiteral("xl/_rels/workbook.xml.rels"), kRelationships},
                                   {QStringLiteral("xl/sharedStrings.xml"), shared},
                                   {QStringLiteral("xl/worksheets/sheet1.xml"), sheet}}));
    file.close();
    auto opened = XlsxWorkbook::open(path);
    if (auto* notice = std::get_if<Notice>(&opened))
        return *notice;
    return std::get<std::unique_ptr<XlsxWorkbook>>(opened)->read(QStringLiteral("订单"));
}

QByteArray sheetOf(const QByteArray& rows) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<worksheet "
           "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
           "<sheetData>" +
           rows + "</sheetData></worksheet>";
}

const QByteArray kShared =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"5\">"
    "<si><t>李小红</t></si>"
    // Rich text runs, a phonetic run left out, kept spaces.
    "<si><r><rPr><b/></rPr><t>贵州省</t></r><r><t xml:space=\"preserve\"> 贵阳市 </t></r>"
    "<rPh sb=\"0\" eb=\"1\"><t>ギ</t></rPh></si>"
    // The five entities, character references, a CDATA part, a comment, CR LF in the text.
    "<si><t>&lt;a&gt; &amp; &quot;b&quot; &apos;c&apos; &#20013;&#x56FD;&#x1F600;"
    "<![CDATA[<x&y>]]><!-- note -->行一\r\n行二\r行三&#13;</t></si>"
    "<si><t/></si>"
    "<si/>"
    "</sst>";

SheetTable table(const std::variant<SheetTable, Notice>& read) {
    if (auto* notice = std::get_if<Notice>(&read)) {
        ADD_FAILURE() << notice->text.toStdString();
        return {};
    }
    return std::get<SheetTable>(read);
}

} // namespace

// Every kind of cell, every way of writing text, and cells found by place without a name.
TEST(XlsxXml, CellsOfEveryKindReadAsTheSellerSeesThem) {
    const SheetTable sheet = table(readParts(
        sheetOf("<row r=\"1\" spans=\"1:4\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                "<c r=\"B1\" t=\"s\"><v>1</v></c><c r='C1' t='s'><v> 2 </v></c>"
                "<c r=\"D1\" t=\"s\"><v>3</v></c><c r=\"E1\" t=\"s\"><v>4</v></c></row>"
                "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><r><t>张</t></r><r><t>伟</t></r>"
                "</is></c><c r=\"B2\" t=\"str\"><f>A2&amp;\"x\"</f><v>张伟x</v></c>"
                "<c r=\"C2\" t=\"b\"><v>1</v></c><c r=\"D2\" t=\"b\"><v>0</v></c>"
                "<c r=\"E2\" t=\"e\"><v>#DIV/0!</v></c><c r=\"F2\"><v>13812345678</v></c>"
                "<c r=\"G2\" t=\"n\"><v>89.5</v></c><c r=\"H2\"/><c r=\"I2\" s=\"0\"></c></row>"
                "<row r=\"4\"/>"
                "<row r=\"5\"><c><v>1</v></c><c><v>2</v></c><c r=\"E5\"><v>5</v></c><c><v>6</v></c>"
                "</row>"
                "<row><c r=\"AA6\" t=\"inlineStr\"><is><t>AA</t></is></c>"
                "<c r=\"AB6\" t=\"str\"><v>&#x41;&#66;</v></c></row>"
                "<x:row r=\"8\"><x:c r=\"B8\" t=\"inlineStr\"><x:is><x:t>前缀</x:t></x:is></x:c>"
                "<x:c r=\"C8\"><x:f>1/0</x:f></x:c></x:row>"),
        kShared));
    const QList<QStringList> expected = {
        {QStringLiteral("李小红"), QStringLiteral("贵州省 贵阳市 "),
         QStringLiteral("<a> & \"b\" 'c' 中国😀<x&y>行一\n行二\n行三\r"), QString(), QString()},
        {QStringLiteral("张伟"), QStringLiteral("张伟x"), QStringLiteral("TRUE"),
         QStringLiteral("FALSE"), QStringLiteral("#DIV/0!"), QStringLiteral("13812345678"),
         QStringLiteral("89.5"), QString(), QString()},
        {},
        {},
        {QStringLiteral("1"), QStringLiteral("2"), QString(), QString(), QStringLiteral("5"),
         QStringLiteral("6")},
        {}, // filled below: column AA is the 27th
        {},
        {QString(), QStringLiteral("前缀"), QString()},
    };
    ASSERT_EQ(sheet.rows.size(), expected.size());
    for (int r = 0; r < expected.size(); ++r) {
        if (r == 5)
            continue;
        for (int c = 0; c < std::max(expected[r].size(), sheet.rows[r].size()); ++c)
            EXPECT_EQ(sheet.cell(r, c), expected[r].value(c)) << CellName::of(r, c).toStdString();
    }
    EXPECT_EQ(sheet.rows[5].size(), 28);
    EXPECT_EQ(sheet.cell(5, 26), QStringLiteral("AA"));
    EXPECT_EQ(sheet.cell(5, 27), QStringLiteral("AB"));
    EXPECT_EQ(sheet.errors.value(SheetTable::cellKey(1, 4)), QStringLiteral("#DIV/0!"));
    EXPECT_EQ(sheet.uncalculated, QSet<quint64>{SheetTable::cellKey(7, 2)});
}

// A part that is not well-formed, or a cell that names what is not there, is refused whole.
TEST(XlsxXml, BrokenPartsAreRefused) {
    const QByteArray good = "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>";
    ASSERT_TRUE(std::holds_alternative<SheetTable>(readParts(sheetOf(good), kShared)));
    const QByteArray sheets[] = {
        "<row r=\"1\"><c r=\"A1\"><v>1</c></row>",           // crossed tags
        "<row r=\"1\"><c r=\"A1\"><v>1</v></c>",              // a row never closed
        "<row r=\"1\"><c r=\"A1\" t=\"str\"><v>&nbsp;</v></c></row>", // unknown entity
        "<row r=\"1\"><c r=\"A1\" t=\"str\"><v>&#xZZ;</v></c></row>",  // a bad reference
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>9</v></c></row>",  // no such shared string
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>x</v></c></row>",  // not an index
        "<row r=\"1\"><c r=\"A2\"><v>1</v></c></row>",          // a cell of another row
        "<row r=\"0\"><c><v>1</v></c></row>",                   // row 0
        "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>",        // past the last column
        "<row r=\"1\"><c r=\"A1\"><v>1<b/></v></c></row>",      // an element inside a value
        "<row r=\"1\"><c r=\"A1\" t=\"<\"><v>1</v></c></row>",  // '<' in an attribute
    };
    for (const QByteArray& rows : sheets) {
        const auto read = readParts(sheetOf(rows), kShared);
        ASSERT_TRUE(std::holds_alternative<Notice>(read)) << rows.toStdString();
        EXPECT_TRUE(std::get<Notice>(read).text.contains(QStringLiteral("已经损坏")))
            << rows.toStdString();
    }
    for (const QByteArray& shared : {QByteArray("<sst><si><t>a</si></sst>"),
                                    QByteArray("<sst><si><t>&bad;</t></si></sst>"),
                                    QByteArray("<sst><si><t>a</t></si>")}) {
        const auto read = readParts(sheetOf(good), shared);
        ASSERT_TRUE(std::holds_alternative<Notice>(read)) << shared.toStdString();
        EXPECT_TRUE(std::get<Notice>(read).text.contains(QStringLiteral("已经损坏")));
    }
}
