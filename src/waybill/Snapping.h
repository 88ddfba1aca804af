#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>

namespace mldd {

/** How far a dragged box or corner moves to meet other boxes' edges, and where the guides run. */
struct SnapResult {
    QPointF shift;
    std::optional<double> guideX; // a vertical guide at this x, when snapped across
    std::optional<double> guideY; // a horizontal guide at this y, when snapped up or down
};

/**
 * Snapping to other items' edges: a box's left, centre and right (top,
 * middle and bottom) meet the nearest edge or centre of another box within
 * `reach`, each direction on its own.
 */
namespace Snapping {

SnapResult snapBox(const QRectF& box, const QList<QRectF>& others, double reach);

/** A dragged corner or edge point: x and y each meet the nearest edge within `reach`. */
SnapResult snapPoint(const QPointF& point, const QList<QRectF>& others, double reach);

} // namespace Snapping
} // namespace mldd
