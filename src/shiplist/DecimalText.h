#pragma once

#include <QString>

namespace mldd {

/**
 * The shortest decimal text of a number, without exponent or thousands
 * separators, rounded to 15 significant digits so that binary noise
 * (3 × 1.15 = 3.4499999999999997) reads as the amount the seller typed.
 */
QString shortestDecimalText(double value);

} // namespace mldd
