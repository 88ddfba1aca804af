#pragma once

#include "WorkBudget.h"

#include <QStringView>

namespace mldd {

/** The outcome of testing a rule condition ("IF", "LOOP", "IFQ") on a text. */
enum class ConditionVerdict { Holds, Fails, UnknownOperator, BadNumber };

/**
 * Tests `text` under `op` against `value`. The length operators ("L=", "L<" …)
 * compare the length with the integer in `value` and exist only when
 * `withLengths` is set ("LOOP" has none). Searching is paid from `budget`.
 */
ConditionVerdict testCondition(QStringView text, QStringView op, QStringView value,
                               bool withLengths, WorkBudget& budget);

} // namespace mldd
