#pragma once

#include <QString>

namespace mldd::bench {

/**
 * A batch shipping page of `orders` orders, about 2 KB of UTF-8 each, like a
 * marketplace's; their numbers count up from `firstNumber`.
 */
QString batchPage(int orders, int firstNumber = 1);

/** A decode file that walks that page order by order. */
QString batchPageRules();

} // namespace mldd::bench
