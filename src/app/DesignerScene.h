#pragma once

#include "waybill/PagePainter.h"
#include "waybill/Snapping.h"
#include "waybill/TemplateDocument.h"
#include "waybill/WaybillRenderer.h"

#include <QGraphicsScene>

namespace mldd {

class DesignerItem;

/**
 * The designer's paper: the form's picture at its true size and one box per
 * item, laid out for the sample order by the renderer that prints. Dragging,
 * resizing with handles and the arrow keys become document edits, with
 * snapping to other boxes' edges (Alt held: none).
 */
class DesignerScene : public QGraphicsScene {
    Q_OBJECT

public:
    DesignerScene(TemplateDocument& document, WaybillRenderer& renderer, WaybillInput input,
                  QObject* parent = nullptr);
    ~DesignerScene() override;

    TemplateDocument& document() { return m_document; }
    DesignerItem* item(ItemRef ref) const;
    QList<ItemRef> selectedRefs() const;
    /** Selects these items alone, showing those that do not print while they are selected. */
    void select(const QList<ItemRef>& refs);

    /** Shows items that do not print (hidden, not printed, unused custom items) faintly. */
    void setShowingHidden(bool showing);
    bool isShowingHidden() const { return m_showingHidden; }

    /** The current view scale, which sets how near snapping reaches. */
    void setPixelsPerTwip(double scale) { m_pixelsPerTwip = scale; }
    /** Moves the selected boxes by `step` twips as one merged nudge. */
    void nudge(const QPointF& step);

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();
    void refresh(ItemRef ref);
    void refreshVisibility(DesignerItem* item);
    QList<QRectF> snapTargets() const;
    QRectF resized(const QRectF& start, int handle, QPointF pointer, bool snapping);
    void setGuides(const SnapResult& snap);

    TemplateDocument& m_document;
    WaybillRenderer& m_renderer;
    WaybillInput m_input;
    PagePainter m_pagePainter{kTwipsPerInch}; // scene units are twips
    QList<DesignerItem*> m_items;
    bool m_showingHidden = false;
    double m_pixelsPerTwip = 96 / kTwipsPerInch;

    // A drag in progress: the boxes when it began, the handle pulled (or none to move).
    QList<std::pair<DesignerItem*, QRectF>> m_dragStart;
    DesignerItem* m_dragLead = nullptr;
    int m_dragHandle = -1;
    QPointF m_pressPoint;
    bool m_dragged = false;
    SnapResult m_guides;
};

} // namespace mldd
