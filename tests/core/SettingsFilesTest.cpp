#include "TempDataFolder.h"

#include "core/ImportOptions.h"
#include "core/PrintDefaults.h"
#include "core/ProgramOptions.h"
#include "core/ServiceAddress.h"
#include "core/TextFile.h"
#include "core/UpdateNotice.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {
QStringList logLines(const DataFolder& folder) {
    return TextFile::read(folder.errorLogPath()).lines;
}
} // namespace

TEST(ServiceAddress, FirstLineOfGUrlElseTheBuiltInAddress) {
    test::TempDataFolder data;
    const ErrorLog log(data.folder().errorLogPath());
    EXPECT_EQ(ServiceAddress::read(data.folder(), log), QStringLiteral("http://127.0.0.1:8717"));

    data.writeBytes(data.folder().programFile("g_url.dat"), "http://example.test:99/\r\nrest\r\n");
    EXPECT_EQ(ServiceAddress::read(data.folder(), log), QStringLiteral("http://example.test:99"));
    EXPECT_TRUE(logLines(data.folder()).isEmpty());
}

TEST(UpdateNotice, ShortRecordsAreDeletedAndTheBuiltInOneUsed) {
    test::TempDataFolder data;
    const ErrorLog log(data.folder().errorLogPath());
    const QString path = data.folder().programFile("update_msg.dat");
    EXPECT_EQ(UpdateNotice::load(data.folder(), log).version, UpdateNotice::builtIn().version);

    data.writeBytes(path, "4.20[U]3[U]http://a");
    EXPECT_EQ(UpdateNotice::load(data.folder(), log).serverAddress,
              UpdateNotice::builtIn().serverAddress);
    EXPECT_FALSE(QFile::exists(path));

    data.writeBytes(path, "4.20[U]3[U]http://a[U]http://b\r\n");
    const UpdateNotice notice = UpdateNotice::load(data.folder(), log);
    EXPECT_EQ(notice.version, QStringLiteral("4.20"));
    EXPECT_EQ(notice.siteAddress, QStringLiteral("http://b"));
    EXPECT_TRUE(notice.code.isEmpty());
    EXPECT_TRUE(QFile::exists(path));
}

TEST(ImportOptions, ReadsFiveFieldsAndTicksMergeWhenTheFifthIsMissing) {
    const ImportOptions four =
        ImportOptions::fromLine(QStringLiteral("，[JGF]；[JGF]False[JGF]True"));
    EXPECT_EQ(four.firstSeparator, QStringLiteral("，"));
    EXPECT_EQ(four.secondSeparator, QStringLiteral("；"));
    EXPECT_FALSE(four.firstSeparatorChosen);
    EXPECT_TRUE(four.mergeSameBuyer);

    const ImportOptions five =
        ImportOptions::fromLine(QStringLiteral(",[JGF]|[JGF]True[JGF]False[JGF]0"));
    EXPECT_TRUE(five.firstSeparatorChosen);
    EXPECT_FALSE(five.mergeSameBuyer);
    EXPECT_EQ(five.toLine(), QStringLiteral(",[JGF]|[JGF]True[JGF]False[JGF]0"));
}

TEST(ImportOptions, SaveThenLoadGivesTheSameOptions) {
    test::TempDataFolder data;
    const ErrorLog log(data.folder().errorLogPath());
    ImportOptions options;
    options.firstSeparator = QStringLiteral("[NJF]");
    options.firstSeparatorChosen = false;
    options.mergeSameBuyer = false;
    ASSERT_TRUE(options.save(data.folder(), log));
    const ImportOptions loaded = ImportOptions::load(data.folder(), log);
    EXPECT_EQ(loaded.toLine(), options.toLine());
    EXPECT_TRUE(data.readBytes(data.folder().settingsFile("Jgf.dat")).endsWith("\r\n"));
}

TEST(SettingsFiles, AnUnreadableFileMeansDefaultsAndOneLogLine) {
    test::TempDataFolder data;
    const ErrorLog log(data.folder().errorLogPath());
    QDir().mkpath(data.folder().settingsFile("Jgf.dat")); // a folder where the file should be

    const ImportOptions options = ImportOptions::load(data.folder(), log);
    EXPECT_EQ(options.toLine(), ImportOptions().toLine());
    const QStringList lines = logLines(data.folder());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("|21|75|"))) << lines[0].toStdString();
}

TEST(PrintDefaults, MissingFilesGiveTheDefaultsAndPresentOnesTheirFirstLine) {
    test::TempDataFolder data;
    const ErrorLog log(data.folder().errorLogPath());
    PrintDefaults defaults = PrintDefaults::load(data.folder(), log);
    EXPECT_EQ(defaults.verticalScale, QStringLiteral("1.00"));
    EXPECT_EQ(defaults.paperRecord, QStringLiteral("A4|210|297|11904|16840|0|0|1"));
    EXPECT_TRUE(defaults.waybillPrinter.isEmpty());

    TextFile::write(data.folder().settingsFile("Print_kd_default.dat"),
                    {QStringLiteral("打印到快递文件")});
    TextFile::write(data.folder().settingsFile("Print_set_fh_font.dat"), {QStringLiteral("0.95")});
    defaults = PrintDefaults::load(data.folder(), log);
    EXPECT_EQ(defaults.waybillPrinter, QStringLiteral("打印到快递文件"));
    EXPECT_EQ(defaults.verticalScale, QStringLiteral("0.95"));
}

TEST(ProgramOptions, EmptyOrShortSoftSetReadsAsZerosAndSavesAsSeven) {
    EXPECT_EQ(ProgramOptions::fromText(QString()).toText(), QStringLiteral("0|0|0|0|0|0|0"));
    ProgramOptions options = ProgramOptions::fromText(QStringLiteral("1|2|x"));
    EXPECT_EQ(options.value(1), 2);
    EXPECT_EQ(options.value(2), 0);
    options.setValue(6, 9);
    options.setValue(7, 5); // past the seventh: ignored
    EXPECT_EQ(options.toText(), QStringLiteral("1|2|0|0|0|0|9"));
}

TEST(MenuVisibility, EntriesAreHiddenOnlyByZero) {
    MenuVisibility menu = MenuVisibility::fromText(QString());
    EXPECT_EQ(menu.toText(), QStringLiteral("111111111111"));
    menu = MenuVisibility::fromText(QStringLiteral("1011"));
    EXPECT_FALSE(menu.isShown(1));
    EXPECT_TRUE(menu.isShown(11));
    menu.setShown(11, false);
    EXPECT_EQ(menu.toText(), QStringLiteral("101111111110"));
}
