#include "WorkBudget.h"

namespace mldd {

namespace {
// A real decode file touches each part of its page a few times; a thousand
// passes over the whole input leave room for clumsy but honest files.
constexpr qint64 kPassesPerInput = 1000;
constexpr qint64 kBaseWork = 2'000'000;
// No honest run makes a text much larger than its page.
constexpr qsizetype kTextsPerInput = 4;
constexpr qsizetype kBaseText = 1 << 16;
} // namespace

WorkBudget::WorkBudget(qsizetype inputSize)
    : m_workLeft(kBaseWork + kPassesPerInput * qint64(inputSize)),
      m_largestText(kBaseText + kTextsPerInput * inputSize) {}

bool WorkBudget::spend(qsizetype units) {
    m_workLeft -= qMax<qint64>(units, 0);
    if (m_workLeft < 0)
        m_exhausted = true;
    return !m_exhausted;
}

bool WorkBudget::allows(qsizetype size) {
    if (size > m_largestText)
        m_exhausted = true;
    return !m_exhausted;
}

} // namespace mldd
