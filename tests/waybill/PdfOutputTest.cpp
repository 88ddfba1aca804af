#include "PdfReadBack.h"
#include "TestFolder.h"

#include "waybill/Code128.h"
#include "waybill/PagePainter.h"
#include "waybill/PagedOutput.h"
#include "waybill/WaybillRenderer.h"
#include "waybill/WaybillTemplate.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mldd;
using namespace mldd::test;

namespace {

Order sampleOrder(int n) {
    Order order;
    order.myId = QStringLiteral("淘宝:墨岚小店");
    order.buyName = QStringLiteral("王小二%1").arg(n);
    order.buyPhone1 = QStringLiteral("1390000%1").arg(n, 4, 10, QLatin1Char('0'));
    order.buyAddressSheng = QStringLiteral("广东省");
    order.buyAddressShi = QStringLiteral("广州市");
    order.buyAddressXian = QStringLiteral("天河区");
    order.buyAddress = QStringLiteral("天河路%1号").arg(n);
    order.buyNjpm = QStringLiteral("服装");
    order.wuliuCode = QStringLiteral("SF10%1").arg(4387650 + n * 7919);
    return order;
}

SenderProfile sampleSender() {
    SenderProfile sender;
    sender.myIdh = QStringLiteral("淘宝:墨岚小店");
    sender.name = QStringLiteral("陈经理");
    sender.phone1 = QStringLiteral("0755-86001234");
    sender.address = QStringLiteral("深圳市宝安区西乡街道");
    return sender;
}

} // namespace

TEST(PdfOutput, ShippedTemplatesPrintWhereModelledAndScan) {
    const DataFolder shipped(QStringLiteral(MLDD_SHIPPED_DATA));
    WaybillTemplates templates(shipped, ErrorLog(QDir::temp().filePath("mldd-test-ERR.TXT")));
    WaybillRenderer renderer{WaybillSettings{}};
    const SenderProfile sender = sampleSender();
    QList<PageModel> pages;
    QStringList numbers;
    int n = 0;
    // Tracking numbers of the couriers' own shapes: letters, digit pairs, odd lengths.
    const QList<std::pair<QString, QString>> forms{
        {"圆通", "YT4021937465"},  {"申通", "773018264519"},    {"中通", "75310046283917"},
        {"韵达", "4316082957341"}, {"顺丰", "SF1402876635291"}, {"EMS", "EA203918476CN"}};
    for (const auto& [name, number] : forms) {
        const WaybillTemplate* form = templates.find(name, QString());
        ASSERT_TRUE(form) << name.toStdString();
        Order order = sampleOrder(++n);
        order.delivery = name;
        order.wuliuCode = number;
        numbers.append(order.wuliuCode);
        pages.append(renderer.render(*form, {order, &sender, QDate(2026, 5, 1)}));
        ASSERT_GE(pages.last().texts.size(), 8) << name.toStdString();
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath("shipped.pdf");
    ASSERT_TRUE(writePdf(pdf, pages));
    // Each page takes its form's paper: 230 × 127 mm, and 216 × 140 mm for 顺丰.
    const QString info = run("pdfinfo", {"-f", "1", "-l", "6", pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Page    1 size:\s+652 x 360 pts)")));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Page    5 size:\s+612 x 397 pts)")));
    expectTextWhereModelled(pages, wordsOf(pdf));
    EXPECT_EQ(barcodesOf(pdf, dir.path()), numbers);
}

namespace {

// The widths of the black and white runs along one row, from the first black dot to the last.
QList<int> runWidths(const QImage& image, int row) {
    QList<int> widths;
    bool black = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool dot = image.pixel(x, row) == qRgb(0, 0, 0);
        if (dot != black || widths.isEmpty()) {
            if (!dot && widths.isEmpty())
                continue;
            widths.append(0);
            black = dot;
        }
        ++widths.last();
    }
    if (!black && !widths.isEmpty())
        widths.removeLast(); // the paper after the symbol
    return widths;
}

} // namespace

TEST(PagePainter, EveryModuleIsTheSameWholeNumberOfThePrintersDots) {
    TextMetrics metrics;
    PageModel page;
    page.size = QSizeF(7200, 1440);
    // u = 12 twips, a module of 24: 3.38 dots at 203 dpi, which rounding edge by edge
    // turns into bars of uneven widths.
    Code128::draw(page, metrics, QStringLiteral("YT4021937465"), {100, 0, 3000, 720, false, {}});
    ASSERT_EQ(page.barcodes.size(), 1);
    // Painted on a device of twice the printer's resolution, as a PDF is: two device dots
    // to one of the printer's.
    for (const int deviceDpi : {203, 406}) {
        const int scale = deviceDpi / 203;
        QImage image(5 * deviceDpi, deviceDpi, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing); // as a smoothing driver would
        PagePainter(deviceDpi, {}, 203).paint(painter, page);
        painter.end();
        // 100 twips: the symbol starts on dot 14 of the printer.
        EXPECT_EQ(image.pixel(14 * scale, 10), qRgb(0, 0, 0)) << deviceDpi;
        EXPECT_EQ(image.pixel(14 * scale - 1, 10), qRgb(255, 255, 255)) << deviceDpi;
        const QList<int> widths = runWidths(image, 10);
        ASSERT_EQ(widths.size(), 2 * page.barcodes[0].runs().size() - 1) << deviceDpi;
        // Three dots a module; a bar and the space after it always whole modules together.
        for (qsizetype i = 0; i + 1 < widths.size(); i += 2)
            EXPECT_EQ((widths[i] + widths[i + 1]) % (3 * scale), 0) << deviceDpi << " " << i;
        EXPECT_EQ(widths.last(), 2 * 3 * scale); // the stop's last bar, whole
        for (int x = 0; x < image.width(); ++x) {
            const QRgb dot = image.pixel(x, 10);
            EXPECT_TRUE(dot == qRgb(0, 0, 0) || dot == qRgb(255, 255, 255)) << x;
        }
    }
}

TEST(PagePainter, BackgroundOnlyOnScreen) {
    test::TestFolder folder;
    folder.writeTemplate(QStringLiteral("底图"), {});
    QImage picture(folder.deliveryFile(QStringLiteral("底图.mlm")));
    picture.fill(Qt::red);
    picture.save(folder.deliveryFile(QStringLiteral("底图.mlm")), "PNG");
    PageModel page;
    page.size = QSizeF(1440, 720);
    page.background = folder.deliveryFile(QStringLiteral("底图.mlm"));
    for (const bool screen : {true, false}) {
        QImage image(96, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PagePainter(96).paint(painter, page, screen);
        painter.end();
        EXPECT_EQ(image.pixel(50, 20), screen ? qRgb(255, 0, 0) : qRgb(255, 255, 255));
    }
}
