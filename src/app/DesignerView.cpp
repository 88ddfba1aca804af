#include "DesignerView.h"

#include "DesignerRuler.h"

#include "waybill/PageModel.h"

#include <QWheelEvent>

#include <algorithm>

namespace mldd {

namespace {

constexpr double kLeastZoom = 0.1;
constexpr double kMostZoom = 8;

} // namespace

DesignerView::DesignerView(QWidget* parent)
    : QGraphicsView(parent), m_top(new DesignerRuler(Qt::Horizontal, this)),
      m_left(new DesignerRuler(Qt::Vertical, this)) {
    setViewportMargins(DesignerRuler::kThickness, DesignerRuler::kThickness, 0, 0);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    setDragMode(QGraphicsView::RubberBandDrag);
    // The form picture is drawn once per zoom, not under every moved box.
    setCacheMode(QGraphicsView::CacheBackground);
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("快递单版面"));
    setZoom(1);
}

double DesignerView::pixelsPerTwip() const {
    return m_zoom * logicalDpiX() / kTwipsPerInch;
}

void DesignerView::setZoom(double zoom) {
    m_zoom = std::clamp(zoom, kLeastZoom, kMostZoom);
    setTransform(QTransform::fromScale(pixelsPerTwip(), pixelsPerTwip()));
    updateRulers();
    emit zoomChanged(m_zoom);
}

double DesignerView::fittingZoom(const QSizeF& paper) const {
    const QSize room = viewport()->size() - QSize(24, 24);
    const double pixelsPerTwip =
        std::min(room.width() / paper.width(), room.height() / paper.height());
    return pixelsPerTwip * kTwipsPerInch / logicalDpiX();
}

void DesignerView::markOnRulers(const std::optional<QRectF>& box) {
    if (!box) {
        m_top->setMark(std::nullopt);
        m_left->setMark(std::nullopt);
        return;
    }
    m_top->setMark(std::pair{box->left(), box->right()});
    m_left->setMark(std::pair{box->top(), box->bottom()});
}

void DesignerView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    setZoom(m_zoom * (event->angleDelta().y() > 0 ? 1.25 : 0.8));
    event->accept();
}

void DesignerView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    placeRulers();
    updateRulers();
}

void DesignerView::scrollContentsBy(int dx, int dy) {
    QGraphicsView::scrollContentsBy(dx, dy);
    updateRulers();
}

void DesignerView::placeRulers() {
    const QRect area = viewport()->geometry();
    m_top->setGeometry(area.left(), area.top() - DesignerRuler::kThickness, area.width(),
                       DesignerRuler::kThickness);
    m_left->setGeometry(area.left() - DesignerRuler::kThickness, area.top(),
                        DesignerRuler::kThickness, area.height());
}

void DesignerView::updateRulers() {
    const QPointF origin = mapToScene(QPoint(0, 0));
    m_top->setMapping(origin.x(), pixelsPerTwip());
    m_left->setMapping(origin.y(), pixelsPerTwip());
}

} // namespace mldd
