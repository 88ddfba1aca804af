#pragma once

#include <QString>

namespace mldd {

/**
 * A cell of a marketplace's export as the seller means it: the exports guard
 * long numbers against spreadsheet programs with `="…"`, a leading "'" or a
 * tab, write "-" for nothing, and put "No:" before tracking numbers.
 */
namespace ExportCell {

/** The cell's text without those guards and without surrounding blanks; "-" reads as empty. */
QString clean(const QString& text);

/** A tracking number as a courier prints it: cleaned, without "No:" and inner blanks. */
QString trackingNumber(const QString& text);

} // namespace ExportCell

} // namespace mldd
