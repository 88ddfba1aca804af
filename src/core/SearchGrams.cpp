#include "SearchGrams.h"

#include <sqlite3.h>

#include <QSet>

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

bool isLetterOrDigit(char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z');
}

/** Where each character of UTF-8 text begins, and where the text ends; a stray byte is one
 * character. */
std::vector<int> characterStarts(const std::string& text) {
    std::vector<int> starts;
    const int size = int(text.size());
    for (int at = 0; at < size;) {
        starts.push_back(at);
        const auto lead = static_cast<unsigned char>(text[at]);
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        int next = at + 1;
        while (next < at + length && next < size &&
               (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
            ++next;
        at = next;
    }
    starts.push_back(size);
    return starts;
}

/** ASCII letters in lower case, as LIKE compares them; every other byte as it is. */
std::string folded(const char* text, int size) {
    std::string result(text, size_t(size));
    for (char& byte : result) {
        if (byte >= 'A' && byte <= 'Z')
            byte = char(byte - 'A' + 'a');
    }
    return result;
}

bool lettersOrDigits(const std::string& text, int from, int to) {
    for (int at = from; at < to; ++at) {
        if (!isLetterOrDigit(text[at]))
            return false;
    }
    return true;
}

/** Calls `gram(from, to)` with the byte range of each gram of the text, in order. */
template <typename Gram>
void eachGram(const std::string& text, const std::vector<int>& starts, Gram gram) {
    const int count = int(starts.size()) - 1;
    for (int i = 0; i < count; ++i) {
        gram(starts[i], starts[i + 1]);
        if (i + 2 <= count)
            gram(starts[i], starts[i + 2]);
        // Letters and digits are one byte each: three in a row are three bytes.
        if (i + 3 <= count && starts[i + 3] - starts[i] == 3 &&
            lettersOrDigits(text, starts[i], starts[i + 3]))
            gram(starts[i], starts[i + 3]);
    }
}

int createTokenizer(void*, const char**, int, Fts5Tokenizer** made) {
    // The tokenizer keeps no state: any non-null handle will do.
    static char handle;
    *made = reinterpret_cast<Fts5Tokenizer*>(&handle);
    return SQLITE_OK;
}

void deleteTokenizer(Fts5Tokenizer*) {}

int tokenize(Fts5Tokenizer*, void* context, int flags, const char* text, int size,
             TokenCallback token) {
    const std::string foldedText = folded(text, size);
    // A search asks for its grams one by one, each quoted whole.
    if (flags & kTokenizeQuery)
        return size > 0 ? token(context, 0, foldedText.data(), size, 0, size) : SQLITE_OK;
    int code = SQLITE_OK;
    eachGram(foldedText, characterStarts(foldedText), [&](int from, int to) {
        if (code == SQLITE_OK)
            code = token(context, 0, foldedText.data() + from, to - from, from, to);
    });
    return code;
}

QString slice(const std::string& text, int from, int to) {
    return QString::fromUtf8(text.data() + from, to - from);
}

} // namespace

QStringList ofText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string foldedText = folded(utf8.constData(), int(utf8.size()));
    QStringList grams;
    QSet<QString> seen;
    eachGram(foldedText, characterStarts(foldedText), [&](int from, int to) {
        const QString gram = slice(foldedText, from, to);
        if (!seen.contains(gram)) {
            seen.insert(gram);
            grams.append(gram);
        }
    });
    return grams;
}

QStringList ofKey(const QString& key) {
    const QByteArray utf8 = key.toUtf8();
    const std::string foldedKey = folded(utf8.constData(), int(utf8.size()));
    const std::vector<int> starts = characterStarts(foldedKey);
    const int count = int(starts.size()) - 1;
    if (count == 1)
        return {slice(foldedKey, starts[0], starts[1])};
    const auto triple = [&](int i) {
        return i >= 0 && i + 3 <= count && starts[i + 3] - starts[i] == 3 &&
               lettersOrDigits(foldedKey, starts[i], starts[i + 3]);
    };
    // Grams side by side over the key, the last one ending with it: each more
    // gram is one more list of orders to read, and LIKE checks the rest.
    QStringList grams;
    const auto add = [&](int from, int to) {
        const QString gram = slice(foldedKey, starts[from], starts[to]);
        if (!grams.contains(gram))
            grams.append(gram);
    };
    int i = 0;
    while (i + 2 <= count) {
        const int length = triple(i) ? 3 : 2;
        add(i, i + length);
        i += length;
    }
    if (i < count)
        add(triple(count - 3) ? count - 3 : count - 2, count);
    return grams;
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
