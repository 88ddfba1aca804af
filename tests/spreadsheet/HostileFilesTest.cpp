#include "SpreadsheetFixture.h"

#include "spreadsheet/WriteBack.h"

#include <sys/stat.h>

using namespace mldd;
using test::TestWorkbooks;

namespace {

class HostileFilesTest : public test::SpreadsheetFixture {
protected:
    // Opening the file and reading its first visible sheet; the notice that refused it.
    static QString readRefusal(const QString& name) {
        std::variant<std::unique_ptr<Workbook>, Notice> opened =
            Workbook::open(TestWorkbooks::get().path(name));
        if (auto* notice = std::get_if<Notice>(&opened))
            return notice->text;
        const Workbook& book = *std::get<std::unique_ptr<Workbook>>(opened);
        for (const QString& sheet : book.sheetNames()) {
            std::variant<SheetTable, Notice> read = book.read(sheet);
            if (auto* notice = std::get_if<Notice>(&read))
                return notice->text;
        }
        return QString();
    }

    static ImportLayout twoColumns() {
        ImportLayout layout;
        layout.name = QStringLiteral("两列");
        layout.sender = QString::fromUtf8(kSender);
        layout.expressions[ImportLayout::BuyerName] = *ColumnExpression::parse(QStringLiteral("A"));
        layout.expressions[ImportLayout::Address] = *ColumnExpression::parse(QStringLiteral("B"));
        return layout;
    }
};

} // namespace

// Each bad file is refused with its own message before anything is stored.
TEST_F(HostileFilesTest, BadFilesAreRefusedWithAMessage) {
    EXPECT_TRUE(readRefusal(QStringLiteral("bomb.xlsx")).contains(QStringLiteral("大得不正常")));
    EXPECT_TRUE(readRefusal(QStringLiteral("truncated.xlsx")).contains(QStringLiteral("已经损坏")));
    EXPECT_TRUE(readRefusal(QStringLiteral("webpage.xls")).contains(QStringLiteral("网页格式")));
    EXPECT_TRUE(
        readRefusal(QStringLiteral("huge-cell.xlsx")).contains(QStringLiteral("超过32767个字")));
    for (const char* name : {"bomb.xlsx", "truncated.xlsx", "webpage.xls", "huge-cell.xlsx"})
        EXPECT_TRUE(
            readRefusal(QString::fromLatin1(name)).endsWith(QStringLiteral("这次没有导入订单。")))
            << name;

    EXPECT_TRUE(refusal(TestWorkbooks::get().path(QStringLiteral("empty.xlsx")), twoColumns())
                    .contains(QStringLiteral("是空的")));
    EXPECT_TRUE(refusal(TestWorkbooks::get().path(QStringLiteral("header-only.xlsx")), twoColumns())
                    .contains(QStringLiteral("下面没有订单")));
    // An error value in a mapped cell stops the import; the good row above it is not stored either.
    EXPECT_EQ(refusal(TestWorkbooks::get().path(QStringLiteral("error-cell.xlsx")), twoColumns()),
              QStringLiteral("工作表“订单”的B3单元格是错误值#DIV/0!，请在表格中改正后再导入。\r\n"
                             "这次没有导入订单。"));
    // So does a formula the file keeps no result for: it would import as an empty field.
    EXPECT_EQ(refusal(TestWorkbooks::get().path(QStringLiteral("formula-cell.xlsx")), twoColumns()),
              QStringLiteral("工作表“订单”的B3单元格是公式，文件中没有它的计算结果。\r\n"
                             "请用表格软件打开这个文件、保存一次后再导入。\r\n"
                             "这次没有导入订单。"));
    EXPECT_TRUE(storedOrders().isEmpty());
}

// A pipe would wait for a writer for ever and a device never end: both are refused
// before they are opened, for import and for write-back alike.
TEST_F(HostileFilesTest, APipeOrADeviceNamedAsAWorkbookIsRefusedAtOnce) {
    const QString pipe = m_dir.filePath(QStringLiteral("p.csv"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString zeros = m_dir.filePath(QStringLiteral("z.csv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zeros));
    for (const QString& path : {pipe, zeros, QStringLiteral("/dev/zero")}) {
        const std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(path);
        ASSERT_TRUE(std::holds_alternative<Notice>(opened)) << path.toStdString();
        EXPECT_TRUE(std::get<Notice>(opened).text.contains(QStringLiteral("不是普通文件")))
            << std::get<Notice>(opened).text.toStdString();
        const WriteBack::Result written =
            WriteBack::run(m_state, path, twoColumns(), QFileInfo(path).completeBaseName());
        EXPECT_FALSE(written.ok);
        EXPECT_FALSE(written.notice.text.isEmpty());
    }
    EXPECT_TRUE(QFileInfo(pipe).exists());
    EXPECT_FALSE(QFileInfo(zeros).isFile());
}

TEST_F(HostileFilesTest, AThousandColumnsImport) {
    const QString path = TestWorkbooks::get().path(QStringLiteral("wide.xlsx"));
    EXPECT_EQ(readSheet(path).columnCount(), 1000);
    const ImportCount count = imported(path, twoColumns());
    EXPECT_EQ(count.imported, 1);
    ASSERT_EQ(storedOrders().size(), 1);
    EXPECT_EQ(storedOrders().first().buyAddressXian, QStringLiteral("海淀区"));
}
