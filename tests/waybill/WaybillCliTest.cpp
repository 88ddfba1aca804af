#include "TestFolder.h"

#include "core/OrderDatabase.h"
#include "core/OrderStore.h"

#include <QProcess>
#include <QSqlQuery>

#include "CliRun.h"

#include <gtest/gtest.h>

using namespace mldd;

TEST(WaybillCli, CodecAndCode128) {
    const QString layout = QStringLiteral("Y{F}N{F}C|寄件人+B|MY_DATA:my_fjr");
    const test::CliRun encoded = test::runCli({"codec", "encode", layout});
    ASSERT_EQ(encoded.exitCode, 0);
    EXPECT_EQ(test::runCli({"codec", "decode", encoded.out.trimmed()}).out, layout + u'\n');
    EXPECT_EQ(test::runCli({"codec", "decode", "not codec"}).exitCode, 1);
    EXPECT_EQ(test::runCli({"codec", "shuffle", "x"}).exitCode, 2);

    EXPECT_EQ(test::runCli({"code128", "A123"}).out,
              QStringLiteral("104 33 99 12 100 19 42 106\n"));
    const test::CliRun chinese = test::runCli({"code128", "中通123"});
    EXPECT_EQ(chinese.exitCode, 1);
    EXPECT_TRUE(chinese.out.isEmpty());
}

TEST(WaybillCli, PrintsWaybillsIntoAPdfAndMarksThem) {
    test::TestFolder test;
    const QString data = test.folder().dataPath();
    for (const QString file : {"圆通.mlg", "圆通.mlm"}) {
        QFile shipped(QStringLiteral(MLDD_SHIPPED_DATA "/Delivery/") + file);
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        test.writeFile(file, shipped.readAll());
    }
    {
        QString message;
        const auto database = OrderDatabase::open(test.folder().databasePath(), &message);
        ASSERT_TRUE(database) << message.toStdString();
        QList<Order> orders(3);
        for (int i = 0; i < orders.size(); ++i) {
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(100 + i);
            orders[i].buyName = QStringLiteral("买家%1").arg(i);
            orders[i].wuliuCode = QStringLiteral("YT40219374%1").arg(i, 2, 10, QLatin1Char('0'));
            orders[i].delivery = i == 2 ? QStringLiteral("../圆通") : QStringLiteral("圆通");
        }
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(orders, rule));
    }
    const QString pdf = data + QStringLiteral("/out.pdf");
    // The third order names a template outside the folder: told, left unprinted.
    const test::CliRun printed =
        test::runCli({"--data", data, "print", "waybill", "--ids", "1,2,3", "--pdf", pdf});
    EXPECT_EQ(printed.exitCode, 1);
    EXPECT_TRUE(printed.err.contains(QStringLiteral("快递单据模版-../圆通 文件丢失")))
        << printed.err.toStdString();
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished();
    EXPECT_TRUE(info.readAllStandardOutput().contains("Pages:           2"));

    const auto database = OrderDatabase::open(test.folder().databasePath(), nullptr);
    QSqlQuery marks(database->connection());
    marks.exec("select kd_sign, kd_print from order_data order by id");
    for (const int expected : {1, 1, 0}) {
        ASSERT_TRUE(marks.next());
        EXPECT_EQ(marks.value(0).toInt(), expected);
        EXPECT_EQ(marks.value(1).toInt(), expected);
    }
    EXPECT_EQ(test::runCli({"--data", data, "print", "waybill", "--ids", "1", "--pdf", pdf,
                            "--printer", "x"})
                  .exitCode,
              2);
}
