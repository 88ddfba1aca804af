#include "core/SearchGrams.h"

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

// As few grams as cover a key: its one character, pairs of Chinese, triples of digits or
// letters (a pair of digits is on almost every telephone), side by side.
TEST(SearchGramsTest, AKeyIsAskedForByGramsSideBySide) {
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("王")), QStringList{QStringLiteral("王")});
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("明军")), QStringList{QStringLiteral("明军")});
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("羊毛衫")),
              (QStringList{QStringLiteral("羊毛"), QStringLiteral("毛衫")}));
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("138000")),
              (QStringList{QStringLiteral("138"), QStringLiteral("000")}));
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("Buyer97")),
              (QStringList{QStringLiteral("buy"), QStringLiteral("er9"), QStringLiteral("r97")}));
    EXPECT_EQ(SearchGrams::ofKey(QStringLiteral("XL码")),
              (QStringList{QStringLiteral("xl"), QStringLiteral("l码")}));
    EXPECT_TRUE(SearchGrams::ofKey(QString()).isEmpty());
}
