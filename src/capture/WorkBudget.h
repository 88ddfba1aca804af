#pragma once

#include <QtGlobal>

namespace mldd {

/**
 * The work and text size one run may use. A rules text can loop through
 * several lines or double a text at every line; the run then ends early
 * instead of hanging or exhausting memory.
 */
class WorkBudget {
public:
    /** Limits in proportion to the size of the run's inputs (page and rules, in characters). */
    explicit WorkBudget(qsizetype inputSize);

    /** What executing one rule line costs beside the characters it touches. */
    static constexpr qsizetype kLineCost = 64;

    /** Counts `units` of work (characters scanned or copied); false once the budget is spent. */
    bool spend(qsizetype units);
    /** Whether a text of `size` characters may be made; a refusal ends the run. */
    bool allows(qsizetype size);
    bool exhausted() const { return m_exhausted; }

private:
    qint64 m_workLeft;
    qsizetype m_largestText;
    bool m_exhausted = false;
};

} // namespace mldd
