#include "core/DataDefaults.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

using namespace mldd;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A package's defaults folder with its list of files, and a seller's data folder made from them.
struct Folders {
    QTemporaryDir dir;
    QString defaults = dir.path() + QStringLiteral("/share/data");
    QString manifest = dir.path() + QStringLiteral("/share/defaults.list");
    DataFolder seller{dir.path() + QStringLiteral("/home/data")};

    DataDefaults::Result bring() const {
        return DataDefaults(defaults, manifest).bringInto(seller);
    }
    void ship(const QString& relative, const QByteArray& bytes) const {
        writeFile(defaults + u'/' + relative, bytes);
        const QByteArray listed = readFile(manifest).replace("<missing>", "");
        if (!listed.split('\n').contains(relative.toUtf8()))
            writeFile(manifest, listed + relative.toUtf8() + '\n');
    }
};

} // namespace

TEST(DataDefaults, AFreshFolderGetsEveryDefaultAndASecondStartChangesNothing) {
    Folders f;
    f.ship(QStringLiteral("code/Area.txt"), "北京市");
    f.ship(QStringLiteral("Delivery/圆通.mlg"), "layout");
    const DataDefaults::Result first = f.bring();
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(first.added.size(), 2);
    EXPECT_EQ(readFile(f.seller.file(QStringLiteral("Delivery/圆通.mlg"))), "layout");

    const DataDefaults::Result second = f.bring();
    EXPECT_TRUE(second.ok);
    EXPECT_TRUE(second.added.isEmpty() && second.renewed.isEmpty() && second.kept.isEmpty());
}

TEST(DataDefaults, ANewerPackageRenewsOnlyWhatTheSellerLeftAsItCame) {
    Folders f;
    for (const char* name : {"code/Area.txt", "Delivery/a.mlg", "Delivery/b.mlg", "Delivery/c.mlg",
                             "Delivery/gone.mlg"})
        f.ship(QString::fromUtf8(name), "old");
    ASSERT_TRUE(f.bring().ok);
    writeFile(f.seller.file(QStringLiteral("Delivery/b.mlg")), "seller's b");
    writeFile(f.seller.file(QStringLiteral("Delivery/c.mlg")), "seller's c");
    QFile::remove(f.seller.file(QStringLiteral("Delivery/gone.mlg")));

    // The next package: a new place table and templates, one more template.
    for (const char* name : {"code/Area.txt", "Delivery/b.mlg", "Delivery/gone.mlg"})
        f.ship(QString::fromUtf8(name), "new");
    f.ship(QStringLiteral("Delivery/d.mlg"), "new");
    const DataDefaults::Result result = f.bring();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(readFile(f.seller.file(QStringLiteral("code/Area.txt"))), "new");
    EXPECT_EQ(readFile(f.seller.file(QStringLiteral("Delivery/a.mlg"))), "old");
    EXPECT_EQ(readFile(f.seller.file(QStringLiteral("Delivery/b.mlg"))), "seller's b");
    EXPECT_EQ(readFile(f.seller.file(QStringLiteral("Delivery/c.mlg"))), "seller's c");
    EXPECT_EQ(readFile(f.seller.file(QStringLiteral("Delivery/d.mlg"))), "new");
    EXPECT_FALSE(QFile::exists(f.seller.file(QStringLiteral("Delivery/gone.mlg"))));
    EXPECT_EQ(result.renewed, QStringList{QStringLiteral("code/Area.txt")});
    EXPECT_EQ(result.kept, QStringList{QStringLiteral("Delivery/b.mlg")});

    // The seller's b stays on every later start, and once the seller puts the shipped
    // text back, the next package renews it again.
    EXPECT_EQ(f.bring().kept, QStringList{QStringLiteral("Delivery/b.mlg")});
    writeFile(f.seller.file(QStringLiteral("Delivery/b.mlg")), "new");
    ASSERT_TRUE(f.bring().kept.isEmpty());
    f.ship(QStringLiteral("Delivery/b.mlg"), "newer");
    f.bring();
    EXPECT_EQ(readFile(f.seller.file(QStringLiteral("Delivery/b.mlg"))), "newer");
}

TEST(DataDefaults, AFileTheSellerMadeBeforeTheDefaultExistedIsKept) {
    Folders f;
    writeFile(f.seller.file(QStringLiteral("Delivery/own.mlg")), "seller's");
    f.ship(QStringLiteral("Delivery/own.mlg"), "shipped");
    const DataDefaults::Result result = f.bring();
    EXPECT_EQ(result.kept, QStringList{QStringLiteral("Delivery/own.mlg")});
    EXPECT_EQ(readFile(f.seller.file(QStringLiteral("Delivery/own.mlg"))), "seller's");
}

// Only the files the package lists come in: never a store, its journal, backups or a record
// that something left in the defaults folder.
TEST(DataDefaults, FilesThePackageDoesNotListStayOut) {
    Folders f;
    f.ship(QStringLiteral("code/Area.txt"), "北京市");
    for (const char* stray :
         {"mlddsj.db", "mlddsj.db-wal", "mlddsj.db-shm", "backup/mlddsj-1.db", "defaults.sum"})
        writeFile(f.defaults + u'/' + QString::fromUtf8(stray), "stray");
    writeFile(f.manifest, readFile(f.manifest) + "../outside.txt\n/etc/passwd\n\n");
    writeFile(f.dir.path() + QStringLiteral("/share/outside.txt"), "stray");

    const DataDefaults::Result result = f.bring();
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.added, QStringList{QStringLiteral("code/Area.txt")});
    QStringList inFolder;
    for (QDirIterator it(f.seller.dataPath(), QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        inFolder.append(QDir(f.seller.dataPath()).relativeFilePath(it.next()));
    inFolder.sort();
    EXPECT_EQ(inFolder, (QStringList{"code/Area.txt", "defaults.sum"}));
    EXPECT_NE(readFile(f.seller.file(QStringLiteral("defaults.sum"))), "stray");
    EXPECT_FALSE(QFile::exists(f.dir.path() + QStringLiteral("/home/outside.txt")));

    // Without its list the package brings nothing and says why.
    QFile::remove(f.manifest);
    const DataDefaults::Result unlisted = f.bring();
    EXPECT_FALSE(unlisted.ok);
    EXPECT_TRUE(unlisted.error.contains(QStringLiteral("defaults.list")))
        << unlisted.error.toStdString();
}

TEST(DataFolderOfProgram, ABuildTreeKeepsItsFolderAndAnInstalledProgramUsesTheUsersOwn) {
    QTemporaryDir dir;
    const QString build = dir.path() + QStringLiteral("/build/bin");
    QDir().mkpath(build + QStringLiteral("/data"));
    EXPECT_EQ(DataFolder::ofProgram(build).dataPath(), build + QStringLiteral("/data"));
    EXPECT_TRUE(DataFolder::installedFiles(build).isEmpty());

    const QString prefix = dir.path() + QStringLiteral("/usr");
    writeFile(prefix + QStringLiteral("/share/mldd/data/code/Area.txt"), "北京市");
    writeFile(prefix + QStringLiteral("/share/mldd/defaults.list"), "code/Area.txt\n");
    const QString home = dir.path() + QStringLiteral("/home/.local/share");
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.toUtf8());
    const DataFolder own = DataDefaults::open(QString(), prefix + QStringLiteral("/bin"));
    const DataFolder chosen = DataDefaults::open(dir.path() + QStringLiteral("/elsewhere"),
                                                 prefix + QStringLiteral("/bin"));
    if (saved.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);

    EXPECT_EQ(own.dataPath(), home + QStringLiteral("/mldd"));
    EXPECT_EQ(own.errorLogPath(), home + QStringLiteral("/mldd/ERR.TXT"));
    EXPECT_EQ(readFile(own.file(QStringLiteral("code/Area.txt"))), "北京市");
    EXPECT_EQ(readFile(chosen.file(QStringLiteral("code/Area.txt"))), "北京市");
    QStringList underPrefix;
    for (QDirIterator it(prefix, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        underPrefix.append(it.next());
    underPrefix.sort();
    EXPECT_EQ(underPrefix, (QStringList{prefix + QStringLiteral("/share/mldd/data/code/Area.txt"),
                                        prefix + QStringLiteral("/share/mldd/defaults.list")}));
}
