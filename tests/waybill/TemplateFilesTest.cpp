#include "TestFolder.h"

#include "waybill/CustomItems.h"
#include "waybill/TemplateFiles.h"
#include "waybill/WaybillTemplate.h"

#include "core/TextFile.h"

#include <gtest/gtest.h>

using namespace mldd;
using mldd::test::TestFolder;

namespace {

const QString kRecord = QStringLiteral(
    "Y{F}N{F}B|ORDER_DATA:buy_name{F}收件人{F}宋体{F}10{F}0{F}LT^1000^800^3000^300{F}N^");

} // namespace

TEST(TemplateFiles, LayoutRoundTripsThroughOneCodecLine) {
    TestFolder test;
    const TemplateFiles files(test.folder(), QStringLiteral("圆通"));
    ASSERT_TRUE(files.saveLayout(kRecord));
    const TextFileContent stored = TextFile::read(files.layoutPath());
    ASSERT_EQ(stored.lines.size(), 1);
    EXPECT_EQ(stored.lines[0], LayoutCodec::encode(kRecord));
    const LayoutLoad load = files.loadLayout();
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(load.layout, kRecord);
}

TEST(TemplateFiles, ReaderJoinsLinesAndSkipsEmptyOnes) {
    TestFolder test;
    const QByteArray encoded = LayoutCodec::encode(kRecord).toUtf8();
    test.writeFile(QStringLiteral("申通.mlg"),
                   "\r\n" + encoded.left(20) + "\r\n\r\n" + encoded.mid(20) + "\r\n");
    const LayoutLoad load = TemplateFiles(test.folder(), QStringLiteral("申通")).loadLayout();
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(load.layout, kRecord);
}

TEST(TemplateFiles, BadLayoutIsUnreadableNotFatal) {
    TestFolder test;
    test.writeTemplate(QStringLiteral("坏"), {});
    test.writeFile(QStringLiteral("坏.mlg"), "Y{F}N{F}not codec text\r\n");
    EXPECT_EQ(TemplateFiles(test.folder(), QStringLiteral("坏")).loadLayout().status,
              LayoutLoad::Status::Unreadable);
    const ErrorLog log(test.folder().errorLogPath());
    const std::optional<WaybillTemplate> loaded =
        WaybillTemplate::load(test.folder(), QStringLiteral("坏"), log);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->items.isEmpty());
    EXPECT_EQ(TextFile::read(log.path()).lines.size(), 1);

    // A picture that does not load leaves the template on the common paper size.
    test.writeFile(QStringLiteral("坏.mlm"), "not a picture");
    const std::optional<WaybillTemplate> unpictured =
        WaybillTemplate::load(test.folder(), QStringLiteral("坏"), log);
    ASSERT_TRUE(unpictured);
    EXPECT_EQ(unpictured->paper, WaybillTemplate::kDefaultPaper);
}

TEST(TemplateFiles, SaveItemReplacesEveryOccurrence) {
    TestFolder test;
    const TemplateFiles files(test.folder(), QStringLiteral("中通"));
    const QString other =
        QStringLiteral("Y{F}N{F}C|寄件人{F}{F}宋体{F}9{F}0{F}LT^0^0^100^100{F}N^");
    files.saveLayout(QStringList{kRecord, other, kRecord}.join(QStringLiteral("{D}")));
    QString changed = kRecord;
    changed.replace(QStringLiteral("{F}10{F}"), QStringLiteral("{F}12{F}"));
    EXPECT_FALSE(files.saveItem(kRecord, changed));
    EXPECT_EQ(files.loadLayout().layout,
              QStringList({changed, other, changed}).join(QStringLiteral("{D}")));
}

TEST(TemplateFiles, MissingTemplateGivesTheDownloadNotice) {
    TestFolder test;
    const TemplateFiles files(test.folder(), QStringLiteral("韵达"));
    const std::optional<Notice> notice = files.saveItem(kRecord, kRecord);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text,
              QStringLiteral("快递单据模版-韵达 文件丢失，点[确定]后,软件将尝试下载！"));
    EXPECT_EQ(notice->icon, Notice::Icon::Exclamation);
    EXPECT_EQ(notice->title, QStringLiteral("墨岚打单"));

    // The layout alone is not enough: both files make a template.
    files.saveLayout(kRecord);
    EXPECT_FALSE(files.exists());
    EXPECT_FALSE(WaybillTemplate::load(test.folder(), QStringLiteral("韵达"),
                                       ErrorLog(test.folder().errorLogPath())));
}

TEST(TemplateFiles, NamesNeverLeaveTheTemplateFolder) {
    TestFolder test;
    for (const QString& name : {QStringLiteral("../mlddsj"), QStringLiteral("a/b"),
                                QStringLiteral("..\\x"), QStringLiteral(".."), QString()}) {
        const TemplateFiles files(test.folder(), name);
        EXPECT_FALSE(files.hasSafeName()) << name.toStdString();
        EXPECT_TRUE(files.layoutPath().isEmpty());
        EXPECT_FALSE(files.saveLayout(kRecord));
        EXPECT_FALSE(files.loadLayout().ok());
    }
    EXPECT_TRUE(TemplateFiles::isSafeName(QStringLiteral("EMS..新")));
    EXPECT_TRUE(TemplateFiles(test.folder(), QStringLiteral("EMS"))
                    .layoutPath()
                    .endsWith(QStringLiteral("/data/Delivery/EMS.mlg")));
}

TEST(CustomItems, MissingFileGivesTheTenDefaults) {
    TestFolder test;
    const QList<CustomItem> items = CustomItems::load(test.deliveryFile(QStringLiteral("x.dat")));
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(items[0].text,
              QStringLiteral("鼠标双击编辑自定义打印内容,可自定义项10项，当前第01项。"));
    EXPECT_EQ(items[9].text,
              QStringLiteral("鼠标双击编辑自定义打印内容,可自定义项10项，当前第10项。"));
    EXPECT_EQ(
        items[3].toRecord(),
        QStringLiteral("ZDYDYX`鼠标双击编辑自定义打印内容,可自定义项10项，当前第04项。`1`宋体`"
                       "9`2`False`False`False`0`0`4965`180"));
}

TEST(CustomItems, SavedItemsReadBackAndBadFieldsKeepDefaults) {
    TestFolder test;
    const QString path = test.deliveryFile(QStringLiteral("顺丰.dat"));
    QList<CustomItem> items = CustomItems::load(path);
    items[2].text = QStringLiteral("易碎品 轻放");
    items[2].font = FontSpec{QStringLiteral("黑体"), 10.5, true, true, false};
    items[2].alignment = Alignment::Right;
    items[2].left = 1200;
    items[2].top = 3400;
    ASSERT_TRUE(CustomItems::save(path, items));
    const QList<CustomItem> back = CustomItems::load(path);
    EXPECT_EQ(back[2].toRecord(), items[2].toRecord());
    EXPECT_EQ(back[9].toRecord(), items[9].toRecord());

    test.writeFile(QStringLiteral("顺丰.dat"), "ZDYDYX`hello`1`宋体`big`9`x`False`True`a`5");
    const QList<CustomItem> bad = CustomItems::load(path);
    EXPECT_EQ(bad[0].text, QStringLiteral("hello"));
    EXPECT_EQ(bad[0].font.pointSize, 9);
    EXPECT_TRUE(bad[0].font.underline);
    EXPECT_EQ(bad[0].left, 0);
    EXPECT_EQ(bad[0].top, 5);
    EXPECT_EQ(bad[1].text, CustomItem::placeholder(2));
}
