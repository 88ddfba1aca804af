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
 * become device dots here and nowhere else; barcode bar edges land on whole
 * dots so that narrow bars keep their width on a 203-dpi label printer.
 */
class PagePainter {
public:
    /** `dotsPerInch`: the device's resolution, as the painter's coordinates count. */
    explicit PagePainter(double dotsPerInch, PrintPlacement placement = {})
        : m_scale(dotsPerInch / kTwipsPerInch), m_placement(placement) {}

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

    double m_scale;
    PrintPlacement m_placement;
    QHash<QString, DeviceFont> m_fonts;
};

} // namespace mldd
