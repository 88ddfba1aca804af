#pragma once

#include <QString>

namespace mldd::GoodsLines {

/** How many lines of a goods text (lines joined by CR LF) hold something. */
int nonEmptyCount(const QString& goods);

/** The first `count` lines that hold something, joined by CR LF. */
QString firstNonEmpty(const QString& goods, int count);

} // namespace mldd::GoodsLines
