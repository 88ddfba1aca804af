#include "core/SearchGrams.h"

#include <sqlite3.h>

#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

using namespace mldd;

// A text that holds a key holds every gram the search asks for: the index can never miss
// an order LIKE would find. Texts mix Chinese, digits, Latin in both cases and signs.
TEST(SearchGramsTest, EveryTextHoldingAKeyHoldsTheKeysGrams) {
    const QString alphabet = QStringLiteral("王明军羊毛衫0123456789abcXYZ-_ :%\"");
    QRandomGenerator random(5);
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const int length = 1 + int(random.bounded(30));
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(alphabet.size()));
        const qsizetype from = random.bounded(text.size());
        const QString key = text.mid(from, 1 + random.bounded(6));
        const QStringList held = SearchGrams::ofText(text);
        const QSet<QString> heldSet(held.begin(), held.end());
        for (const QString& gram : SearchGrams::ofKey(key.toUpper()))
            EXPECT_TRUE(heldSet.contains(gram))
                << text.toStdString() << " [" << key.toStdString() << "] " << gram.toStdString();
    }
}

// A key is asked for by its one character, else by its runs of four digits or letters
// (three at its end), and its pairs where it has no such run.
TEST(SearchGramsTest, AKeyIsAskedForByItsLongestGrams) {
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("王")), QStringList{QStringLiteral("王")});
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("明军")), QStringList{QStringLiteral("明军")});
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("羊毛衫")),
              (QStringList{QStringLiteral("羊毛"), QStringLiteral("毛衫")}));
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("138000")),
              (QStringList{QStringLiteral("1380"), QStringLiteral("3800"),
                           QStringLiteral("8000")}));
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("r_7777")),
              (QStringList{QStringLiteral("r_"), QStringLiteral("_7"), QStringLiteral("7777")}));
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("ab1")), QStringList{QStringLiteral("ab1")});
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("建国路123")),
              (QStringList{QStringLiteral("建国"), QStringLiteral("国路"), QStringLiteral("路1"),
                           QStringLiteral("123")}));
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("XL码")),
              (QStringList{QStringLiteral("xl"), QStringLiteral("l码")}));
    EXPECT_TRUE(SearchGrams::ofKey(QString()).isEmpty());
}

// The index told apart the columns of an order's stored text by their lengths alone: a
// text holding digits and colons, an empty or missing column, Chinese and mixed case keep
// every gram under its own column, and a search of one column finds nothing of another.
TEST(SearchGramsTest, EachColumnsGramsAreHeldUnderThatColumn) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    ASSERT_TRUE(SearchGrams::registerOn(db));
    const QString create = QStringLiteral("create virtual table held using fts5(grams, "
                                          "content='', detail='none', tokenize='%1')")
                               .arg(QLatin1String(SearchGrams::kTokenizer));
    ASSERT_EQ(sqlite3_exec(db, create.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    const QString insert = QStringLiteral("insert into held (rowid, grams) select 1, %1 from "
                                          "(select '12:ab' as a, null as b, '' as c, 'XY张三' "
                                          "as d, 7 as e)")
                               .arg(SearchGrams::storedText(
                                   {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                    QStringLiteral("d"), QStringLiteral("e")}));
    ASSERT_EQ(sqlite3_exec(db, insert.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    const auto holds = [&](int column, const char* gram) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "select count(*) from held where held match ?", -1, &statement,
                           nullptr);
        const QByteArray match =
            '"' + SearchGrams::inColumn(column, QString::fromUtf8(gram)).toUtf8() + '"';
        sqlite3_bind_text(statement, 1, match.constData(), int(match.size()), SQLITE_TRANSIENT);
        const bool found =
            sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_int(statement, 0) == 1;
        sqlite3_finalize(statement);
        return found;
    };
    for (const char* gram : {"12", "2:", ":a", "ab", "a", ":"})
        EXPECT_TRUE(holds(0, gram)) << gram;
    for (const char* gram : {"xy", "y张", "张三", "三", "x"})
        EXPECT_TRUE(holds(3, gram)) << gram;
    EXPECT_TRUE(holds(4, "7"));
    for (int column : {1, 2, 4})
        EXPECT_FALSE(holds(column, "ab")) << column;
    EXPECT_FALSE(holds(0, "张三"));
    EXPECT_FALSE(holds(3, "7"));
    sqlite3_close(db);
}
