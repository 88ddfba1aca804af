#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace mldd {

/** The fields of one rule line; a field the line does not have reads as empty. */
class ProgramLine {
public:
    explicit ProgramLine(QStringList fields) : m_fields(std::move(fields)) {}

    qsizetype fieldCount() const { return m_fields.size(); }
    bool has(qsizetype count) const { return m_fields.size() >= count; }
    const QString& field(qsizetype index) const;
    const QString& command() const { return field(0); }

private:
    QStringList m_fields;
};

/** A rules text cut into numbered lines (from 0) and each line into fields. */
class RuleProgram {
public:
    RuleProgram(const QString& text, const QString& lineMark, const QString& fieldMark);

    qsizetype lineCount() const { return m_lines.size(); }
    const ProgramLine& line(qsizetype number) const { return m_lines.at(number); }

private:
    QList<ProgramLine> m_lines;
};

/**
 * The value of a numeric field: optional spaces, an optional sign and digits,
 * nothing else; none for any other text. Values beyond ±10^15 are held there,
 * which is more than any position or count can reach.
 */
std::optional<qint64> ruleInteger(QStringView text);

/** A number read from the start of a text as an amount ("12.50元" gives 12.5, no number 0). */
double ruleAmount(QStringView text);

/** The text without leading and trailing spaces (only U+0020, as rule files mean it). */
QStringView trimSpaces(QStringView text);

} // namespace mldd
