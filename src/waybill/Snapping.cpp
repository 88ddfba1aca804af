#include "Snapping.h"

#include <cmath>

namespace mldd::Snapping {

namespace {

struct Axis {
    double shift = 0;
    std::optional<double> guide;
};

// The smallest shift within reach that puts one of `moving` on one of `targets`.
Axis nearest(std::initializer_list<double> moving, const QList<double>& targets, double reach) {
    Axis best;
    double bestDistance = 0;
    for (double from : moving) {
        for (double to : targets) {
            const double distance = std::abs(to - from);
            if (distance <= reach && (!best.guide || distance < bestDistance)) {
                bestDistance = distance;
                best.shift = to - from;
                best.guide = to;
            }
        }
    }
    return best;
}

QList<double> verticalEdges(const QList<QRectF>& boxes) {
    QList<double> edges;
    for (const QRectF& box : boxes)
        edges << box.left() << box.center().x() << box.right();
    return edges;
}

QList<double> horizontalEdges(const QList<QRectF>& boxes) {
    QList<double> edges;
    for (const QRectF& box : boxes)
        edges << box.top() << box.center().y() << box.bottom();
    return edges;
}

SnapResult combine(const Axis& x, const Axis& y) {
    return SnapResult{QPointF(x.shift, y.shift), x.guide, y.guide};
}

} // namespace

SnapResult snapBox(const QRectF& box, const QList<QRectF>& others, double reach) {
    return combine(
        nearest({box.left(), box.center().x(), box.right()}, verticalEdges(others), reach),
        nearest({box.top(), box.center().y(), box.bottom()}, horizontalEdges(others), reach));
}

SnapResult snapPoint(const QPointF& point, const QList<QRectF>& others, double reach) {
    return combine(nearest({point.x()}, verticalEdges(others), reach),
                   nearest({point.y()}, horizontalEdges(others), reach));
}

} // namespace mldd::Snapping
