#pragma once

#include "WorkBudget.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace mldd {

/** The value `FindPattern` gives when no position matches. */
constexpr qsizetype kNoPosition = 9999;

/**
 * A goods pattern: an integer offset and a run of character classes, written
 * "offset/class/class…" ("N" digit, "NN" not a digit, "D" full stop, "ND",
 * "DN" digit or full stop, "NDN", "C" none of digit, full stop, space, "NC",
 * "K" space, "NK"; any other text is that exact character).
 */
class CharPattern {
public:
    explicit CharPattern(QStringView pattern);

    bool valid() const { return m_valid; }
    qint64 offset() const { return m_offset; }

    /**
     * The first 1-based position, `start` or later, from which the text's
     * characters satisfy the classes in order; 0 when the classes run past the
     * end first. Each character tested is paid from `budget`.
     */
    qsizetype matchFrom(QStringView text, qsizetype start, WorkBudget& budget) const;

private:
    bool matchesAt(QStringView text, qsizetype index) const;

    QStringList m_classes;
    qint64 m_offset = 0;
    bool m_valid = false;
};

/** The matched position plus the pattern's offset, or 9999 when nothing matches. */
qsizetype FindPattern(QStringView text, QStringView pattern, qsizetype start);

/**
 * Whether a text passes a check list "count/class/count/class…": each pair
 * needs that many following characters of its class ("*": as many as follow,
 * maybe none). Classes: "N" digit, "D" full stop, "C" neither, "K" space, any
 * other text that exact character. An empty list passes.
 */
bool passesCheckList(QStringView text, QStringView checkList);

} // namespace mldd
