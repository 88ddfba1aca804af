#include "PrintFileWriter.h"
#include "RunFixture.h"

#include "printing/PrintFile.h"

namespace mldd {
namespace {

TEST(PrintFiles, TwelveRecordsFillTwoListPagesAndUnreadableOnesAreNamed) {
    QTemporaryDir dir;
    const auto read = PrintFile::read(test::writePrintFile(dir.filePath("今天.mlk"), 12));
    ASSERT_TRUE(std::holds_alternative<PrintFile>(read))
        << std::get<Notice>(read).text.toStdString();
    const PrintFile& file = std::get<PrintFile>(read);
    EXPECT_EQ(file.kind, PrintDocuments::Kind::Waybills);
    EXPECT_EQ(file.pageCount(), 2);
    EXPECT_EQ(file.page(1).size(), 10);
    ASSERT_EQ(file.page(2).size(), 2);
    EXPECT_EQ(file.page(2)[1].orderSign, QStringLiteral("拍拍:12"));
    EXPECT_EQ(file.page(2)[1].buyName, QStringLiteral("收件人12"));
    EXPECT_EQ(file.titleOf(12), QStringLiteral("快递单-今天-12"));

    QFile broken(dir.filePath("坏.mlf"));
    broken.open(QIODevice::WriteOnly);
    broken.write(LayoutCodec::encode("{\"order_sign\":\"a\"}").toUtf8() + "[P]not coded\r\n");
    broken.close();
    const auto refused = PrintFile::read(broken.fileName());
    ASSERT_TRUE(std::holds_alternative<Notice>(refused));
    EXPECT_TRUE(std::get<Notice>(refused).text.contains(QStringLiteral("第2条记录无法解读")));
    EXPECT_TRUE(std::holds_alternative<Notice>(PrintFile::read(dir.filePath("没有.mlk"))));
}

class PrintFileRun : public test::RunFixture {};

TEST_F(PrintFileRun, RecordsPrintUnderTheFilesNameAndNoOrderIsMarked) {
    addOrders({"圆通"});
    setUpPrinter();
    auto file = PrintFile::read(test::writePrintFile(dir.filePath("早班.mlk"), 3));
    ASSERT_TRUE(std::holds_alternative<PrintFile>(file));
    PrintRun run(start(), spooler, std::get<PrintFile>(std::move(file)));
    ASSERT_EQ(runToEnd(run), std::nullopt);
    EXPECT_EQ(run.result().printed, 3);
    EXPECT_TRUE(run.result().printedIds.isEmpty());
    QStringList titles;
    for (const test::KeptJob& job : keptJobs())
        titles.append(job.title);
    EXPECT_EQ(titles, (QStringList{"快递单-早班-1", "快递单-早班-2", "快递单-早班-3"}));
    EXPECT_EQ(marks(), (QList<QPair<int, int>>{{0, 0}}));
}

} // namespace
} // namespace mldd
