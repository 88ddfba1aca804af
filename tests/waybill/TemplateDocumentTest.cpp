#include "TestFolder.h"

#include "waybill/DesignerNotices.h"
#include "waybill/FormPicture.h"
#include "waybill/RecordFields.h"
#include "waybill/Snapping.h"
#include "waybill/TemplateDocument.h"
#include "waybill/TemplateFiles.h"

#include "core/TextFile.h"

#include <QDataStream>
#include <QFile>

#include <gtest/gtest.h>

using namespace mldd;
using mldd::test::TestFolder;

namespace {

const QString kReceiver = QStringLiteral("Y{F}Y{F}C|收件人:+B|ORDER_DATA:buy_name{F}收件人{F}宋体{"
                                         "F}12{F}0{F}RB^6576^2608^6066^397{F}N^");
const QString kAddress =
    QStringLiteral("Y{F}N{F}B|ORDER_DATA:buy_address{F}收件地址{F}宋体{F}10.5{F}0{F}LT^6576^3742^"
                   "6066^1247{F}L^6066");

ItemSource source(const QString& caption, const QString& expression) {
    return {caption, expression, QString()};
}

QStringList layoutRecords(const TestFolder& test, const QString& name) {
    return TemplateFiles(test.folder(), name).loadLayout().layout.split(QStringLiteral("{D}"));
}

std::unique_ptr<TemplateDocument> opened(const TestFolder& test, const QString& name) {
    TemplateDocument::Opened result = TemplateDocument::open(test.folder(), name);
    EXPECT_TRUE(result.notices.isEmpty());
    return std::move(result.document);
}

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xffffffff;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

void appendChunk(QByteArray& png, const QByteArray& typeAndData) {
    QDataStream out(&png, QIODevice::Append);
    out << quint32(typeAndData.size() - 4);
    out.writeRawData(typeAndData.constData(), int(typeAndData.size()));
    out << crc32(typeAndData);
}

// A PNG whose header claims `width` × `height` pixels and that holds none of them.
QByteArray pngHeader(quint32 width, quint32 height) {
    QByteArray header("IHDR");
    QDataStream out(&header, QIODevice::Append);
    out << width << height << quint8(8) << quint8(2) << quint8(0) << quint8(0) << quint8(0);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, header);
    appendChunk(png, "IDAT" + qCompress(QByteArray(100, 0)).mid(4)); // the size is read up to here
    appendChunk(png, "IEND");
    return png;
}

} // namespace

TEST(TemplateDocument, EditsUndoRedoAndSaveTouchOnlyTheEditedRecord) {
    TestFolder test;
    QStringList records{kReceiver, kAddress, QStringLiteral("broken{F}record")};
    for (int i = 0; i < 40; ++i) // past the 41 a view holds: kept, never shown
        records.append(
            QStringLiteral("Y{F}N{F}C|第%1项{F}{F}宋体{F}9{F}0{F}LT^0^0^100^100{F}N^").arg(i));
    test.writeTemplate(QStringLiteral("圆通"), records);
    auto document = opened(test, QStringLiteral("圆通"));
    ASSERT_EQ(document->layoutCount(), 41);
    EXPECT_FALSE(document->box(ItemRef::layout(2))); // a record without a box stays off the paper
    EXPECT_EQ(document->caption(ItemRef::layout(2)), QStringLiteral("项目3"));

    // Five nudges of one item are one step; the anchor code stays in front of the box.
    const ItemRef receiver = ItemRef::layout(0);
    QRectF box = *document->box(receiver);
    for (int i = 0; i < 5; ++i) {
        box.translate(kTwipsPerMillimetre, 0);
        document->setBoxes({{receiver, box}}, QStringLiteral("移动"), true);
    }
    EXPECT_EQ(document->undoStack().count(), 1);
    const QString moved = document->record(0).text;
    EXPECT_EQ(RecordFields::field(moved, RecordFields::kBox),
              QStringLiteral("RB^6859^2608^6066^397"));
    document->undoStack().undo();
    EXPECT_EQ(document->record(0).text, kReceiver);
    EXPECT_FALSE(document->isModified());
    document->undoStack().redo();

    // A width wrap follows its box's new width; a move alone leaves it.
    document->setBoxes({{ItemRef::layout(1), QRectF(6576, 3742, 5000, 1247)}},
                       QStringLiteral("大小"));
    EXPECT_EQ(RecordFields::field(document->record(1).text, RecordFields::kWrap),
              QStringLiteral("L^5000"));
    document->undoStack().undo();

    ASSERT_FALSE(document->save());
    EXPECT_FALSE(document->isModified());
    QStringList expected = records;
    expected[0] = moved;
    EXPECT_EQ(layoutRecords(test, QStringLiteral("圆通")), expected);
    EXPECT_FALSE(QFile::exists(test.deliveryFile(QStringLiteral("圆通.dat"))));
}

TEST(TemplateDocument, ItemsAddRemoveAndCustomItemsSaveAsTen) {
    TestFolder test;
    test.writeTemplate(QStringLiteral("中通"), {kReceiver});
    // A custom-item file of three records gains the seven defaults on the first save.
    test.writeFile(QStringLiteral("中通.dat"),
                   "ZDYDYX`易碎`1`宋体`9`2`False`False`False`0`0`4965`180[ZDYF]"
                   "ZDYDYX`b`1`宋体`9`2`False`False`False`0`0`4965`180[ZDYF]"
                   "ZDYDYX`c`1`宋体`9`2`False`False`False`0`0`4965`180");
    auto document = opened(test, QStringLiteral("中通"));

    ASSERT_FALSE(document->addItem(
        source(QStringLiteral("运单条码"), QStringLiteral("T|ORDER_DATA:wuliu_code")),
        QRectF(-500, 100, 3000, 600)));
    ASSERT_EQ(document->layoutCount(), 2);
    EXPECT_EQ(document->box(ItemRef::layout(1)), QRectF(0, 100, 3000, 600)); // kept on the paper
    document->removeItem(0);
    EXPECT_EQ(document->caption(ItemRef::layout(0)), QStringLiteral("运单条码"));
    document->undoStack().undo();
    EXPECT_EQ(document->record(0).text, kReceiver);

    CustomItem item = document->customItem(0);
    item.text = CustomItem::storable(QStringLiteral("易碎`轻放\r\n向上"));
    item.font.italic = true;
    document->setValue(ItemRef::custom(0), item, QStringLiteral("自定义"));
    ASSERT_FALSE(document->save());
    const QList<CustomItem> saved =
        CustomItems::load(test.deliveryFile(QStringLiteral("中通.dat")));
    EXPECT_EQ(saved[0].text, QStringLiteral("易碎＇轻放  向上"));
    EXPECT_TRUE(saved[0].font.italic);
    EXPECT_EQ(saved[1].text, QStringLiteral("b"));
    EXPECT_EQ(saved[9].text, CustomItem::placeholder(10));
    EXPECT_EQ(TextFile::read(test.deliveryFile(QStringLiteral("中通.dat"))).lines.size(), 1);

    // A full layout refuses one more.
    for (int i = document->layoutCount(); i < 41; ++i)
        document->addItem(source(QStringLiteral("x"), QStringLiteral("C|x")),
                          QRectF(0, 0, 100, 100));
    EXPECT_EQ(document->addItem(source(QStringLiteral("y"), QStringLiteral("C|y")), QRectF())->text,
              DesignerNotices::tooManyItems().text);
}

TEST(TemplateDocument, NewTemplateFromAPictureCoversItsPaper) {
    TestFolder test;
    test.writeFile(QStringLiteral("scan.jpg"), {});
    const QString picturePath = test.deliveryFile(QStringLiteral("scan.jpg"));
    QImage scan(4000, 1800, QImage::Format_RGB32);
    scan.fill(Qt::white);
    ASSERT_TRUE(scan.save(picturePath, "JPEG"));

    auto made = TemplateDocument::fromPicture(test.folder(), QStringLiteral("德邦"), picturePath,
                                              QSizeF(200, 90));
    ASSERT_TRUE(made.document);
    TemplateDocument& document = *made.document;
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.picture().size(), QSize(2000, 900)); // ten dots per millimetre at most
    document.addItem(source(QStringLiteral("收件人姓名"), QStringLiteral("B|ORDER_DATA:buy_name")),
                     QRectF(1000, 800, 3000, 300));
    ASSERT_FALSE(document.save());
    EXPECT_FALSE(document.isModified());

    const auto loaded = WaybillTemplate::load(test.folder(), QStringLiteral("德邦"),
                                              ErrorLog(test.folder().errorLogPath()));
    ASSERT_TRUE(loaded);
    EXPECT_NEAR(loaded->paper.width(), 200 * kTwipsPerMillimetre, 1);
    EXPECT_NEAR(loaded->paper.height(), 90 * kTwipsPerMillimetre, 1);
    ASSERT_EQ(loaded->items.size(), 1);
    EXPECT_EQ(loaded->items[0].source, QStringLiteral("B|ORDER_DATA:buy_name"));

    // Saved as another name, every file goes along; names that leave the folder are refused.
    EXPECT_FALSE(document.saveAs(QStringLiteral("德邦2")));
    EXPECT_TRUE(TemplateFiles(test.folder(), QStringLiteral("德邦2")).exists());
    EXPECT_EQ(document.name(), QStringLiteral("德邦2"));
    for (const QString& bad : {QStringLiteral("../德邦"), QStringLiteral("a\\b"), QString()}) {
        EXPECT_EQ(document.saveAs(bad)->text, DesignerNotices::badName(bad).text);
        EXPECT_FALSE(
            TemplateDocument::fromPicture(test.folder(), bad, picturePath, {200, 90}).document);
    }
    EXPECT_FALSE(QFile::exists(test.deliveryFile(QStringLiteral("../德邦.mlg"))));
    EXPECT_FALSE(
        TemplateDocument::fromPicture(test.folder(), QStringLiteral("x"), picturePath, {5, 90})
            .document);
}

TEST(TemplateDocument, BadPicturesAndLayoutsGiveMessagesNotCrashes) {
    TestFolder test;
    const QString huge = test.deliveryFile(QStringLiteral("huge.png"));
    test.writeFile(QStringLiteral("huge.png"), pngHeader(20000, 20000));
    test.writeFile(QStringLiteral("text.png"), "this is no picture");
    auto tooLarge =
        TemplateDocument::fromPicture(test.folder(), QStringLiteral("大"), huge, {230, 127});
    EXPECT_FALSE(tooLarge.document);
    ASSERT_EQ(tooLarge.notices.size(), 1);
    EXPECT_TRUE(tooLarge.notices[0].text.contains(QStringLiteral("20000×20000")))
        << tooLarge.notices[0].text.toStdString();
    auto notPicture =
        TemplateDocument::fromPicture(test.folder(), QStringLiteral("假"),
                                      test.deliveryFile(QStringLiteral("text.png")), {230, 127});
    EXPECT_FALSE(notPicture.document);
    EXPECT_TRUE(notPicture.notices.value(0).text.contains(QStringLiteral("不是能打开的图片")));

    // An unreadable layout opens empty; saving keeps the old file beside the new one.
    test.writeTemplate(QStringLiteral("坏"), {});
    test.writeFile(QStringLiteral("坏.mlg"), "not codec text\r\n");
    test.writeFile(QStringLiteral("坏.mlm"), "not a picture");
    auto broken = TemplateDocument::open(test.folder(), QStringLiteral("坏"));
    ASSERT_TRUE(broken.document);
    EXPECT_EQ(broken.notices.size(), 2);
    EXPECT_EQ(broken.document->paper(), WaybillTemplate::kDefaultPaper);
    EXPECT_EQ(broken.document->layoutCount(), 0);
    broken.document->addItem(
        source(QStringLiteral("收件人"), QStringLiteral("B|ORDER_DATA:buy_name")),
        QRectF(100, 100, 2000, 300));
    ASSERT_FALSE(broken.document->save());
    EXPECT_TRUE(TemplateFiles(test.folder(), QStringLiteral("坏")).loadLayout().ok());
    EXPECT_EQ(TextFile::read(test.deliveryFile(QStringLiteral("坏.mlg.bak"))).firstLine(),
              QStringLiteral("not codec text"));

    EXPECT_FALSE(TemplateDocument::open(test.folder(), QStringLiteral("没有")).document);
}

TEST(RecordFields, FieldEditsKeepTheRestOfTheRecord) {
    EXPECT_EQ(RecordFields::withField(QStringLiteral("Y{F}N{F}C|x"), RecordFields::kBold,
                                      QStringLiteral("Y")),
              QStringLiteral("Y{F}Y{F}C|x{F}{F}{F}{F}{F}{F}"));
    EXPECT_EQ(RecordFields::withAnchor(kReceiver, QStringLiteral("CC")),
              QString(kReceiver).replace(QStringLiteral("RB^"), QStringLiteral("CC^")));
    EXPECT_EQ(RecordFields::wrapCount(QStringLiteral("1２a2")), 12);
    EXPECT_FALSE(RecordFields::wrapCount(QStringLiteral("1")));
    EXPECT_FALSE(RecordFields::wrapCount(QStringLiteral("0")));
    EXPECT_FALSE(RecordFields::wrapCount(QString()));
    const ItemRecord made = ItemRecord::parse(RecordFields::make(
        QStringLiteral("目的地"), ItemSources::constant(QStringLiteral("a+b{F}c")),
        QRectF(10.4, 20.6, 300, 40)));
    EXPECT_EQ(made.source, QStringLiteral("C|a＋b｛F｝c"));
    EXPECT_EQ(*made.left, 10);
    EXPECT_EQ(*made.top, 21);
    EXPECT_TRUE(made.printed);
}

TEST(Snapping, EdgesAndCentresMeetWithinReach) {
    const QList<QRectF> others{QRectF(1000, 1000, 2000, 300), QRectF(0, 0, 13000, 7000)};
    // The left edge is 40 twips off the other's left, the top 30 below its bottom.
    SnapResult snapped = Snapping::snapBox(QRectF(1040, 1330, 500, 200), others, 50);
    EXPECT_EQ(snapped.shift, QPointF(-40, -30));
    EXPECT_EQ(snapped.guideX, 1000);
    EXPECT_EQ(snapped.guideY, 1300);
    // Centres meet centres; nothing within reach, nothing moves.
    snapped = Snapping::snapBox(QRectF(1790, 3000, 400, 100), others, 20);
    EXPECT_EQ(snapped.shift, QPointF(10, 0));
    EXPECT_FALSE(snapped.guideY);
    snapped = Snapping::snapPoint(QPointF(2990, 6990), others, 15);
    EXPECT_EQ(snapped.shift, QPointF(10, 10));
}
