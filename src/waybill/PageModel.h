#pragma once

#include "BarcodeBars.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cmath>

namespace mldd {

/** A printing face and its style; sizes in points. */
struct FontSpec {
    QString family;
    double pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontSpec&) const = default;

    /** One text per distinct face, size and style, for caches of made fonts. */
    QString key() const {
        return family + u'|' + QString::number(pointSize) + u'|' +
               QChar(u'0' + int(bold) + 2 * int(italic) + 4 * int(underline));
    }
};

/** One line of text whose box's top-left corner is at `left`/`top` (twips). */
struct TextLine {
    double left = 0;
    double top = 0;
    QString text;
    FontSpec font;
};

/** A straight line from (x1, y1) to (x2, y2), `width` thick (twips). */
struct RuleLine {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    double width = 20;
};

/**
 * One printed page laid out before it is painted: everything positioned in
 * twips from the page's top-left corner, so layout is checked without painting.
 */
struct PageModel {
    QSizeF size;        // twips
    QString background; // picture shown behind the page on screen, never printed
    QList<TextLine> texts;
    QList<BarcodeBars> barcodes;
    QList<RuleLine> rules;
};

/** Twips per inch, per point and per millimetre. */
inline constexpr double kTwipsPerInch = 1440;
inline constexpr double kTwipsPerPoint = 20;
inline constexpr double kTwipsPerMillimetre = kTwipsPerInch / 25.4;

/**
 * Barcodes are laid out for this resolution when the printer's is not known:
 * the commonest waybill printer's, whose whole-dot modules also scan at 180 and 300 dpi.
 */
inline constexpr int kDefaultDotsPerInch = 203;

/** Positions beyond this many twips (about seven metres) are no place on paper. */
inline constexpr double kMaxTwips = 1e7;
/** Font sizes above this many points are no text size. */
inline constexpr double kMaxPointSize = 1000;

inline bool isPosition(double twips) {
    return std::isfinite(twips) && std::abs(twips) <= kMaxTwips;
}
inline bool isPointSize(double points) {
    return std::isfinite(points) && points > 0 && points <= kMaxPointSize;
}

} // namespace mldd
