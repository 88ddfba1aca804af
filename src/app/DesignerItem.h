#pragma once

#include "waybill/PageModel.h"
#include "waybill/TemplateDocument.h"

#include <QGraphicsItem>

namespace mldd {

class PagePainter;

/**
 * One item of a template on the designer's paper: its stored box, with the
 * text a real order prints in it drawn by the page painter that prints.
 */
class DesignerItem : public QGraphicsItem {
public:
    /** Handles of a selected box, clockwise from the top-left corner. */
    enum Handle { None = -1, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

    DesignerItem(ItemRef ref, PagePainter& painter);

    ItemRef ref() const { return m_ref; }
    QRectF box() const { return QRectF(pos(), m_box.size()); }

    /** Shows `box` (scene twips) holding `piece`, whose texts and bars reach over `extent`. */
    void show(const QRectF& box, PageModel piece, const QRectF& extent, const QString& caption,
              bool prints);
    /** A box the seller is dragging or resizing, shown before it is laid out again. */
    void setBox(const QRectF& box);

    /** The handle under `scenePoint` of a selected box, at a view scale of `pixelsPerTwip`. */
    Handle handleAt(const QPointF& scenePoint, double pixelsPerTwip) const;

    QRectF boundingRect() const override;
    /** The box and the text in it: what a click hits. */
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    /** The texts and bars the item shows, in scene twips: what printing puts on paper. */
    const PageModel& piece() const { return m_piece; }

private:
    QList<QPointF> handlePoints() const;

    ItemRef m_ref;
    PagePainter& m_painter;
    QRectF m_box;    // local: the stored box, from the origin
    QRectF m_extent; // local: everything painted
    PageModel m_piece;
    QPointF m_pieceOrigin; // the scene point the piece's coordinates count from
    QString m_caption;
    bool m_prints = true;
};

} // namespace mldd
