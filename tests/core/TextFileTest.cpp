#include "FullDisk.h"
#include "TempDataFolder.h"

#include "core/ErrorLog.h"
#include "core/SettingsFile.h"
#include "core/TextCodec.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace mldd;

TEST(TextFile, GbkAndUtf8FilesReadAlike) {
    test::TempDataFolder data;
    QDir().mkpath(data.folder().dataPath());
    const QString text = QStringLiteral("贵州省贵阳市花溪区\r\n第二行 with ASCII\r\n");
    data.writeBytes(data.path("gbk.txt"), TextCodec::toGbk(text));
    data.writeBytes(data.path("utf8.txt"), text.toUtf8());
    data.writeBytes(data.path("bom.txt"), "\xEF\xBB\xBF" + text.toUtf8());

    const TextFileContent gbk = TextFile::read(data.path("gbk.txt"));
    ASSERT_TRUE(gbk.ok());
    EXPECT_EQ(gbk.lines, (QStringList{QStringLiteral("贵州省贵阳市花溪区"),
                                      QStringLiteral("第二行 with ASCII")}));
    EXPECT_EQ(TextFile::read(data.path("utf8.txt")).lines, gbk.lines);
    EXPECT_EQ(TextFile::read(data.path("bom.txt")).lines, gbk.lines);

    // A character beyond GBK takes four bytes in GB18030, the encoding Windows saves.
    const QString rare = QStringLiteral("收货人王\U00020000");
    const QByteArray fourBytes = TextCodec::toGb18030(rare);
    EXPECT_TRUE(fourBytes.contains("\x95\x32\x82\x36"));
    data.writeBytes(data.path("gb18030.txt"), fourBytes);
    EXPECT_EQ(TextFile::read(data.path("gb18030.txt")).firstLine(), rare);
}

TEST(TextFile, GbkRoundTripKeepsCodePage936Characters) {
    // 〇 and € exist only in the code page 936 extensions of GBK.
    const QString text = QStringLiteral("鑫飞鸿〇€ abc");
    EXPECT_EQ(TextCodec::fromGbk(TextCodec::toGbk(text)), text);
    EXPECT_EQ(TextCodec::toGbk(QStringLiteral("中")), QByteArray("\xD6\xD0"));
    // A truncated double-byte character is replaced, never read past the end.
    EXPECT_EQ(TextCodec::fromGbk(QByteArray("A\xD6")), QStringLiteral("A\uFFFD"));
}

TEST(TextFile, LinesEndAtCrLfOrLfAndKeepEmptyLinesInside) {
    EXPECT_EQ(TextFile::splitLines(QStringLiteral("a\r\n\r\nb\nc")),
              (QStringList{"a", "", "b", "c"}));
    EXPECT_EQ(TextFile::splitLines(QStringLiteral("a\r\n")), QStringList{"a"});
    EXPECT_TRUE(TextFile::splitLines(QString()).isEmpty());
    // A CR alone is part of the line, as in captured page text.
    EXPECT_EQ(TextFile::splitLines(QStringLiteral("a\rb")), QStringList{"a\rb"});
}

TEST(TextFile, WritesUtf8WithCrLfAndReplacesTheWholeFile) {
    test::TempDataFolder data;
    const QString path = data.path("set/Jgf.dat");
    ASSERT_TRUE(TextFile::write(path, {QStringLiteral("第一行"), QStringLiteral("2")}));
    EXPECT_EQ(data.readBytes(path), QStringLiteral("第一行\r\n2\r\n").toUtf8());

    ASSERT_TRUE(TextFile::write(path, {QStringLiteral("short")}));
    EXPECT_EQ(data.readBytes(path), QByteArray("short\r\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(data.path("set")).entryList(QDir::Files), QStringList{"Jgf.dat"});
}

TEST(TextFile, MissingAndUnreadableFilesAreTold) {
    test::TempDataFolder data;
    EXPECT_EQ(TextFile::read(data.path("none.dat")).status, TextFileContent::Status::Missing);
    QDir().mkpath(data.path("folder.dat"));
    const TextFileContent folder = TextFile::read(data.path("folder.dat"));
    EXPECT_EQ(folder.status, TextFileContent::Status::Failed);
    EXPECT_FALSE(folder.error.isEmpty());
}

TEST(ErrorLog, LineHoldsDateTimeLocationNumberAndDescription) {
    const QDateTime when(QDate(2026, 1, 5), QTime(9, 5, 7));
    EXPECT_EQ(ErrorLog::formatLine(when, QStringLiteral("wmb4"), 75, QStringLiteral("路径错误")),
              QStringLiteral("2026/1/5 9:05:07|wmb4|75|路径错误"));
    // A description never breaks the one-line-per-error layout.
    EXPECT_EQ(ErrorLog::formatLine(when, QStringLiteral("55"), 13, QStringLiteral("a\r\nb")),
              QStringLiteral("2026/1/5 9:05:07|55|13|a  b"));

    test::TempDataFolder data;
    const ErrorLog log(data.folder().errorLogPath());
    log.append(QStringLiteral("A3"), 3001, QStringLiteral("first"));
    log.append(QStringLiteral("A3"), 3001, QStringLiteral("second"));
    const QStringList lines = TextFile::read(log.path()).lines;
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("|A3|3001|first")));
    EXPECT_TRUE(data.readBytes(log.path()).endsWith("|second\r\n"));
}

TEST(DataFolder, FindsFoldersWhateverTheirLetterCase) {
    test::TempDataFolder data;
    const QString program = data.folder().programPath();
    QDir().mkpath(program + QStringLiteral("/Data/Delivery"));
    EXPECT_EQ(DataFolder::besideProgram(program).dataPath(), program + QStringLiteral("/Data"));
    const DataFolder folder(program + QStringLiteral("/Data"));
    EXPECT_EQ(folder.file(QStringLiteral("delivery/圆通.mlg")),
              program + QStringLiteral("/Data/Delivery/圆通.mlg"));
    EXPECT_EQ(folder.errorLogPath(), program + QStringLiteral("/ERR.TXT"));
}

// On a full disk a settings file, the journal's appended line and any other write
// fail, say so, and leave what was on the disk exactly as it was.
TEST(TextFile, AFullDiskLeavesEveryFileAsItWasAndSaysSo) {
    test::FullDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString settings = disk.path(QStringLiteral("set/Print_kd_default.dat"));
    const QString journal = disk.path(QStringLiteral("set/Print_jobs.dat"));
    ASSERT_TRUE(TextFile::write(settings, {QStringLiteral("收银台打印机")}));
    ASSERT_TRUE(TextFile::appendLine(journal, QStringLiteral("7|1|K|收银台打印机")));
    const QByteArray settingsBefore = test::TempDataFolder().readBytes(settings);
    disk.fill(8192);

    test::TempDataFolder elsewhere;
    const ErrorLog log(elsewhere.path(QStringLiteral("ERR.TXT")));
    EXPECT_FALSE(writeSettingsFile(settings, {QString(5000, u'长')}, log, QStringLiteral("55")));
    EXPECT_EQ(test::TempDataFolder().readBytes(settings), settingsBefore);
    EXPECT_TRUE(TextFile::read(elsewhere.path(QStringLiteral("ERR.TXT")))
                    .firstLine()
                    .contains(QStringLiteral("磁盘空间已满")));

    QString error;
    EXPECT_FALSE(TextFile::appendLine(journal, QString(5000, u'长'), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("磁盘空间已满"))) << error.toStdString();
    EXPECT_EQ(TextFile::read(journal).lines, QStringList{QStringLiteral("7|1|K|收银台打印机")});

    // A file that does not exist yet is not left behind half written either.
    const QString fresh = disk.path(QStringLiteral("new.dat"));
    EXPECT_FALSE(TextFile::writeBytes(fresh, QByteArray(64 * 1024, 'x'), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("原来的文件没有改动"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(fresh));

    // A device is never replaced by a file renamed over it.
    EXPECT_FALSE(TextFile::writeBytes(QStringLiteral("/dev/null"), "x", &error));
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/null")).exists());
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());
}
