#include "ShippingListSamples.h"

#include "core/MainState.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"
#include "core/OrderWriteRule.h"
#include "core/Startup.h"
#include "shiplist/ShippingLists.h"
#include "waybill/PagedOutput.h"
#include "waybill/PdfReadBack.h"
#include "waybill/TestFolder.h"
#include "workbench/OrderMerge.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "CliRun.h"

#include <gtest/gtest.h>

using namespace mldd;
using namespace mldd::test;

TEST(ShippingListPdf, TextsReadBackWhereModelledAndBarcodesScan) {
    ShippingLists lists({}, kA5, QDate(2026, 12, 5));
    QList<PageModel> pages;
    QStringList expectedBarcodes;
    for (int n = 1; n <= 2; ++n) {
        const ShippingListPages list = composed(lists.compose(sampleOrder(n == 1 ? 3 : 40, n)));
        pages += list.pages;
        for (qsizetype p = 0; p < list.pages.size(); ++p)
            expectedBarcodes.append(QStringLiteral("2026%1\nYT40219374%2")
                                        .arg(31415926 + n)
                                        .arg(n, 2, 10, QLatin1Char('0')));
    }
    ASSERT_GE(pages.size(), 3);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("lists.pdf");
    ASSERT_TRUE(writePdf(pdf, pages));
    const QList<Word> words = wordsOf(pdf);
    expectTextWhereModelled(pages, words);
    EXPECT_TRUE(std::any_of(words.begin(), words.end(),
                            [](const Word& w) { return w.text == u"柒拾贰元整"; }));
    // Both barcodes of every page, in whatever order the scanner finds them.
    QStringList found = barcodesOf(pdf, dir.path());
    for (QString& page : found) {
        QStringList codes = page.split(u'\n');
        codes.sort();
        page = codes.join(u'\n');
    }
    EXPECT_EQ(found, expectedBarcodes);
}

TEST(ShippingListCli, PrintsListsIntoAPdfAndMarksThem) {
    TestFolder test;
    const QString data = test.folder().dataPath();
    test.folder().ensureExists();
    {
        QString message;
        const auto database = OrderDatabase::open(test.folder().databasePath(), &message);
        ASSERT_TRUE(database) << message.toStdString();
        QList<Order> orders{sampleOrder(2, 1), sampleOrder(60, 2)};
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(orders, rule));
    }
    const QString pdf = data + QStringLiteral("/lists.pdf");
    const test::CliRun printed =
        test::runCli({"--data", data, "print", "shiplist", "--ids", "1,2,9", "--pdf", pdf});
    EXPECT_EQ(printed.exitCode, 1); // order 9 does not exist: told, the others printed
    EXPECT_TRUE(printed.err.contains(QStringLiteral("没有这个订单：9")))
        << printed.err.toStdString();
    // The default A4 paper: one page for the short list, more for sixty rows.
    const QString info = run("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains("595 x 842 pts")) << info.toStdString();
    EXPECT_FALSE(info.contains("Pages:           2\n"));

    const auto database = OrderDatabase::open(test.folder().databasePath(), nullptr);
    QSqlQuery marks(database->connection());
    marks.exec("select fh_sign, fh_print, kd_sign from order_data order by id");
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(marks.next());
        EXPECT_EQ(marks.value(0).toInt(), 1);
        EXPECT_EQ(marks.value(1).toInt(), 1);
        EXPECT_EQ(marks.value(2).toInt(), 0);
    }
    // A printer run needs the shipping-list paper set up first.
    const test::CliRun unset =
        test::runCli({"--data", data, "print", "shiplist", "--ids", "1", "--printer", "x"});
    EXPECT_EQ(unset.exitCode, 1);
    EXPECT_TRUE(unset.err.contains(QStringLiteral("您还没选择发货单的默认纸张！")))
        << unset.err.toStdString();
    // A paper given for the run is paper enough: the printer is asked next.
    const test::CliRun papered = test::runCli(
        {"--data", data, "print", "shiplist", "--ids", "1", "--printer", "x", "--paper", "76x130"});
    EXPECT_FALSE(papered.err.contains(QStringLiteral("纸张"))) << papered.err.toStdString();
    EXPECT_TRUE(papered.err.contains(QStringLiteral("请检查您的打印机")))
        << papered.err.toStdString();
}

// Headless label paper for the lists, and the day's picking list of the same orders, which marks
// nothing.
TEST(ShippingListCli, ListsOnTypedLabelPaperAndAPickingListThatMarksNothing) {
    TestFolder test;
    const QString data = test.folder().dataPath();
    test.folder().ensureExists();
    {
        const auto database = OrderDatabase::open(test.folder().databasePath(), nullptr);
        ASSERT_TRUE(database);
        QList<Order> orders{sampleOrder(2, 1), sampleOrder(40, 2)};
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(orders, rule));
    }
    const QString lists = data + QStringLiteral("/labels.pdf");
    const test::CliRun printed = test::runCli({"--data", data, "print", "shiplist", "--ids", "1,2",
                                               "--pdf", lists, "--paper", "100x150"});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    const QString info = run("pdfinfo", {lists});
    EXPECT_TRUE(info.contains("Page size:       283 x 425 pts"))
        << info.toStdString(); // whole points
    EXPECT_EQ(test::runCli({"--data", data, "print", "shiplist", "--ids", "1", "--pdf", lists,
                            "--paper", "100毫米"})
                  .exitCode,
              2);

    const QString picking = data + QStringLiteral("/picking.pdf");
    const test::CliRun picked =
        test::runCli({"--data", data, "print", "picking", "--ids", "1,2", "--pdf", picking});
    ASSERT_EQ(picked.exitCode, 0) << picked.err.toStdString();
    const QString words = run("pdftotext", {"-layout", picking, "-"});
    // 商品1 is in both orders: 2 of the first's quantities and 2 of the second's.
    EXPECT_TRUE(words.contains(QRegularExpression(QStringLiteral("1\\s+商品1\\s+4\\s+2\\n"))))
        << words.toStdString();
    EXPECT_TRUE(words.contains(QStringLiteral("订单：2个"))) << words.toStdString();

    const auto database = OrderDatabase::open(test.folder().databasePath(), nullptr);
    QSqlQuery marks(database->connection());
    marks.exec("select count(*) from order_data where kd_sign = 0 and fh_sign = 1");
    ASSERT_TRUE(marks.next());
    EXPECT_EQ(marks.value(0).toInt(), 2); // the lists marked, the picking list nothing more
}

TEST(ShippingListCli, AMergedOrderOfCapturedGoodsPrintsEveryArticleAndSumsThatAgree) {
    QTemporaryDir dir;
    MainState state(DataFolder(dir.filePath("data")));
    ASSERT_TRUE(startUp(state, QString()).ok);
    // Goods as a batch page gives them: articles joined by "；", a trailing blank, spaces in names.
    QList<Order> orders{sampleOrder(0, 1), sampleOrder(0, 2)};
    orders[0].buyGoods = QStringLiteral("棉麻衬衫 白色 L 1 89.00；帆布包 2 35.50");
    orders[1].buyGoods = QStringLiteral("手工皂 3 18.00；丝瓜络 2 6.00；竹制皂托 1 9.90 ");
    OrderWriteRule rule;
    ASSERT_TRUE(OrderStore(*state.database).insert(orders, rule));
    state.requery();
    for (const Order& order : orders)
        state.selection.toggle(order.id, true);
    ASSERT_FALSE(OrderMerge::mergeSelected(state));

    const QString pdf = dir.filePath("merged.pdf");
    const test::CliRun printed =
        test::runCli({"--data", state.folder.dataPath(), "print", "shiplist", "--ids",
                      QString::number(orders[0].id), "--pdf", pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    QStringList words;
    for (const Word& word : wordsOf(pdf))
        words.append(word.text);
    for (const char* article : {"棉麻衬衫", "帆布包", "手工皂", "丝瓜络", "竹制皂托"})
        EXPECT_TRUE(words.contains(QString::fromUtf8(article))) << article;
    EXPECT_TRUE(words.contains("71")); // 帆布包: 2 × 35.50
    EXPECT_TRUE(words.contains(QStringLiteral("数量：9")));
    EXPECT_TRUE(words.contains(QStringLiteral("总价：235.9元"))) << words.join(' ').toStdString();
    EXPECT_TRUE(words.contains(QStringLiteral("运费：0元")));
    EXPECT_TRUE(words.contains(QStringLiteral("贰佰叁拾伍元玖角整")));
}

TEST(ShippingListCli, CapitalAmount) {
    EXPECT_EQ(test::runCli({"capital", "1005"}).out, QStringLiteral("壹仟零伍元整\n"));
    EXPECT_EQ(test::runCli({"capital", "123.45"}).out, QStringLiteral("壹佰贰拾叁元肆角伍分\n"));
    EXPECT_EQ(test::runCli({"capital", "十元"}).exitCode, 1);
    EXPECT_EQ(test::runCli({"capital"}).exitCode, 2);
}
