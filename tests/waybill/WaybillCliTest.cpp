#include "TestFolder.h"

#include "core/OrderDatabase.h"
#include "core/OrderStore.h"
#include "core/OrderWriteRule.h"
#include "waybill/WaybillPages.h"

#include <QProcess>
#include <QRegularExpression>
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

TEST(WaybillCli, AnOrderWithoutContentsNameShowsAndPrintsItsSendersDefault) {
    test::TestFolder test;
    // The receiver's boxes make it a form that prints; the orders leave them empty.
    QStringList items;
    for (const char* source : {"C|内件:+B|ORDER_DATA:buy_njpm", "B|ORDER_DATA:buy_name",
                               "B|ORDER_DATA:buy_phone1", "B|ORDER_DATA:buy_address"})
        items.append(QStringList{"Y", "N", source, "内件品名", "宋体", "10", "0",
                                 "LT^600^600^3000^300", "N^"}
                         .join(QStringLiteral("{F}")));
    test.writeTemplate(QStringLiteral("圆通"), items);
    QFile names(test.folder().file(QStringLiteral("淘宝;墨岚小店.njp")));
    ASSERT_TRUE(names.open(QIODevice::WriteOnly));
    names.write(QStringLiteral("0日用品[NJF]日用品 文具\r\n").toUtf8());
    names.close();
    // Its own name wins over the default; a sender without names prints none.
    QList<Order> orders(3);
    for (int i = 0; i < orders.size(); ++i) {
        orders[i].orderSign = QStringLiteral("淘宝:%1").arg(200 + i);
        orders[i].myId = i < 2 ? QStringLiteral("淘宝:墨岚小店") : QStringLiteral("淘宝:新店");
        orders[i].delivery = QStringLiteral("圆通");
    }
    orders[1].buyNjpm = QStringLiteral("文具");
    {
        const auto database = OrderDatabase::open(test.folder().databasePath(), nullptr);
        ASSERT_TRUE(database);
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(orders, rule));
    }
    const QStringList expected{"内件:日用品", "内件:文具", "内件:"};

    // The card's preview.
    const ErrorLog log(test.folder().errorLogPath());
    WaybillPages previews(test.folder(), log, PrintSettings(), {}, QDate::currentDate());
    for (int i = 0; i < orders.size(); ++i) {
        const auto drawn = previews.page(orders[i]);
        ASSERT_TRUE(std::holds_alternative<PageModel>(drawn))
            << std::get<Notice>(drawn).text.toStdString();
        QStringList texts;
        for (const TextLine& line : std::get<PageModel>(drawn).texts)
            if (!line.text.isEmpty())
                texts.append(line.text);
        EXPECT_EQ(texts, QStringList{expected[i]});
    }

    // The print run.
    const QString pdf = test.folder().file(QStringLiteral("out.pdf"));
    const test::CliRun printed = test::runCli(
        {"--data", test.folder().dataPath(), "print", "waybill", "--ids", "1,2,3", "--pdf", pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    text.waitForFinished();
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
    ASSERT_GE(pages.size(), 3);
    for (int i = 0; i < orders.size(); ++i)
        EXPECT_EQ(pages[i].trimmed(), expected[i]);
}

// A municipality is filed as province and city under one name (上海市, 上海市): the waybill's
// address box and the shipping list name it once; a province and its namesake city (吉林, 吉林市)
// stay both.
TEST(WaybillCli, AMunicipalityIsNamedOnceOnTheWaybillAndTheShippingList) {
    test::TestFolder test;
    QStringList items;
    for (const QString& source :
         {QStringLiteral("B|ORDER_DATA:buy_address_sheng+B|ORDER_DATA:buy_address_shi+"
                         "B|ORDER_DATA:buy_address_xian+B|ORDER_DATA:buy_address"),
          QStringLiteral("B|ORDER_DATA:buy_name"), QStringLiteral("B|ORDER_DATA:buy_phone1")})
        items.append(QStringList{"Y", "N", source, "收件", "宋体", "10", "0",
                                 QStringLiteral("LT^600^%1^6000^300").arg(600 + 400 * items.size()),
                                 "N^"}
                         .join(QStringLiteral("{F}")));
    test.writeTemplate(QStringLiteral("圆通"), items);
    const QList<QStringList> places{{"上海市", "上海市", "徐汇区", "漕溪北路88号"},
                                    {"上海", "上海市", "黄浦区", "南京东路1号"},
                                    {"吉林", "吉林市", "昌邑区", "解放北路2号"}};
    QList<Order> orders(places.size());
    for (int i = 0; i < orders.size(); ++i) {
        orders[i].orderSign = QStringLiteral("淘宝:%1").arg(300 + i);
        orders[i].buyName = QStringLiteral("买家%1").arg(i);
        orders[i].buyPhone1 = QStringLiteral("1380013800%1").arg(i);
        orders[i].buyAddressSheng = places[i][0];
        orders[i].buyAddressShi = places[i][1];
        orders[i].buyAddressXian = places[i][2];
        orders[i].buyAddress = places[i][3];
        orders[i].delivery = QStringLiteral("圆通");
    }
    {
        const auto database = OrderDatabase::open(test.folder().databasePath(), nullptr);
        ASSERT_TRUE(database);
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(orders, rule));
    }
    const QStringList expected{"上海市徐汇区漕溪北路88号", "上海黄浦区南京东路1号",
                               "吉林吉林市昌邑区解放北路2号"};
    for (const QString kind : {"waybill", "shiplist"}) {
        const QString pdf = test.folder().file(kind + QStringLiteral(".pdf"));
        const test::CliRun printed = test::runCli(
            {"--data", test.folder().dataPath(), "print", kind, "--ids", "1,2,3", "--pdf", pdf});
        ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        text.waitForFinished();
        const QString printedText =
            QString::fromUtf8(text.readAllStandardOutput()).remove(QRegularExpression("\\s"));
        for (const QString& address : expected)
            EXPECT_TRUE(printedText.contains(address))
                << kind.toStdString() << ": " << address.toStdString() << " in "
                << printedText.toStdString();
        for (const QString repeated : {"上海市上海市", "上海上海市"})
            EXPECT_FALSE(printedText.contains(repeated))
                << kind.toStdString() << ": " << printedText.toStdString();
    }
}
