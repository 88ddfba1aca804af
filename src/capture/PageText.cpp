#include "PageText.h"

namespace mldd {

QString pageTextForRules(const QString& pageText) {
    QString text;
    text.reserve(pageText.size() + pageText.size() / 32);
    for (qsizetype i = 0; i < pageText.size(); ++i) {
        const QChar c = pageText.at(i);
        if (c == u'\r') {
            if (i + 1 < pageText.size() && pageText.at(i + 1) == u'\n')
                ++i;
            text += QStringLiteral("\r\n");
        } else if (c == u'\n') {
            text += QStringLiteral("\r\n");
        } else {
            text += c;
        }
    }
    // A buyer writes the page: a message or an address holding "{|D|}" or "{|B|}"
    // would make an order of its own or shift every later field. Their braces
    // become full-width look-alikes, so no page text can make or split a record.
    text.replace(QStringLiteral("{|"), QStringLiteral("｛|"));
    text.replace(QStringLiteral("|}"), QStringLiteral("|｝"));
    return text;
}

} // namespace mldd
