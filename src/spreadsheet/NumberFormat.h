#pragma once

#include <QString>

#include <optional>

namespace mldd {

/**
 * A number cell shown as the seller sees it in the spreadsheet: dates as
 * dates, fixed decimals, percentages, leading zeros of a padded format, and
 * long whole numbers (order numbers) in full digits, never as 2.85E+15.
 */
namespace NumberFormat {

/** The format code of a built-in format id, as a Chinese spreadsheet program shows it. */
QString builtInCode(int id);

/**
 * The text of a number. `rawText` is the number as stored in the file (its
 * digits are kept when it is a whole number); `formatCode` is the cell's format.
 */
QString format(double value, const QString& rawText, const QString& formatCode, bool date1904);

/**
 * An ISO date-time a file stores as text ("2024-12-05T10:30:00.000") as a date cell shows:
 * "2024-12-05 10:30:00", a date alone at midnight, a time alone on the day before day 1.
 */
QString isoDateText(QString text);

/** The day number (serial) of an ISO date-time such as "2024-12-05T10:30:00.000", counted as
 *  spreadsheet programs count from 1900; nothing when the text is no date-time. */
std::optional<double> serialOfIsoDate(const QString& text);

/** Whether a format code shows a date or a time. */
bool isDateFormat(const QString& formatCode);

} // namespace NumberFormat
} // namespace mldd
