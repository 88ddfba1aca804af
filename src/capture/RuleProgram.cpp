#include "RuleProgram.h"

#include <charconv>
#include <cmath>
#include <string>

namespace mldd {

namespace {
constexpr qint64 kLargest = 1'000'000'000'000'000;

bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}
} // namespace

const QString& ProgramLine::field(qsizetype index) const {
    static const QString empty;
    return index < m_fields.size() ? m_fields.at(index) : empty;
}

RuleProgram::RuleProgram(const QString& text, const QString& lineMark, const QString& fieldMark) {
    const QStringList lines = text.split(lineMark);
    m_lines.reserve(lines.size());
    for (const QString& line : lines)
        m_lines.append(ProgramLine(line.split(fieldMark)));
}

QStringView trimSpaces(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == u' ')
        ++from;
    while (to > from && text[to - 1] == u' ')
        --to;
    return text.mid(from, to - from);
}

std::optional<qint64> ruleInteger(QStringView text) {
    text = trimSpaces(text);
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
        negative = text[0] == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = qMin(kLargest, value * 10 + (c.unicode() - u'0'));
    }
    return negative ? -value : value;
}

double ruleAmount(QStringView text) {
    text = trimSpaces(text);
    qsizetype end = 0;
    if (end < text.size() && (text[end] == u'-' || text[end] == u'+'))
        ++end;
    bool seenDigit = false;
    bool seenPoint = false;
    for (; end < text.size(); ++end) {
        if (isDigit(text[end]))
            seenDigit = true;
        else if (text[end] == u'.' && !seenPoint)
            seenPoint = true;
        else
            break;
    }
    if (!seenDigit)
        return 0;
    // The number is plain ASCII: read straight, without a locale's conversion.
    std::string digits;
    digits.reserve(size_t(end));
    for (qsizetype i = text.front() == u'+' ? 1 : 0; i < end; ++i)
        digits.push_back(char(text[i].unicode()));
    double value = 0;
    const auto [rest, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && std::isfinite(value) ? value : 0;
}

} // namespace mldd
