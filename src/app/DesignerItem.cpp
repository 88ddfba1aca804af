#include "DesignerItem.h"

#include "waybill/PagePainter.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

namespace mldd {

namespace {

constexpr double kHandlePixels = 7;

} // namespace

DesignerItem::DesignerItem(ItemRef ref, PagePainter& painter) : m_ref(ref), m_painter(painter) {
    setFlag(ItemIsSelectable);
}

void DesignerItem::show(const QRectF& box, PageModel piece, const QRectF& extent,
                        const QString& caption, bool prints) {
    prepareGeometryChange();
    m_piece = std::move(piece);
    m_pieceOrigin = box.topLeft();
    m_box = QRectF(QPointF(), box.size());
    m_extent = extent.translated(-box.topLeft());
    m_caption = caption;
    m_prints = prints;
    setToolTip(caption);
    setPos(box.topLeft());
    update();
}

void DesignerItem::setBox(const QRectF& box) {
    if (box.size() != m_box.size()) {
        prepareGeometryChange();
        m_box.setSize(box.size());
    }
    setPos(box.topLeft());
}

QList<QPointF> DesignerItem::handlePoints() const {
    const QRectF& b = m_box;
    return {b.topLeft(),     QPointF(b.center().x(), b.top()),
            b.topRight(),    QPointF(b.right(), b.center().y()),
            b.bottomRight(), QPointF(b.center().x(), b.bottom()),
            b.bottomLeft(),  QPointF(b.left(), b.center().y())};
}

DesignerItem::Handle DesignerItem::handleAt(const QPointF& scenePoint, double pixelsPerTwip) const {
    if (!isSelected())
        return None;
    const QPointF local = mapFromScene(scenePoint);
    const double reach = kHandlePixels / pixelsPerTwip;
    const QList<QPointF> points = handlePoints();
    for (int i = 0; i < points.size(); ++i)
        if (std::abs(points[i].x() - local.x()) <= reach &&
            std::abs(points[i].y() - local.y()) <= reach)
            return Handle(i);
    return None;
}

QRectF DesignerItem::boundingRect() const {
    // Room for the handles, which keep their size on screen whatever the zoom.
    const double margin = 400;
    return m_box.united(m_extent).adjusted(-margin, -margin, margin, margin);
}

QPainterPath DesignerItem::shape() const {
    QPainterPath path;
    path.addRect(m_box.united(m_extent));
    return path;
}

void DesignerItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const double pixelsPerTwip = painter->worldTransform().m11();
    painter->save();
    if (!m_prints)
        painter->setOpacity(0.4);
    painter->save();
    painter->translate(-m_pieceOrigin); // the piece moves with its box while dragged
    m_painter.paint(*painter, m_piece);
    painter->restore();

    if (m_piece.texts.isEmpty() && m_piece.barcodes.isEmpty()) {
        // Nothing from this order: the caption says what the box is for.
        painter->setPen(QColor(90, 90, 160));
        QFont font = painter->font();
        font.setPixelSize(std::max(1, int(std::min(m_box.height() * 0.7, 11 / pixelsPerTwip))));
        painter->setFont(font);
        painter->drawText(m_box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                          QStringLiteral("[") + m_caption + u']');
    }

    QPen frame(isSelected() ? QColor(0, 120, 215) : QColor(70, 130, 180, 150), 0,
               isSelected() ? Qt::SolidLine : Qt::DashLine);
    frame.setCosmetic(true);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(m_box);
    if (isSelected()) {
        const double half = kHandlePixels / 2 / pixelsPerTwip;
        painter->setBrush(Qt::white);
        for (const QPointF& point : handlePoints())
            painter->drawRect(QRectF(point - QPointF(half, half), QSizeF(2 * half, 2 * half)));
    }
    painter->restore();
}

} // namespace mldd
