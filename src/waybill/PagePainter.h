#pragma once

#include "PageModel.h"

#include <QFont>
#include <QHash>

class QPainter;

namespace mldd {

/**
 * Draws a page model on any paint device: screen, PDF or printer. Twips
 * become device dots here and nowhere else; barcode bar edges land on whole
 * dots so that narrow bars keep their width on a 203-dpi label printer.
 */
class PagePainter {
public:
    /** `dotsPerInch`: the device's resolution, as the painter's coordinates count. */
    explicit PagePainter(double dotsPerInch) : m_scale(dotsPerInch / kTwipsPerInch) {}

    /** Paints `page` from the device's origin; the background picture only when asked (screen). */
    void paint(QPainter& painter, const PageModel& page, bool withBackground = false);

    /** A length in twips in device dots. */
    double toDots(double twips) const { return twips * m_scale; }

private:
    struct DeviceFont {
        QFont font;
        double ascent = 0;
    };
    const DeviceFont& deviceFont(QPainter& painter, const FontSpec& style);

    double m_scale;
    QHash<QString, DeviceFont> m_fonts;
};

} // namespace mldd
