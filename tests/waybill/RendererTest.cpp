#include "TestFolder.h"

#include "waybill/FontFaces.h"
#include "waybill/SizeLadder.h"
#include "waybill/WaybillRenderer.h"
#include "waybill/WaybillTemplate.h"

#include <gtest/gtest.h>

using namespace mldd;

namespace {

QString record(const QString& source, const QString& box = QStringLiteral("LT^1000^800^3000^300"),
               const QString& wrap = QStringLiteral("N^"),
               const QString& size = QStringLiteral("10"),
               const QString& face = QStringLiteral("宋体"),
               const QString& align = QStringLiteral("0")) {
    return QStringList{"Y", "N", source, "项目", face, size, align, box, wrap}.join(
        QStringLiteral("{F}"));
}

class Renderer : public testing::Test {
protected:
    Renderer() {
        order.myId = QStringLiteral("淘宝:墨岚小店");
        order.buyName = QStringLiteral("李四");
        order.buyPhone1 = QStringLiteral("13800138000");
        order.buyZipcode = QStringLiteral("5180");
        order.buyAddressSheng = QStringLiteral("广东省");
        order.buyAddressShi = QStringLiteral("深圳市");
        order.buyAddressXian = QStringLiteral("南山区");
        order.buyAddress = QStringLiteral("科技园南路1号");
        order.buyEnd = QStringLiteral("深圳");
        order.buyGoods = QStringLiteral("连衣裙 红色 L\r\n围巾 灰色");
        order.wuliuCode = QStringLiteral("YT1234567890");
        sender.myIdh = order.myId;
        sender.name = QStringLiteral("张三");
        sender.zipcode = QStringLiteral("200120");
    }

    LaidOutItem layout(const QString& text, const WaybillSettings& settings = {}) {
        WaybillRenderer renderer(settings);
        return renderer.layoutItem(ItemRecord::parse(text), input());
    }
    QString text(const QString& source, const WaybillSettings& settings = {}) {
        return layout(record(source), settings).text;
    }
    WaybillInput input() { return WaybillInput{order, withSender ? &sender : nullptr, today}; }

    Order order;
    SenderProfile sender;
    bool withSender = true;
    QDate today{2026, 3, 14};
    TextMetrics metrics;
};

WaybillSettings withSwitch(PrintSwitches::Number number, bool on) {
    WaybillSettings settings;
    settings.switches.on[number] = on;
    return settings;
}

} // namespace

TEST_F(Renderer, OneRecordLayoutPrintsTheBuyerNameAtItsBox) {
    const LaidOutItem item = layout(record(QStringLiteral("B|ORDER_DATA:buy_name")));
    ASSERT_TRUE(item.visible);
    EXPECT_EQ(item.text, QStringLiteral("李四"));
    EXPECT_FALSE(item.font.bold);
    EXPECT_EQ(item.font.pointSize, 10);
    EXPECT_EQ(item.font.family, FontFaces::kPrintingFace);
    EXPECT_EQ(item.alignment, Alignment::Left);
    EXPECT_EQ(item.box.topLeft(), QPointF(1000, 800));
    EXPECT_EQ(item.lines, QStringList{QStringLiteral("李四")});
    // Auto-size: the box takes the text's own width and one line's height.
    EXPECT_NEAR(item.box.width(), metrics.width(item.font, QStringLiteral("李四")), 0.01);
    EXPECT_NEAR(item.box.height(), metrics.lineHeight(item.font), 0.01);
}

TEST_F(Renderer, PartsAreAppendedWithoutSeparator) {
    EXPECT_EQ(text(QStringLiteral("C|寄件人+B|MY_DATA:my_fjr")), QStringLiteral("寄件人张三"));
    EXPECT_EQ(text(QStringLiteral("B|ORDER_DATA:buy_address_sheng+B|ORDER_DATA:buy_address_shi+"
                                  "C|+C|a|b")),
              QStringLiteral("广东省深圳市a|b"));
    EXPECT_EQ(text(QStringLiteral("C|收+B|SYS:VbCrlf+C|件")), QStringLiteral("收\r\n件"));
}

TEST_F(Renderer, AnchorsKeepTheirPointOfTheStoredBox) {
    const auto box = [&](const QString& anchor) {
        return layout(record(QStringLiteral("B|ORDER_DATA:buy_name"),
                             anchor + QStringLiteral("^1000^800^3000^1300")))
            .box;
    };
    // The text is much smaller than the 3000 × 1300 box.
    const QRectF rb = box(QStringLiteral("RB"));
    EXPECT_LT(rb.width(), 1000);
    EXPECT_NEAR(rb.right(), 4000, 0.01);
    EXPECT_NEAR(rb.bottom(), 2100, 0.01);
    const QRectF cc = box(QStringLiteral("CC"));
    EXPECT_NEAR(cc.center().x(), 2500, 1);
    EXPECT_NEAR(cc.center().y(), 1450, 1);
    EXPECT_EQ(box(QStringLiteral("LB")).left(), 1000);
    EXPECT_NEAR(box(QStringLiteral("LB")).bottom(), 2100, 0.01);
    EXPECT_NEAR(box(QStringLiteral("LCH")).center().y(), 1450, 1);
    EXPECT_EQ(box(QStringLiteral("RT")).top(), 800);
    EXPECT_NEAR(box(QStringLiteral("RT")).right(), 4000, 0.01);
    EXPECT_NEAR(box(QStringLiteral("RCH")).right(), 4000, 0.01);
    // An unknown anchor places the text as "LT" does.
    EXPECT_EQ(box(QStringLiteral("ZZ")).topLeft(), QPointF(1000, 800));
}

TEST_F(Renderer, CountWrapCutsEveryNCharacters) {
    order.buyAddress = QStringLiteral("广东省深圳市南山区");
    const LaidOutItem item =
        layout(record(QStringLiteral("B|ORDER_DATA:buy_address"), QStringLiteral("LT^0^0^4000^300"),
                      QStringLiteral("M^4")));
    EXPECT_EQ(item.text, QStringLiteral("广东省深圳市南山区"));
    EXPECT_EQ(item.lines, (QStringList{"广东省深", "圳市南山", "区"}));
    EXPECT_EQ(item.box.width(), 4000);
    EXPECT_NEAR(item.box.height(), 3 * metrics.lineHeight(item.font), 0.01);
}

TEST_F(Renderer, WidthWrapKeepsTheWidthAndGrowsDown) {
    order.buyAddress = QStringLiteral("广东省深圳市南山区科技园南路一号创维大厦A座十八楼");
    const LaidOutItem item =
        layout(record(QStringLiteral("B|ORDER_DATA:buy_address"), QStringLiteral("LB^0^0^2000^300"),
                      QStringLiteral("L^2000")));
    ASSERT_GT(item.lines.size(), 2);
    EXPECT_EQ(item.lines.join(QString()), order.buyAddress);
    for (const QString& line : item.lines)
        EXPECT_LE(metrics.width(item.font, line), 2000.01);
    EXPECT_EQ(item.box.width(), 2000);
    EXPECT_NEAR(item.box.bottom(), 300, 0.01); // anchored at the bottom, it grew upwards
}

TEST(SizeLadder, StepsAlongTheLadder) {
    EXPECT_EQ(SizeLadder::adjust("12", SizeLadder::stepOf("小一号")), 11);
    EXPECT_EQ(SizeLadder::adjust("9", 1), 9);
    EXPECT_EQ(SizeLadder::adjust("20", 1), 20);
    EXPECT_EQ(SizeLadder::adjust("10.5", SizeLadder::stepOf("正常大小")), 10.5);
    EXPECT_EQ(SizeLadder::adjust("9", SizeLadder::stepOf("大二号")), 10); // 10.5 counts as 10
    EXPECT_EQ(SizeLadder::adjust("12", SizeLadder::stepOf("小二号")), 10);
    EXPECT_EQ(SizeLadder::adjust("18", -2), 22);
    EXPECT_EQ(SizeLadder::adjust("13", 1), 18); // not on the ladder: taken from its end
    EXPECT_EQ(SizeLadder::stepOf("大一号"), -1);
    EXPECT_EQ(SizeLadder::stepOf("大三号"), 0);
}

TEST_F(Renderer, SizeStepOfTheSettingsApplies) {
    PrintSettings stored;
    stored.fontSizeStep = 1; // 小一号
    const LaidOutItem item = layout(record(QStringLiteral("C|x"), QStringLiteral("LT^0^0^100^100"),
                                           QStringLiteral("N^"), QStringLiteral("12")),
                                    WaybillSettings::fromPrintSettings(stored));
    EXPECT_EQ(item.font.pointSize, 11);
}

TEST_F(Renderer, DayOffsetMovesOnlyTheDay) {
    WaybillSettings settings;
    settings.dayOffset = 1;
    today = QDate(2026, 1, 31);
    EXPECT_EQ(text(QStringLiteral("B|SYS:Day"), settings), QStringLiteral("01"));
    EXPECT_EQ(text(QStringLiteral("B|SYS:Month"), settings), QStringLiteral("01"));
    today = QDate(2026, 12, 31);
    EXPECT_EQ(text(QStringLiteral("B|SYS:Year+C|-+B|SYS:Month+C|-+B|SYS:Day"), settings),
              QStringLiteral("2026-12-01"));
    EXPECT_EQ(text(QStringLiteral("B|SYS:Day"), withSwitch(PrintSwitches::Date, false)), QString());
}

TEST_F(Renderer, SwitchesSilenceTheirSources) {
    EXPECT_EQ(text(QStringLiteral("B|ORDER_DATA:buy_phone1"),
                   withSwitch(PrintSwitches::BuyPhone1, false)),
              QString());
    EXPECT_EQ(
        text(QStringLiteral("C|寄件人+B|MY_DATA:my_fjr"), withSwitch(PrintSwitches::MyName, false)),
        QStringLiteral("寄件人"));
    // The receiver's name has no switch.
    EXPECT_EQ(
        text(QStringLiteral("B|ORDER_DATA:buy_name"), withSwitch(PrintSwitches::MyName, false)),
        QStringLiteral("李四"));
    EXPECT_EQ(text(QStringLiteral("B|ORDER_DATA:buy_goods"),
                   withSwitch(PrintSwitches::SimplifyGoods, true)),
              QStringLiteral("连衣裙\r\n围巾"));
    EXPECT_EQ(text(QStringLiteral("B|ORDER_DATA:buy_goods")), order.buyGoods);
}

TEST_F(Renderer, DestinationFollowsSwitches18To20) {
    const auto destination = [&](int packed) {
        PrintSettings stored;
        stored.destinationSwitches = packed;
        return text(QStringLiteral("B|ORDER_DATA:buy_end"),
                    WaybillSettings::fromPrintSettings(stored));
    };
    EXPECT_EQ(destination(PrintSwitches::destinationNumber(false, true, true)), QString());
    EXPECT_EQ(destination(PrintSwitches::destinationNumber(true, false, false)),
              QStringLiteral("深圳"));
    EXPECT_EQ(destination(PrintSwitches::destinationNumber(true, true, true)),
              QStringLiteral("广东省深圳市南山区"));
    EXPECT_EQ(destination(PrintSwitches::destinationNumber(true, false, true)),
              QStringLiteral("深圳市南山区"));
    EXPECT_EQ(destination(11), QStringLiteral("广东省深圳市南山区")); // the stored default
}

TEST_F(Renderer, SettingsRowColumnsReachTheirSwitches) {
    PrintSettings stored;
    stored.itemFlags[0] = 0;  // ORDER_DATA_buy_id
    stored.itemFlags[1] = 0;  // ORDER_DATA_buy_name has no switch
    stored.itemFlags[15] = 0; // MY_DATA_my_start
    const PrintSwitches switches = PrintSwitches::fromSettings(stored);
    EXPECT_FALSE(switches[PrintSwitches::BuyId]);
    EXPECT_FALSE(switches[PrintSwitches::MyStart]);
    EXPECT_TRUE(switches[PrintSwitches::BuyPhone1]);
    EXPECT_TRUE(switches[PrintSwitches::MyHandler]);
}

TEST_F(Renderer, EverySwitchIsStoredInAColumnOfItsOwn) {
    // Each switch turned alone against the defaults: any two sharing a column, or one without a
    // column, comes back changed.
    for (int n = 0; n < PrintSwitches::Count; ++n) {
        PrintSwitches edited;
        edited.on[n] = !edited.on[n];
        PrintSettings stored;
        edited.storeInto(stored);
        EXPECT_EQ(PrintSwitches::fromSettings(stored).on, edited.on)
            << PrintSwitches::caption(PrintSwitches::Number(n)).toStdString();
    }
}

TEST_F(Renderer, PostcodeDigits) {
    EXPECT_EQ(text(QStringLiteral("Y|1+Y|6+Y|7+Y|10+Y|11+Y|12")), QStringLiteral("2050"));
    EXPECT_EQ(text(QStringLiteral("Y|1"), withSwitch(PrintSwitches::MyZipcode, false)), QString());
    EXPECT_EQ(text(QStringLiteral("Y|7"), withSwitch(PrintSwitches::BuyZipcode, false)), QString());
    EXPECT_EQ(text(QStringLiteral("Y|0+Y|x+Y|")), QString());
}

TEST_F(Renderer, UnknownSenderPrintsNoSenderDateOrDigits) {
    withSender = false;
    EXPECT_EQ(text(QStringLiteral("C|寄件人+B|MY_DATA:my_fjr")), QStringLiteral("寄件人"));
    EXPECT_EQ(text(QStringLiteral("B|SYS:Year+Y|7+Y|1")), QString());
    EXPECT_EQ(text(QStringLiteral("B|ORDER_DATA:buy_name")), QStringLiteral("李四"));
}

TEST_F(Renderer, BadRecordsDrawNothing) {
    const QString name = QStringLiteral("B|ORDER_DATA:buy_name");
    EXPECT_FALSE(layout(record(name, QStringLiteral("LT^a^800^3000^300"))).visible);
    EXPECT_FALSE(layout(record(name, QStringLiteral("LT^1000"))).visible);
    EXPECT_FALSE(layout(record(name, QStringLiteral("LT^nan^0^1^1"))).visible);
    EXPECT_FALSE(layout(record(name, QStringLiteral("LT^1e300^0^1^1"))).visible);
    WaybillSettings smaller; // a step must not turn a bad size into a ladder size
    smaller.sizeStep = 1;
    for (const QString size : {"大", "inf", "1e6", "-3", "0"})
        EXPECT_FALSE(
            layout(record(name, QStringLiteral("LT^1^2^3^4"), QStringLiteral("N^"), size), smaller)
                .visible)
            << size.toStdString();
    EXPECT_FALSE(layout(QStringLiteral("Y{F}N{F}B|ORDER_DATA:buy_name")).visible);
    EXPECT_FALSE(layout(QString()).visible);
    EXPECT_FALSE(layout(record(QStringLiteral("L|1+LS|2+F|3+B|NO_SUCH:x"))).visible);
    QString hidden = record(name);
    hidden[0] = u'C';
    EXPECT_FALSE(layout(hidden).visible);
    // A missing size keeps the default of 9 points; a missing wrap field means no wrap.
    const LaidOutItem item =
        layout(QStringLiteral("Y{F}Y{F}B|ORDER_DATA:buy_name{F}{F}{F}{F}{F}LT^1^2^3^4"));
    EXPECT_TRUE(item.visible);
    EXPECT_TRUE(item.font.bold);
    EXPECT_EQ(item.font.pointSize, 9);
}

TEST_F(Renderer, KaitiGb2312TakesTheChosenFace) {
    EXPECT_EQ(FontFaces::kaitiSubstitute(2), QStringLiteral("宋体"));
    EXPECT_EQ(FontFaces::kaitiSubstitute(99), QStringLiteral("楷体"));
    WaybillSettings settings;
    settings.kaitiFace = QStringLiteral("DejaVu Sans"); // installed, so it prints as itself
    const auto face = [&](const QString& name) {
        return layout(record(QStringLiteral("C|x"), QStringLiteral("LT^0^0^9^9"),
                             QStringLiteral("N^"), QStringLiteral("9"), name),
                      settings)
            .font.family;
    };
    EXPECT_EQ(face(QStringLiteral("楷体_GB2312")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(face(QStringLiteral("隶书")), FontFaces::kPrintingFace);
    EXPECT_EQ(face(QStringLiteral("No Such Face")), FontFaces::kPrintingFace);
}

TEST_F(Renderer, PageHoldsTextLinesBarcodesAndEditedCustomItems) {
    test::TestFolder folder;
    folder.writeTemplate(
        QStringLiteral("圆通"),
        {record(QStringLiteral("C|收件人:+B|ORDER_DATA:buy_name+B|SYS:VbCrlf+"
                               "B|ORDER_DATA:buy_phone1"),
                QStringLiteral("LT^1000^800^3000^300"), QStringLiteral("N^"), QStringLiteral("10"),
                QStringLiteral("宋体"), QStringLiteral("1")),
         record(QStringLiteral("T|ORDER_DATA:wuliu_code"), QStringLiteral("LT^500^3000^4000^900")),
         record(QStringLiteral("TN|ORDER_DATA:buy_phone1"),
                QStringLiteral("LT^500^4500^4000^600"))});
    QList<CustomItem> custom = CustomItems::load(folder.deliveryFile(QStringLiteral("圆通.dat")));
    custom[4].text = QStringLiteral("易碎品");
    custom[4].left = 6000;
    CustomItems::save(folder.deliveryFile(QStringLiteral("圆通.dat")), custom);

    WaybillTemplates templates(folder.folder(), ErrorLog(folder.folder().errorLogPath()));
    const WaybillTemplate* form = templates.find(QStringLiteral("圆通"), order.myId);
    ASSERT_TRUE(form);
    EXPECT_NEAR(form->paper.width(), 100 * 1440 / 25.4, 0.5); // 800 dots at 8 dots per mm
    EXPECT_EQ(templates.find(QString(), order.myId), form);   // the sender's last template
    EXPECT_FALSE(templates.find(QString(), QStringLiteral("其他卖家")));

    WaybillRenderer renderer{WaybillSettings{}};
    const PageModel page = renderer.render(*form, input());
    EXPECT_EQ(page.size, form->paper);
    ASSERT_EQ(page.texts.size(), 4); // two lines, the number beneath its bars, the custom item
    // Right-aligned in the auto-sized box: the wider line starts at the box's left.
    const TextLine& name = page.texts[0];
    const TextLine& phone = page.texts[1];
    EXPECT_EQ(name.text, QStringLiteral("收件人:李四"));
    EXPECT_EQ(phone.text, QStringLiteral("13800138000"));
    EXPECT_NEAR(phone.top - name.top, metrics.lineHeight(name.font), 0.01);
    EXPECT_NEAR(std::min(name.left, phone.left), 1000, 0.01);
    EXPECT_NEAR(name.left + metrics.width(name.font, name.text),
                phone.left + metrics.width(phone.font, phone.text), 0.01);

    EXPECT_EQ(page.texts[2].text, QStringLiteral("YT1234567890"));
    EXPECT_EQ(page.texts[2].left, 500);
    EXPECT_EQ(page.texts[3].text, QStringLiteral("易碎品"));
    EXPECT_NEAR(page.texts[3].left +
                    metrics.width(page.texts[3].font, QStringLiteral("易碎品")) / 2,
                6000 + 4965 / 2.0, 0.01);
    ASSERT_FALSE(page.barcodes.isEmpty());
    for (const BarcodeBars& barcode : page.barcodes)
        EXPECT_TRUE(barcode.top == 3000 || barcode.top == 4500);
}
