#include "printing/SpoolerWords.h"

#include <gtest/gtest.h>

namespace mldd {
namespace {

TEST(SpoolerWords, PrinterWordsComeInTheirFixedOrderWhateverTheReasonsOrder) {
    EXPECT_EQ(SpoolerWords::printerStatus(3, {"none"}), "Printer Status = Ready");
    EXPECT_EQ(SpoolerWords::printerStatus(3, {}), "Printer Status = Ready");
    EXPECT_EQ(SpoolerWords::printerStatus(5, {"paused", "media-empty-error", "offline-report"}),
              "Printer Status = Off Line  Paper Out  Paused  ");
    EXPECT_EQ(SpoolerWords::printerStatus(
                  4, {"toner-low-report", "media-jam-error", "door-open-error", "toner-empty"}),
              "Printer Status = Printer Door Open  No Toner  Paper Jam  Printing  Toner Low  ");
    EXPECT_EQ(SpoolerWords::printerStatus(3, {"cups-some-new-reason"}),
              "Printer Status = 3Unknown Status of ");
}

SpoolerJob job(int id, const char* title, int state, const QStringList& reasons) {
    SpoolerJob made;
    made.id = id;
    made.title = QString::fromUtf8(title);
    made.state = state;
    made.reasons = reasons;
    return made;
}

TEST(SpoolerWords, JobWordsNameEveryStateAJobCanBeIn) {
    EXPECT_EQ(SpoolerWords::jobLine(job(1, "发票", 4, {"job-hold-until-specified"})),
              QStringLiteral("任务:发票已暂停  \n"));
    EXPECT_EQ(SpoolerWords::jobLine(job(2, "快递单-淘宝:1", 3, {"none"})),
              QStringLiteral("任务:快递单-淘宝:1待打印!\n"));
    EXPECT_EQ(SpoolerWords::jobLine(
                  job(3, "a", 5, {"job-printing", "media-empty-error", "offline-report"})),
              QStringLiteral("任务:a离线  缺纸  正在打印  \n"));
    EXPECT_EQ(SpoolerWords::jobLine(job(4, "b", 8, {"aborted-by-system"})),
              QStringLiteral("任务:b错误  \n"));
    EXPECT_EQ(SpoolerWords::jobLine(job(5, "c", 6, {"media-jam-error"})),
              QStringLiteral("任务:c错误  需要用户干预  \n"));
    EXPECT_EQ(SpoolerWords::jobLine(job(6, "d", 12, {})),
              QStringLiteral("任务:d12不可识别的状态之 \n"));
    EXPECT_EQ(SpoolerWords::jobText({}), QStringLiteral("No Print Jobs!"));
    EXPECT_EQ(SpoolerWords::jobText({job(1, "x", 4, {}), job(2, "y", 3, {})}),
              QStringLiteral("任务:x已暂停  \n任务:y待打印!\n"));
}

TEST(SpoolerWords, AJobThatDidNotPrintSaysWhyInTheSellersWords) {
    EXPECT_EQ(SpoolerWords::jobFailure(job(1, "a", 7, {"job-canceled-at-device"})),
              QStringLiteral("任务在打印机上被取消"));
    EXPECT_EQ(SpoolerWords::jobFailure(job(2, "b", 8, {"document-unprintable-error"})),
              QStringLiteral("打印机无法处理这份文件"));
    EXPECT_EQ(SpoolerWords::jobFailure(job(3, "c", 8, {"cups-some-new-reason"})),
              QStringLiteral("打印机出错，任务被中止"));
    EXPECT_EQ(SpoolerWords::jobFailure(job(4, "d", 7, {})), QStringLiteral("任务被取消"));
}

} // namespace
} // namespace mldd
