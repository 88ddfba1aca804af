#include "PageText.h"

namespace mldd {

namespace {

// Whether every line end is already CR LF; most pages are, and then nothing is copied.
bool lineEndsAreCrLf(const QString& text) {
    const qsizetype size = text.size();
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i] == u'\r') {
            if (i + 1 == size || chars[i + 1] != u'\n')
                return false;
            ++i;
        } else if (chars[i] == u'\n') {
            return false;
        }
    }
    return true;
}

QString withCrLfLineEnds(const QString& pageText) {
    QString text;
    text.reserve(pageText.size() + pageText.size() / 16);
    const qsizetype size = pageText.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = pageText.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        text.append(QStringView(pageText).sliced(from, i - from));
        text.append(QStringLiteral("\r\n"));
        if (c == u'\r' && i + 1 < size && pageText.at(i + 1) == u'\n')
            ++i;
        from = i + 1;
    }
    text.append(QStringView(pageText).sliced(from));
    return text;
}

} // namespace

QString pageTextForRules(const QString& pageText) {
    QString text = lineEndsAreCrLf(pageText) ? pageText : withCrLfLineEnds(pageText);
    // A buyer writes the page: a message or an address holding "{|D|}" or "{|B|}"
    // would make an order of its own or shift every later field. Their braces
    // become full-width look-alikes, so no page text can make or split a record.
    // Most pages hold no "|" at all; one fast look for it spares two searches of a long page.
    if (!text.contains(u'|'))
        return text;
    if (text.contains(QStringLiteral("{|")))
        text.replace(QStringLiteral("{|"), QStringLiteral("｛|"));
    if (text.contains(QStringLiteral("|}")))
        text.replace(QStringLiteral("|}"), QStringLiteral("|｝"));
    return text;
}

} // namespace mldd
