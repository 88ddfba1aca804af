#include "FindPattern.h"

#include "RuleProgram.h"

namespace mldd {

namespace {

bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isPoint(QChar c) {
    return c == u'.';
}

bool isSpace(QChar c) {
    return c == u' ';
}

bool inPatternClass(QChar c, QStringView name) {
    if (name == u"N")
        return isDigit(c);
    if (name == u"NN")
        return !isDigit(c);
    if (name == u"D")
        return isPoint(c);
    if (name == u"ND")
        return !isPoint(c);
    if (name == u"DN")
        return isDigit(c) || isPoint(c);
    if (name == u"NDN")
        return !isDigit(c) && !isPoint(c);
    if (name == u"C")
        return !isDigit(c) && !isPoint(c) && !isSpace(c);
    if (name == u"NC")
        return isDigit(c) || isPoint(c) || isSpace(c);
    if (name == u"K")
        return isSpace(c);
    if (name == u"NK")
        return !isSpace(c);
    return name.size() == 1 && name[0] == c;
}

// The check list knows fewer classes than patterns do, and its "C" admits spaces.
bool inCheckClass(QChar c, QStringView name) {
    if (name == u"N")
        return isDigit(c);
    if (name == u"D")
        return isPoint(c);
    if (name == u"C")
        return !isDigit(c) && !isPoint(c);
    if (name == u"K")
        return isSpace(c);
    return name.size() == 1 && name[0] == c;
}

} // namespace

CharPattern::CharPattern(QStringView pattern) {
    const QList<QStringView> items = pattern.split(u'/');
    const std::optional<qint64> offset = ruleInteger(items.first());
    if (!offset)
        return;
    m_offset = *offset;
    for (qsizetype i = 1; i < items.size(); ++i)
        m_classes.append(items.at(i).toString());
    m_valid = true;
}

bool CharPattern::matchesAt(QStringView text, qsizetype index) const {
    for (qsizetype i = 0; i < m_classes.size(); ++i) {
        if (!inPatternClass(text[index + i], m_classes.at(i)))
            return false;
    }
    return true;
}

qsizetype CharPattern::matchFrom(QStringView text, qsizetype start, WorkBudget& budget) const {
    if (!m_valid)
        return 0;
    const qsizetype last = text.size() - m_classes.size(); // last 0-based index a match fits at
    for (qsizetype index = qMax<qsizetype>(start, 1) - 1; index <= last; ++index) {
        if (!budget.spend(1 + m_classes.size()))
            return 0;
        if (matchesAt(text, index))
            return index + 1;
    }
    return 0;
}

qsizetype FindPattern(QStringView text, QStringView pattern, qsizetype start) {
    WorkBudget budget(text.size() + pattern.size());
    const CharPattern parsed(pattern);
    const qsizetype at = parsed.matchFrom(text, start, budget);
    return at == 0 ? kNoPosition : qsizetype(at + parsed.offset());
}

bool passesCheckList(QStringView text, QStringView checkList) {
    if (checkList.isEmpty())
        return true;
    const QList<QStringView> items = checkList.split(u'/');
    qsizetype at = 0;
    for (qsizetype i = 0; i < items.size(); i += 2) {
        const QStringView count = items.at(i);
        const QStringView name = i + 1 < items.size() ? items.at(i + 1) : QStringView();
        if (count == u"*") {
            while (at < text.size() && inCheckClass(text[at], name))
                ++at;
            continue;
        }
        const std::optional<qint64> needed = ruleInteger(count);
        if (!needed || *needed < 0 || *needed > text.size() - at)
            return false;
        for (qint64 n = 0; n < *needed; ++n, ++at) {
            if (!inCheckClass(text[at], name))
                return false;
        }
    }
    return true;
}

} // namespace mldd
