#include "browser/Favourites.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mldd;

namespace {

class FavouritesTest : public ::testing::Test {
protected:
    QByteArray fileBytes() {
        QFile file(m_folder.file(QStringLiteral("code/IE.txt")));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(m_folder.file(QStringLiteral("code")));
        QFile file(m_folder.file(QStringLiteral("code/IE.txt")));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    DataFolder m_folder{m_dir.path() + QStringLiteral("/data")};
    ErrorLog m_log{m_dir.path() + QStringLiteral("/ERR.TXT")};
};

} // namespace

TEST_F(FavouritesTest, TheFileKeepsTheBoxAndTenFavouritesAndRefusesTheEleventh) {
    Favourites favourites = Favourites::load(m_folder, m_log);
    EXPECT_FALSE(favourites.add({QString(), QStringLiteral("http://a")})->text.isEmpty());
    EXPECT_EQ(favourites.add({QStringLiteral("店铺"), QStringLiteral(" ")})->text,
              QStringLiteral("链接不能空！"));
    EXPECT_TRUE(fileBytes().isEmpty()); // nothing written for a refused one
    favourites.setCloseAfterCapture(true);
    for (int i = 1; i <= 10; ++i)
        ASSERT_FALSE(favourites.add(
            {QStringLiteral("页%1").arg(i), QStringLiteral("https://trade.taobao.com/%1").arg(i)}));
    const QByteArray tenth = fileBytes();
    EXPECT_TRUE(tenth.startsWith("1[IE]页1{IEF}https://trade.taobao.com/1[IE]页2{IEF}"));
    EXPECT_TRUE(tenth.endsWith("\r\n"));
    EXPECT_EQ(favourites.add({QStringLiteral("页11"), QStringLiteral("http://x")})->text,
              QStringLiteral("最多收藏10个！请删除没有的，再收藏！"));
    EXPECT_EQ(fileBytes(), tenth);

    ASSERT_TRUE(favourites.remove(0));
    const Favourites reloaded = Favourites::load(m_folder, m_log);
    EXPECT_TRUE(reloaded.closeAfterCapture());
    ASSERT_EQ(reloaded.list().size(), 9);
    EXPECT_EQ(reloaded.list().first().title, QStringLiteral("页2"));
}

TEST_F(FavouritesTest, GarbageAndMarkersNeverMakeFavouritesWithoutTitleOrAddress) {
    writeFile("x[IE]{IEF}http://no-title[IE]无地址{IEF}[IE]没有分隔[IE]好{IEF}http://ok");
    Favourites favourites = Favourites::load(m_folder, m_log);
    EXPECT_FALSE(favourites.closeAfterCapture());
    ASSERT_EQ(favourites.list().size(), 1);
    EXPECT_EQ(favourites.list().first().title, QStringLiteral("好"));

    // A title that carries the file's own markers must not split into more favourites.
    ASSERT_FALSE(
        favourites.add({QStringLiteral("坏[IE]标题{IEF}\r\n"), QStringLiteral("http://b")}));
    const Favourites reloaded = Favourites::load(m_folder, m_log);
    ASSERT_EQ(reloaded.list().size(), 2);
    EXPECT_EQ(reloaded.list().last().title, QStringLiteral("坏标题"));
}
