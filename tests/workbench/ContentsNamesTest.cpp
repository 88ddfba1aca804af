#include "workbench/ContentsNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;
using namespace Qt::StringLiterals;

namespace {

class ContentsNamesTest : public ::testing::Test {
protected:
    ContentsNamesTest() : m_folder(m_dir.path() + u"/data"_s) {
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
    names.defaultName = u"衣服"_s;
    names.candidates = {u"衣服"_s, u"鞋"_s};
    ASSERT_FALSE(names.save(m_folder, u"淘宝:abc"_s));
    EXPECT_EQ(fileBytes(u"淘宝;abc.njp"_s), u"0衣服[NJF]衣服 鞋\r\n"_s.toUtf8());

    const ContentsNames loaded = ContentsNames::load(m_folder, u"淘宝:abc"_s);
    EXPECT_TRUE(loaded.firstOption);
    EXPECT_EQ(loaded.defaultName, u"衣服"_s);
    EXPECT_EQ(loaded.candidates, names.candidates);
}

TEST_F(ContentsNamesTest, EditedTextKeepsOneBlankBetweenNames) {
    using L = QStringList;
    EXPECT_EQ(ContentsNames::candidatesFromText(u"衣服\u3000\u3000鞋"_s), (L{u"衣服"_s, u"鞋"_s}));
    EXPECT_EQ(ContentsNames::candidatesFromText(u"  a    b \u3000c  "_s),
              (L{u"a"_s, u"b"_s, u"c"_s}));
    // Six blanks are more than two halvings remove; no empty name comes of it.
    EXPECT_EQ(ContentsNames::candidatesFromText(u"a      b"_s), (L{u"a"_s, u"b"_s}));
    // A pasted line break would split the one-line file; it is a blank too.
    EXPECT_EQ(ContentsNames::candidatesFromText(u"a\r\nb\tc"_s), (L{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_TRUE(ContentsNames::candidatesFromText(u"\u3000 \u3000"_s).isEmpty());
}

TEST_F(ContentsNamesTest, LinesAreReadAsWrittenAndOddLinesGiveNoNames) {
    const ContentsNames second = ContentsNames::parse(u"7裤子[NJF]裤子  帽子[NJF]"_s);
    EXPECT_FALSE(second.firstOption);
    EXPECT_EQ(second.defaultName, u"裤子"_s);
    EXPECT_EQ(second.candidates, (QStringList{u"裤子"_s, u"帽子[NJF]"_s}));
    EXPECT_EQ(second.toLine(), u"1裤子[NJF]裤子 帽子[NJF]"_s);

    const ContentsNames bare = ContentsNames::parse(u"[NJF]a"_s);
    EXPECT_TRUE(bare.firstOption);
    EXPECT_TRUE(bare.defaultName.isEmpty());
    EXPECT_TRUE(ContentsNames::parse(u"0衣服 鞋"_s).candidates.isEmpty());

    // A missing file gives an empty list.
    EXPECT_TRUE(ContentsNames::load(m_folder, u"拍拍:none"_s).candidates.isEmpty());
}

TEST_F(ContentsNamesTest, AddingANameMovesItToTheEndWithoutTouchingLongerNames) {
    ContentsNames names;
    names.candidates = {u"鞋"_s, u"皮鞋"_s, u"衣服"_s};
    names.add(u"鞋"_s);
    EXPECT_EQ(names.candidates, (QStringList{u"皮鞋"_s, u"衣服"_s, u"鞋"_s}));
    names.add(QString());
    EXPECT_EQ(names.candidates.size(), 3);
}

TEST_F(ContentsNamesTest, SenderIdsThatWouldLeaveTheFolderAreRefused) {
    ContentsNames names;
    names.candidates = {u"x"_s};
    for (const QString& id : {u"淘宝:../../escape"_s, u"a\\b"_s}) {
        EXPECT_TRUE(ContentsNames::filePath(m_folder, id).isEmpty());
        const std::optional<Notice> refused = names.save(m_folder, id);
        ASSERT_TRUE(refused);
        EXPECT_TRUE(refused->text.contains(id));
    }
    const std::optional<Notice> empty = names.save(m_folder, QString());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->text, u"请选择发件人ID，再保存!"_s);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{u"data"_s});
    EXPECT_TRUE(QDir(m_folder.dataPath()).isEmpty());
}

} // namespace
