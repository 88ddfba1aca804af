#pragma once

#include <QString>

#include <optional>

namespace mldd {

/**
 * The sort key of an order: the digits 0-9 of its number, in order, read as
 * one number ("淘宝:12-34" gives 1234). None when the text has no digit.
 */
std::optional<double> numSignOf(const QString& orderNumber);

/** The page's own numeric order field first, the order number when that has no digit. */
std::optional<double> numSignOf(const QString& pageNumber, const QString& orderSign);

} // namespace mldd
