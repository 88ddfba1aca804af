#include "LabelReader.h"
#include "PrintFolder.h"

#include "core/TextFile.h"
#include "printing/LabelCommands.h"
#include "printing/LabelDetection.h"
#include "printing/LabelJob.h"
#include "printing/TestLabel.h"

#include <gtest/gtest.h>

#include <random>

namespace mldd {
namespace {

LabelSettings settingsIn(LabelLanguage language, LabelSensing sensing = LabelSensing::Gap) {
    LabelSettings settings;
    settings.language = language;
    settings.sensing = sensing;
    settings.gapMm = 3;
    return settings;
}

void setRow(LabelBitmap& bitmap, int y, const QByteArray& bytes) {
    bitmap.bits.replace(y * bitmap.bytesPerRow(), bitmap.bytesPerRow(), bytes);
}

// Rows that put every rule of ZPL's compression to work: empty and full rows, a row like the one
// before it, runs of 19, 20, 21 and more than 400 equal digits, rows ending in zeros or in ones,
// and random dots; 1641 dots wide, so the last byte is only partly on the label.
LabelBitmap awkwardBitmap() {
    LabelBitmap bitmap{1641, 12, {}};
    const int bytes = bitmap.bytesPerRow();
    bitmap.bits = QByteArray(bytes * bitmap.height, '\0');
    setRow(bitmap, 1, QByteArray(bytes, '\xff'));
    setRow(bitmap, 2, QByteArray(bytes, '\xff'));
    setRow(bitmap, 3, QByteArray(10, '\x11') + QByteArray(bytes - 10, '\0'));
    setRow(bitmap, 4, QByteArray(201, '\xaa') + QByteArray(bytes - 201, '\xff'));
    QByteArray runs;
    for (int length : {19, 20, 21, 1, 2, 40, 41})
        runs += QByteArray(length, char(runs.size() % 2 ? 0x00 : 0x3c));
    setRow(bitmap, 5, runs.leftJustified(bytes, '\x0f', true));
    std::mt19937 random(38);
    for (int y = 6; y < bitmap.height; ++y) {
        QByteArray row(bytes, '\0');
        for (char& byte : row)
            byte = char(random() % 256);
        setRow(bitmap, y, row);
    }
    return bitmap;
}

void expectSameDots(const QImage& read, const LabelBitmap& sent) {
    ASSERT_EQ(read.height(), sent.height);
    ASSERT_EQ(read.width(), sent.bytesPerRow() * 8);
    for (int y = 0; y < sent.height; ++y)
        for (int x = 0; x < sent.width; ++x)
            ASSERT_EQ(read.pixelIndex(x, y), int(sent.black(x, y))) << x << "," << y;
}

TEST(LabelCommands, EveryLanguageCarriesEachLabelDotForDotWithItsSettings) {
    LabelBitmap first = awkwardBitmap();
    LabelBitmap second = first;
    second.bits = QByteArray(second.bits.size(), '\0');
    setRow(second, 7, QByteArray(second.bytesPerRow(), '\x80'));
    for (LabelSensing sensing : {LabelSensing::Gap, LabelSensing::BlackMark}) {
        for (LabelLanguage language :
             {LabelLanguage::Tspl, LabelLanguage::Zpl, LabelLanguage::Epl}) {
            SCOPED_TRACE(LabelLanguages::name(language).toStdString());
            const QByteArray job = labelJob(settingsIn(language, sensing), 203, {first, second});
            const test::ReadJob read = test::readLabelJob(job);
            ASSERT_TRUE(read.ok()) << read.error.toStdString();
            EXPECT_EQ(read.language, LabelLanguages::name(language));
            ASSERT_EQ(read.labels.size(), 2);
            expectSameDots(read.labels[0], first);
            expectSameDots(read.labels[1], second);
            const bool mark = sensing == LabelSensing::BlackMark;
            switch (language) {
            case LabelLanguage::Tspl:
                EXPECT_EQ(read.settings.value("SIZE"), "100 mm,150 mm");
                EXPECT_EQ(read.settings.value(mark ? "BLINE" : "GAP"), "3 mm,0 mm");
                EXPECT_EQ(read.settings.value("DENSITY"), "8");
                break;
            case LabelLanguage::Zpl:
                EXPECT_EQ(read.settings.value("^PW"), "1641");
                EXPECT_EQ(read.settings.value("^LL"), "12");
                EXPECT_EQ(read.settings.value("^MN"), mark ? "M" : "Y");
                EXPECT_EQ(read.settings.value("~SD"), "16");
                break;
            default:
                EXPECT_EQ(read.settings.value("q"), "1641");
                // 3 mm at 203 dpi is 24 dots.
                EXPECT_EQ(read.settings.value("Q"), mark ? "12,B24+0" : "12,24");
                EXPECT_EQ(read.settings.value("D"), "8");
            }
        }
    }
}

TEST(LabelCommands, ALabelsDotsComeFromThePainterAtThePrintersResolutionAndItsBarcodeScans) {
    for (int dotsPerInch : {203, 300}) {
        SCOPED_TRACE(dotsPerInch);
        const LabelSettings settings = settingsIn(LabelLanguage::Zpl);
        const auto drawn =
            rasterLabel(testLabel(settings, dotsPerInch), settings.labelMm(), dotsPerInch);
        ASSERT_TRUE(std::holds_alternative<LabelBitmap>(drawn))
            << std::get<QString>(drawn).toStdString();
        const LabelBitmap& label = std::get<LabelBitmap>(drawn);
        EXPECT_EQ(label.width, dotsOf(100, dotsPerInch));
        EXPECT_EQ(label.height, dotsOf(150, dotsPerInch));
        // The frame on the label's edges: its corners are black, just inside them white.
        EXPECT_TRUE(label.black(3, 3));
        EXPECT_TRUE(label.black(label.width - 4, label.height - 4));
        EXPECT_FALSE(label.black(label.width / 2, label.height - 30));
        const test::ReadJob read = test::readLabelJob(labelJob(settings, dotsPerInch, {label}));
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        EXPECT_EQ(test::scannedCodes(read.labels.first()), QStringList{kTestLabelCode});
    }
}

TEST(LabelCommands, APageLargerThanTheLabelIsRefusedWithTheSizeItNeeds) {
    LabelSettings settings = settingsIn(LabelLanguage::Tspl);
    settings.paperMm = QSizeF(76, 130);
    PageModel page;
    page.size = QSizeF(100 * kTwipsPerMillimetre, 150 * kTwipsPerMillimetre);
    // Blank beyond the label: the page's size alone refuses nothing.
    page.rules.append(RuleLine{100, 100, 70 * kTwipsPerMillimetre, 100});
    EXPECT_TRUE(std::holds_alternative<QByteArray>(labelJobBytes(settings, 203, {}, {page})));
    // A line that ends 90 mm in and 140 mm down.
    page.rules.append(RuleLine{100, 140 * kTwipsPerMillimetre, 90 * kTwipsPerMillimetre,
                               140 * kTwipsPerMillimetre});
    const auto refused = labelJobBytes(settings, 203, {}, {page});
    ASSERT_TRUE(std::holds_alternative<QString>(refused));
    EXPECT_TRUE(std::get<QString>(refused).contains(QStringLiteral("需要91×141毫米的标签")))
        << std::get<QString>(refused).toStdString();
    // The offsets move the print: moved back onto the label it fits.
    const PrintPlacement placement{20 * kTwipsPerMillimetre, 15 * kTwipsPerMillimetre, 1};
    EXPECT_TRUE(
        std::holds_alternative<QByteArray>(labelJobBytes(settings, 203, placement, {page})));
}

TEST(LabelCommands, ZplCompressionMakesAWaybillSmallerThanTspl) {
    const LabelSettings settings = settingsIn(LabelLanguage::Zpl);
    const auto tspl =
        labelJobBytes(settingsIn(LabelLanguage::Tspl), 203, {}, {testLabel(settings, 203)});
    const auto zpl = labelJobBytes(settings, 203, {}, {testLabel(settings, 203)});
    ASSERT_TRUE(std::holds_alternative<QByteArray>(tspl));
    ASSERT_TRUE(std::holds_alternative<QByteArray>(zpl));
    EXPECT_LE(std::get<QByteArray>(tspl).size(), 160 * 1024);
    EXPECT_LT(std::get<QByteArray>(zpl).size(), std::get<QByteArray>(tspl).size() / 4);
}

TEST(LabelSetup,
     SettingsAndPaperAreKeptPerPrinterAndAnUnknownLanguageReadsAsTheDriverWithAMessage) {
    test::PrintFolder print;
    print.folder.ensureExists();
    const ErrorLog log(print.folder.errorLogPath());
    const PrinterSetup setup(print.folder, log);
    const LabelSetup labels(setup);
    EXPECT_EQ(labels.load(QStringLiteral("热敏1")).settings, LabelSettings{});

    LabelSettings zebra = settingsIn(LabelLanguage::Epl, LabelSensing::BlackMark);
    zebra.paperMm = QSizeF(76, 130);
    zebra.darkness = 12;
    zebra.speed = 2;
    ASSERT_TRUE(labels.save(QStringLiteral("热敏1"), zebra));
    ASSERT_TRUE(labels.save(QStringLiteral("热敏2"), settingsIn(LabelLanguage::Tspl)));
    EXPECT_EQ(labels.load(QStringLiteral("热敏1")).settings, zebra);
    EXPECT_FALSE(labels.load(QStringLiteral("热敏1")).note);
    EXPECT_EQ(labels.load(QStringLiteral("热敏2")).settings.language, LabelLanguage::Tspl);

    // An office printer keeps its paper, wider than any label, or none at all.
    LabelSettings office;
    office.paperMm = QSizeF(297, 210);
    ASSERT_TRUE(labels.save(QStringLiteral("办公室"), office));
    EXPECT_EQ(labels.load(QStringLiteral("办公室")).settings, office);
    ASSERT_TRUE(labels.save(QStringLiteral("办公室"), LabelSettings{}));
    EXPECT_EQ(labels.load(QStringLiteral("办公室")).settings.paperMm, std::nullopt);
    // A driver printer saved before it had a paper: its sizes were only the panel's labels.
    TextFile::writeBytes(setup.labelFile(QStringLiteral("办公室")),
                         QByteArray("驱动程序|100|150|间隙|2|8|4\r\n"));
    EXPECT_EQ(labels.load(QStringLiteral("办公室")).settings.paperMm, std::nullopt);

    // Edited by hand: numbers out of range fall back one by one, an unknown language to the driver.
    TextFile::writeBytes(setup.labelFile(QStringLiteral("热敏2")),
                         QByteArray("ZPL|500|150|黑标|99|-1|4\r\n"));
    const LabelSettings edited = labels.load(QStringLiteral("热敏2")).settings;
    EXPECT_EQ(edited.language, LabelLanguage::Zpl);
    EXPECT_EQ(edited.labelMm(), QSizeF(100, 150));
    EXPECT_EQ(edited.sensing, LabelSensing::BlackMark);
    EXPECT_EQ(edited.gapMm, 2);
    EXPECT_EQ(edited.darkness, 8);
    TextFile::writeBytes(setup.labelFile(QStringLiteral("热敏2")),
                         QByteArray("CPCL|100|150|间隙|2|8|4\r\n"));
    const LabelSettingsRead unknown = labels.load(QStringLiteral("热敏2"));
    EXPECT_EQ(unknown.settings.language, LabelLanguage::Driver);
    ASSERT_TRUE(unknown.note);
    EXPECT_TRUE(unknown.note->text.contains(QStringLiteral("“CPCL”无法识别，按“驱动程序”打印")));
    EXPECT_TRUE(TextFile::read(log.path()).lines.join(u'\n').contains(QStringLiteral("CPCL")));
}

TEST(LabelDetection, TheQueuesDeviceAndDriverChooseTheLanguage) {
    const QString raw = QStringLiteral("Local Raw Printer");
    const struct {
        const char* uri;
        QString driver;
        LabelLanguage expected;
    } cases[] = {
        {"usb://TSC/TTP-244%20Plus?serial=123", raw, LabelLanguage::Tspl},
        {"usb://Gprinter/GP-1324D?serial=1", raw, LabelLanguage::Tspl},
        {"usb://Xprinter/XP-420B", raw, LabelLanguage::Tspl},
        {"usb://Zebra%20Technologies/ZTC%20GK420d?serial=2", raw, LabelLanguage::Zpl},
        {"usb://Zebra/LP2844?serial=3", raw, LabelLanguage::Epl},
        {"socket://192.168.1.20:9100", raw, LabelLanguage::Tspl},
        {"usb://Zebra%20Technologies/ZTC%20GK420d", QStringLiteral("Zebra ZPL Label Printer"),
         LabelLanguage::Driver},
        {"ipp://office/printers/laser", QStringLiteral("HP LaserJet"), LabelLanguage::Driver},
    };
    for (const auto& c : cases)
        EXPECT_EQ(detectLabelLanguage(QString::fromLatin1(c.uri), c.driver), c.expected) << c.uri;
}

} // namespace
} // namespace mldd
