#pragma once

#include "PageModel.h"

#include <QList>
#include <QString>

#include <optional>

namespace mldd {

class TextMetrics;

/** Code 128 barcodes in code sets B and C: symbol values, then bars in the page model. */
namespace Code128 {

inline constexpr int kStartB = 104;
inline constexpr int kStartC = 105;
inline constexpr int kStop = 106;

/** The bar ("b") and space ("s") modules of symbol `value` (0–106). */
QString pattern(int value);

/**
 * The symbol values of `text`, upper-cased, from start to stop, checksum
 * included; none when a character has no value (below 32 or above 127).
 */
std::optional<QList<int>> encode(const QString& text);

/** Where and how a barcode is drawn: the box and the font of the text beneath. */
struct Field {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool withText = true;
    FontSpec font;
};

/**
 * Draws `text` as bars into `page`: unit u = 4 × Int(width / 22 / length / 4 + 0.4999),
 * module 2u (BarcodeBars narrows the bars); the upper-cased text beneath when
 * asked. Text that cannot be encoded draws nothing.
 */
void draw(PageModel& page, TextMetrics& metrics, const QString& text, const Field& field);

} // namespace Code128
} // namespace mldd
