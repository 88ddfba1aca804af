#pragma once

#include "PageModel.h"

#include <QFont>
#include <QHash>

class QPainter;

namespace mldd {

/**
 * Where a printer puts what it is told to print differs a little from
 * printer to printer; this undoes it: vertical positions are scaled by the
 * factor, then everything moves left and up by the offsets (twips).
 */
struct PrintPlacement {
    double horizontal = 0;
    double vertical = 0;
    double verticalFactor = 1;

    double x(double twips) const { return twips - horizontal; }
    double y(double twips) const { return twips * verticalFactor - vertical; }
};

/**
 * Draws a page model on any paint device: screen, PDF or printer. Twips
 * become device dots here and nowhere else. Barcodes are laid out for the
 * printer that will put them on paper: every module the same whole number of
 * its dots, every bar edge on one of its dots, or a 203-dpi label printer
 * rounds modules to uneven widths that do not scan.
 */
class PagePainter {
public:
    /**
     * `dotsPerInch`: the device's resolution, as the painter's coordinates count;
     * `barDotsPerInch`: the printer's the bars are laid out for (0: the device's own).
     */
    explicit PagePainter(double dotsPerInch, PrintPlacement placement = {},
                         double barDotsPerInch = 0)
        : m_scale(dotsPerInch / kTwipsPerInch), m_placement(placement),
          m_barDot(barDotsPerInch > 0 ? dotsPerInch / barDotsPerInch : 1) {}

    /** Paints `page` from the device's origin; the background picture only when asked (screen). */
    void paint(QPainter& painter, const PageModel& page, bool withBackground = false);

    /** A length in twips in device dots. */
    double toDots(double twips) const { return twips * m_scale; }

private:
    double xDots(double twips) const { return toDots(m_placement.x(twips)); }
    double yDots(double twips) const { return toDots(m_placement.y(twips)); }

    struct DeviceFont {
        QFont font;
        double ascent = 0;
    };
    const DeviceFont& deviceFont(QPainter& painter, const FontSpec& style);
    void paintBarcode(QPainter& painter, const BarcodeBars& barcode) const;

    double m_scale;
    PrintPlacement m_placement;
    double m_barDot; // one dot of the bars' printer, in device dots
    QHash<QString, DeviceFont> m_fonts;
};

} // namespace mldd
