#pragma once

#include <QString>

namespace mldd::bench {

/** A batch shipping page of `orders` orders, about 2 KB of UTF-8 each, like a marketplace's. */
QString batchPage(int orders);

/** A decode file that walks that page order by order. */
QString batchPageRules();

} // namespace mldd::bench
