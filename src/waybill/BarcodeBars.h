#pragma once

#include <QList>
#include <QRectF>
#include <QString>

namespace mldd {

/**
 * One barcode as its modules: "b" (bar) or "s" (space), left to right from
 * `left`, each `module` twips wide as the field's box gives it. Kept as
 * modules rather than edges so that a painter can give every module the same
 * whole number of dots of the printer it is laid out for.
 */
struct BarcodeBars {
    double left = 0;   // twips
    double top = 0;    // twips
    double height = 0; // twips
    double module = 0; // twips
    QString modules;

    /** One bar: its first module, its width in modules, and whether a space follows it. */
    struct Run {
        int first = 0;
        int length = 0;
        bool narrowed = false; // drawn short at its right edge, as ink spreads into the space
    };

    /** The bars left to right. */
    QList<Run> runs() const;

    /** The bars in twips: each one followed by a space is half a module narrower. */
    QList<QRectF> bars() const;

    /** The whole symbol's box (twips). */
    QRectF box() const { return QRectF(left, top, module * double(modules.size()), height); }

    void moveBy(double dx, double dy) {
        left += dx;
        top += dy;
    }
};

} // namespace mldd
