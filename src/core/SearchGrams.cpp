#include "SearchGrams.h"

#include <sqlite3.h>

#include <QSet>

#include <algorithm>
#include <string>
#include <vector>

namespace mldd::SearchGrams {

namespace {

// The full-text search's tokenizer interface (version 2, unchanged since SQLite
// 3.20); Debian's libsqlite3-dev ships no fts5.h.
struct Fts5Tokenizer;
using TokenCallback = int (*)(void* context, int flags, const char* token, int size, int start,
                              int end);
struct fts5_tokenizer {
    int (*xCreate)(void*, const char** arguments, int count, Fts5Tokenizer** made);
    void (*xDelete)(Fts5Tokenizer*);
    int (*xTokenize)(Fts5Tokenizer*, void* context, int flags, const char* text, int size,
                     TokenCallback token);
};
struct fts5_api {
    int iVersion;
    int (*xCreateTokenizer)(fts5_api*, const char* name, void* context, fts5_tokenizer*,
                            void (*destroy)(void*));
};
constexpr int kTokenizeQuery = 0x0001;

// Letters and digits are held in runs of three and of four too: a pair of digits is on
// almost every telephone, and three in a row, taken apart, on thousands of a large store.
constexpr int kShortestRun = 3;
constexpr int kLongestRun = 4;

bool isLetterOrDigit(char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z');
}

/**
 * Where each character of UTF-8 text begins, and where the text ends, into
 * `starts`; a stray byte is one character.
 */
void characterStarts(const std::string& text, std::vector<int>* starts) {
    starts->clear();
    const int size = int(text.size());
    for (int at = 0; at < size;) {
        starts->push_back(at);
        const auto lead = static_cast<unsigned char>(text[at]);
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        int next = at + 1;
        while (next < at + length && next < size &&
               (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
            ++next;
        at = next;
    }
    starts->push_back(size);
}

/** ASCII letters in lower case, as LIKE compares them; every other byte as it is. */
void fold(std::string& text) {
    for (char& byte : text) {
        if (byte >= 'A' && byte <= 'Z')
            byte = char(byte - 'A' + 'a');
    }
}

std::string folded(const QString& text) {
    std::string result = text.toStdString();
    fold(result);
    return result;
}

/** The byte that tags the grams of the searched column numbered `column`. */
char tagOf(int column) {
    return char('A' + column);
}

bool lettersOrDigits(const std::string& text, int from, int to) {
    for (int at = from; at < to; ++at) {
        if (!isLetterOrDigit(text[at]))
            return false;
    }
    return true;
}

/** Whether the `length` characters from the `i`th on are letters or digits (one byte each). */
bool runOf(const std::string& text, const std::vector<int>& starts, int i, int length) {
    const int count = int(starts.size()) - 1;
    return i >= 0 && i + length <= count && starts[i + length] - starts[i] == length &&
           lettersOrDigits(text, starts[i], starts[i + length]);
}

/** Calls `gram(from, to)` with the byte range of each gram of the text, in order. */
template <typename Gram>
void eachGram(const std::string& text, const std::vector<int>& starts, Gram gram) {
    const int count = int(starts.size()) - 1;
    for (int i = 0; i < count; ++i) {
        gram(starts[i], starts[i + 1]);
        if (i + 2 <= count)
            gram(starts[i], starts[i + 2]);
        for (int length = kShortestRun; length <= kLongestRun; ++length) {
            if (runOf(text, starts, i, length))
                gram(starts[i], starts[i + length]);
        }
    }
}

int createTokenizer(void*, const char**, int, Fts5Tokenizer** made) {
    // The tokenizer keeps no state: any non-null handle will do.
    static char handle;
    *made = reinterpret_cast<Fts5Tokenizer*>(&handle);
    return SQLITE_OK;
}

void deleteTokenizer(Fts5Tokenizer*) {}

/** Gives `token` each gram of one column's text, tagged with the column. */
class ColumnGrams {
public:
    ColumnGrams(void* context, TokenCallback token) : m_context(context), m_token(token) {}

    int add(char tag, const char* text, int size) {
        m_folded.assign(text, size_t(size));
        fold(m_folded);
        characterStarts(m_folded, &m_starts);
        int code = SQLITE_OK;
        eachGram(m_folded, m_starts, [&](int from, int to) {
            if (code != SQLITE_OK)
                return;
            m_gram.assign(1, tag);
            m_gram.append(m_folded, size_t(from), size_t(to - from));
            code = m_token(m_context, 0, m_gram.data(), int(m_gram.size()), from, to);
        });
        return code;
    }

private:
    void* m_context;
    TokenCallback m_token;
    std::string m_folded;
    std::string m_gram;
    std::vector<int> m_starts;
};

/**
 * Reads the stored form (each column's text after its length in bytes and a
 * colon) column by column; text that breaks the form is one last column.
 */
int tokenize(Fts5Tokenizer*, void* context, int flags, const char* text, int size,
             TokenCallback token) {
    // A search asks for its tagged grams one by one, each quoted whole.
    if (flags & kTokenizeQuery)
        return size > 0 ? token(context, 0, text, size, 0, size) : SQLITE_OK;
    ColumnGrams grams(context, token);
    int column = 0;
    int at = 0;
    while (at < size) {
        int length = 0;
        int digits = at;
        while (digits < size && text[digits] >= '0' && text[digits] <= '9' && length < size)
            length = length * 10 + (text[digits++] - '0');
        const bool formed =
            digits > at && digits < size && text[digits] == ':' && length <= size - digits - 1;
        const int from = formed ? digits + 1 : at;
        const int to = formed ? from + length : size;
        if (const int code = grams.add(tagOf(column++), text + from, to - from); code != SQLITE_OK)
            return code;
        at = to;
    }
    return SQLITE_OK;
}

QString slice(const std::string& text, int from, int to) {
    return QString::fromUtf8(text.data() + from, to - from);
}

} // namespace

QStringList ofText(const QString& text) {
    const std::string foldedText = folded(text);
    std::vector<int> starts;
    characterStarts(foldedText, &starts);
    QStringList grams;
    QSet<QString> seen;
    eachGram(foldedText, starts, [&](int from, int to) {
        const QString gram = slice(foldedText, from, to);
        if (!seen.contains(gram)) {
            seen.insert(gram);
            grams.append(gram);
        }
    });
    return grams;
}

QStringList ofKey(const QString& key) {
    const std::string foldedKey = folded(key);
    std::vector<int> starts;
    characterStarts(foldedKey, &starts);
    const int count = int(starts.size()) - 1;
    if (count == 1)
        return {slice(foldedKey, starts[0], starts[1])};
    // From each character on, the longest gram the index holds: a run of letters or
    // digits, else a pair. One that ends inside the gram before it is left out: each
    // list of orders the search reads is short beside the row look-ups it saves, since
    // only orders holding all of them are read for LIKE's check.
    QStringList grams;
    int coveredTo = 0;
    for (int i = 0; i + 2 <= count; ++i) {
        int length = 2;
        for (int run = std::min(kLongestRun, count - i); run >= kShortestRun && length == 2;
             --run) {
            if (runOf(foldedKey, starts, i, run))
                length = run;
        }
        if (i + length <= coveredTo)
            continue;
        coveredTo = i + length;
        const QString gram = slice(foldedKey, starts[i], starts[i + length]);
        if (!grams.contains(gram))
            grams.append(gram);
    }
    return grams;
}

QString storedText(const QStringList& values) {
    QStringList columns;
    for (const QString& value : values)
        columns.append(QStringLiteral("length(cast(coalesce(%1, '') as blob)) || ':' || "
                                      "coalesce(%1, '')")
                           .arg(value));
    return columns.join(QStringLiteral(" || "));
}

QString inColumn(int column, const QString& gram) {
    return QChar::fromLatin1(tagOf(column)) + gram;
}

bool registerOn(sqlite3* db) {
    fts5_api* api = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "select fts5(?1)", -1, &statement, nullptr) == SQLITE_OK) {
        sqlite3_bind_pointer(statement, 1, static_cast<void*>(&api), "fts5_api_ptr", nullptr);
        sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    if (!api || api->iVersion < 2)
        return false;
    static fts5_tokenizer grams{createTokenizer, deleteTokenizer, tokenize};
    return api->xCreateTokenizer(api, kTokenizer, nullptr, &grams, nullptr) == SQLITE_OK;
}

} // namespace mldd::SearchGrams
