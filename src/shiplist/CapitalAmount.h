#pragma once

#include <QString>

namespace mldd {

/**
 * An amount of money in Chinese capital numerals as written on receipts:
 * 123.45 reads 壹佰贰拾叁元肆角伍分, 1005 reads 壹仟零伍元整. The amount is cut,
 * not rounded, to fen.
 */
QString ToCapitalAmount(double amount);

/** The largest amount the capitals can write: the highest unit is 亿 (nine integer digits). */
constexpr double kLargestCapitalAmount = 999999999.99;

/** Whether ToCapitalAmount writes `amount` truly: not negative, at most kLargestCapitalAmount. */
bool isWritableInCapitals(double amount);

/** Why an amount has no capitals: said alike by the shipping list and `mldd-cli capital`. */
QString capitalsRangeText();

} // namespace mldd
