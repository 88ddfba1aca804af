#include "workbench/ContentsNames.h"

#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

class ContentsNamesTest : public ::testing::Test {
protected:
    ContentsNamesTest() : m_folder(m_dir.path() + QStringLiteral("/data")) {
        QDir().mkpath(m_folder.dataPath());
    }

    QByteArray fileBytes(const QString& name) const {
        QFile file(m_folder.dataPath() + u'/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    DataFolder m_folder;
};

TEST_F(ContentsNamesTest, FileIsNamedAfterTheSenderWithColonsAsSemicolons) {
    ContentsNames names;
    names.defaultName = QStringLiteral("衣服");
    names.candidates = {QStringLiteral("衣服"), QStringLiteral("鞋")};
    ASSERT_FALSE(names.save(m_folder, QStringLiteral("淘宝:abc")));
    EXPECT_EQ(fileBytes(QStringLiteral("淘宝;abc.njp")),
              QStringLiteral("0衣服[NJF]衣服 鞋\r\n").toUtf8());

    const ContentsNames loaded = ContentsNames::load(m_folder, QStringLiteral("淘宝:abc"));
    EXPECT_TRUE(loaded.firstOption);
    EXPECT_EQ(loaded.defaultName, QStringLiteral("衣服"));
    EXPECT_EQ(loaded.candidates, names.candidates);
}

TEST_F(ContentsNamesTest, EditedTextKeepsOneBlankBetweenNames) {
    using L = QStringList;
    EXPECT_EQ(ContentsNames::candidatesFromText(QStringLiteral("衣服\u3000\u3000鞋")),
              (L{QStringLiteral("衣服"), QStringLiteral("鞋")}));
    EXPECT_EQ(ContentsNames::candidatesFromText(QStringLiteral("  a    b \u3000c  ")),
              (L{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    // Six blanks are more than two halvings remove; no empty name comes of it.
    EXPECT_EQ(ContentsNames::candidatesFromText(QStringLiteral("a      b")),
              (L{QStringLiteral("a"), QStringLiteral("b")}));
    // A pasted line break would split the one-line file; it is a blank too.
    EXPECT_EQ(ContentsNames::candidatesFromText(QStringLiteral("a\r\nb\tc")),
              (L{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_TRUE(ContentsNames::candidatesFromText(QStringLiteral("\u3000 \u3000")).isEmpty());
}

TEST_F(ContentsNamesTest, LinesAreReadAsWrittenAndOddLinesGiveNoNames) {
    const ContentsNames second = ContentsNames::parse(QStringLiteral("7裤子[NJF]裤子  帽子[NJF]"));
    EXPECT_FALSE(second.firstOption);
    EXPECT_EQ(second.defaultName, QStringLiteral("裤子"));
    EXPECT_EQ(second.candidates,
              (QStringList{QStringLiteral("裤子"), QStringLiteral("帽子[NJF]")}));
    EXPECT_EQ(second.toLine(), QStringLiteral("1裤子[NJF]裤子 帽子[NJF]"));

    const ContentsNames bare = ContentsNames::parse(QStringLiteral("[NJF]a"));
    EXPECT_TRUE(bare.firstOption);
    EXPECT_TRUE(bare.defaultName.isEmpty());
    EXPECT_TRUE(ContentsNames::parse(QStringLiteral("0衣服 鞋")).candidates.isEmpty());

    // An old file in GBK still loads; a missing one gives an empty list.
    QFile file(m_folder.dataPath() + QStringLiteral("/拍拍;old.njp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(TextCodec::toGbk(QStringLiteral("0书[NJF]书 杂志\r\n")));
    file.close();
    EXPECT_EQ(ContentsNames::load(m_folder, QStringLiteral("拍拍:old")).candidates,
              (QStringList{QStringLiteral("书"), QStringLiteral("杂志")}));
    EXPECT_TRUE(ContentsNames::load(m_folder, QStringLiteral("拍拍:none")).candidates.isEmpty());
}

TEST_F(ContentsNamesTest, AddingANameMovesItToTheEndWithoutTouchingLongerNames) {
    ContentsNames names;
    names.candidates = {QStringLiteral("鞋"), QStringLiteral("皮鞋"), QStringLiteral("衣服")};
    names.add(QStringLiteral("鞋"));
    EXPECT_EQ(names.candidates,
              (QStringList{QStringLiteral("皮鞋"), QStringLiteral("衣服"), QStringLiteral("鞋")}));
    names.add(QString());
    EXPECT_EQ(names.candidates.size(), 3);
}

TEST_F(ContentsNamesTest, SenderIdsThatWouldLeaveTheFolderAreRefused) {
    ContentsNames names;
    names.candidates = {QStringLiteral("x")};
    for (const QString& id : {QStringLiteral("淘宝:../../escape"), QStringLiteral("a\\b")}) {
        EXPECT_TRUE(ContentsNames::filePath(m_folder, id).isEmpty());
        const std::optional<Notice> refused = names.save(m_folder, id);
        ASSERT_TRUE(refused);
        EXPECT_TRUE(refused->text.contains(id));
    }
    const std::optional<Notice> empty = names.save(m_folder, QString());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->text, QStringLiteral("请选择发件人ID，再保存!"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("data")});
    EXPECT_TRUE(QDir(m_folder.dataPath()).isEmpty());
}

TEST_F(ContentsNamesTest, DefaultNameWithALineBreakStaysOnOneLine) {
    ContentsNames names;
    names.firstOption = false;
    names.defaultName = QStringLiteral("上衣\r\n裤子");
    ASSERT_FALSE(names.save(m_folder, QStringLiteral("abc")));
    EXPECT_EQ(fileBytes(QStringLiteral("abc.njp")),
              QStringLiteral("1上衣  裤子[NJF]\r\n").toUtf8());
}

} // namespace
