#pragma once

#include "waybill/PagePainter.h"

#include <QByteArray>
#include <QSizeF>

#include <variant>

namespace mldd {

/** One label as the printer's dots: rows top to bottom, 1 a black dot, the leftmost dot first. */
struct LabelBitmap {
    int width = 0;  // dots
    int height = 0; // dots
    QByteArray bits;

    int bytesPerRow() const { return (width + 7) / 8; }
    /** The bits the other way round: 1 a white dot, as TSPL and EPL take them. */
    QByteArray whiteOnes() const {
        QByteArray inverted = bits;
        for (char& byte : inverted)
            byte = char(~uchar(byte));
        return inverted;
    }
    bool black(int x, int y) const {
        return (uchar(bits[y * bytesPerRow() + x / 8]) >> (7 - x % 8)) & 1;
    }
};

/** A length in millimetres as a printer of `dotsPerInch` counts it. */
int dotsOf(double millimetres, int dotsPerInch);

/**
 * Draws `page` with the one page painter straight into the dots of a label of
 * `labelMm` on a printer of `dotsPerInch`: text and bars laid out for those
 * dots, nothing scaled afterwards. A page whose print does not fit the label
 * is refused with the label size it needs.
 */
std::variant<LabelBitmap, QString> rasterLabel(const PageModel& page, QSizeF labelMm,
                                               int dotsPerInch, PrintPlacement placement = {});

} // namespace mldd
