#pragma once

#include <QStringList>

struct sqlite3;

namespace mldd {

/**
 * The pieces of text the search index holds, so that a key of any length is
 * looked up rather than searched for: every character and every pair of
 * characters of a text (Chinese names and words are one or two characters),
 * and every three and every four letters or digits in a row (a pair of digits
 * is on almost every telephone). ASCII letters are held in lower case, as LIKE compares
 * them. A text that holds a key holds all of the key's grams. Each gram is
 * held tagged with the column it came from, so that a search of one field
 * reads only that field's orders.
 */
namespace SearchGrams {

/** The tokenizer's name in the index's definition. */
inline constexpr char kTokenizer[] = "mldd_grams";

/** The grams the index holds of `text`, each once (what the tokenizer gives a stored text). */
QStringList ofText(const QString& text);

/**
 * Grams every text holding `key` holds: its one character, else from each
 * character on the longest run of letters or digits (four at most) or pair,
 * leaving out those inside the one before.
 * Empty for an empty key.
 */
QStringList ofKey(const QString& key);

/**
 * The SQL of the text the index is given for one order: the values of the
 * searched columns (SQL expressions, in the columns' order), each after its
 * length in bytes and a colon, which is how the tokenizer tells them apart.
 */
QString storedText(const QStringList& values);

/** The gram as the index holds it for the searched column numbered `column`. */
QString inColumn(int column, const QString& gram);

/**
 * Gives a connection the tokenizer; each connection that writes or searches
 * the index needs it. False when the library has no full-text search.
 */
bool registerOn(sqlite3* db);

} // namespace SearchGrams
} // namespace mldd
