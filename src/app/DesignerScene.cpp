#include "DesignerScene.h"

#include "DesignerItem.h"

#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>

namespace mldd {

namespace {

constexpr double kSnapPixels = 6;
constexpr double kClickPixels = 3;

QString editName(const QString& action, const QList<std::pair<DesignerItem*, QRectF>>& items,
                 const TemplateDocument& document) {
    if (items.size() == 1)
        return action + u' ' + document.caption(items.first().first->ref());
    return QStringLiteral("%1 %2 个项目").arg(action).arg(items.size());
}

} // namespace

DesignerScene::DesignerScene(TemplateDocument& document, WaybillRenderer& renderer,
                             WaybillInput input, QObject* parent)
    : QGraphicsScene(parent), m_document(document), m_renderer(renderer), m_input(input) {
    // A margin around the paper, so that boxes near its edges can be reached.
    const QSizeF paper = document.paper();
    setSceneRect(QRectF(QPointF(), paper).adjusted(-1000, -1000, 1000, 1000));
    rebuild();
    connect(&document, &TemplateDocument::itemChanged, this, &DesignerScene::refresh);
    connect(&document, &TemplateDocument::itemsReset, this, &DesignerScene::rebuild);
    connect(this, &QGraphicsScene::selectionChanged, this, [this] {
        for (DesignerItem* item : std::as_const(m_items))
            refreshVisibility(item);
    });
}

DesignerScene::~DesignerScene() {
    // The items go with the scene, reporting selection changes that nobody should act on.
    blockSignals(true);
    qDeleteAll(std::exchange(m_items, {}));
}

DesignerItem* DesignerScene::item(ItemRef ref) const {
    for (DesignerItem* item : m_items)
        if (item->ref() == ref)
            return item;
    return nullptr;
}

QList<ItemRef> DesignerScene::selectedRefs() const {
    QList<ItemRef> refs;
    for (DesignerItem* item : m_items)
        if (item->isSelected())
            refs.append(item->ref());
    return refs;
}

void DesignerScene::select(const QList<ItemRef>& refs) {
    clearSelection();
    for (const ItemRef& ref : refs) {
        DesignerItem* chosen = item(ref);
        if (!chosen || !m_document.box(ref))
            continue;
        // A hidden item cannot be selected: a chosen one shows while it is.
        chosen->setVisible(true);
        chosen->setSelected(true);
    }
}

void DesignerScene::setShowingHidden(bool showing) {
    m_showingHidden = showing;
    for (DesignerItem* item : std::as_const(m_items))
        refreshVisibility(item);
}

void DesignerScene::rebuild() {
    const QList<ItemRef> selected = selectedRefs();
    // Deleting a selected item reports a new selection: the list is empty by then.
    qDeleteAll(std::exchange(m_items, {}));
    m_dragStart.clear();
    m_dragLead = nullptr;
    for (const ItemRef& ref : m_document.items()) {
        auto* item = new DesignerItem(ref, m_pagePainter);
        item->setZValue(ref.kind == ItemRef::Kind::Custom ? 1 : 0);
        m_items.append(item);
        addItem(item);
        refresh(ref);
    }
    for (const ItemRef& ref : selected)
        if (DesignerItem* again = item(ref))
            again->setSelected(true);
}

void DesignerScene::refresh(ItemRef ref) {
    DesignerItem* shown = item(ref);
    if (!shown)
        return;
    const std::optional<QRectF> box = m_document.box(ref);
    if (box) {
        PageModel piece = ref.kind == ItemRef::Kind::Layout
                              ? m_renderer.renderItem(m_document.record(ref.index), m_input)
                              : m_renderer.renderCustomItem(m_document.customItem(ref.index));
        QRectF extent = *box;
        TextMetrics& metrics = m_renderer.metrics();
        for (const TextLine& line : std::as_const(piece.texts))
            extent |= QRectF(line.left, line.top, metrics.width(line.font, line.text),
                             metrics.lineHeight(line.font));
        for (const BarcodeBars& barcode : std::as_const(piece.barcodes))
            extent |= barcode.box();
        shown->show(*box, std::move(piece), extent, m_document.caption(ref),
                    m_document.prints(ref));
    }
    refreshVisibility(shown);
}

void DesignerScene::refreshVisibility(DesignerItem* item) {
    const bool placed = m_document.box(item->ref()).has_value();
    item->setVisible(placed &&
                     (m_document.prints(item->ref()) || m_showingHidden || item->isSelected()));
}

QList<QRectF> DesignerScene::snapTargets() const {
    QList<QRectF> targets{QRectF(QPointF(), m_document.paper())};
    for (DesignerItem* item : m_items) {
        const bool dragged = std::any_of(m_dragStart.begin(), m_dragStart.end(),
                                         [item](const auto& start) { return start.first == item; });
        if (item->isVisible() && !dragged)
            targets.append(item->box());
    }
    return targets;
}

void DesignerScene::setGuides(const SnapResult& snap) {
    if (snap.guideX == m_guides.guideX && snap.guideY == m_guides.guideY)
        return;
    m_guides = snap;
    update(sceneRect());
}

void DesignerScene::drawBackground(QPainter* painter, const QRectF& rect) {
    painter->fillRect(rect, QColor(150, 150, 150));
    const QRectF paper(QPointF(), m_document.paper());
    painter->fillRect(paper, Qt::white);
    if (!m_document.picture().isNull()) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(paper, m_document.picture());
    }
}

void DesignerScene::drawForeground(QPainter* painter, const QRectF&) {
    if (!m_guides.guideX && !m_guides.guideY)
        return;
    QPen pen(QColor(220, 0, 160), 0, Qt::DashLine);
    pen.setCosmetic(true);
    painter->setPen(pen);
    const QRectF area = sceneRect();
    if (m_guides.guideX)
        painter->drawLine(QPointF(*m_guides.guideX, area.top()),
                          QPointF(*m_guides.guideX, area.bottom()));
    if (m_guides.guideY)
        painter->drawLine(QPointF(area.left(), *m_guides.guideY),
                          QPointF(area.right(), *m_guides.guideY));
}

void DesignerScene::mousePressEvent(QGraphicsSceneMouseEvent* event) {
    m_dragLead = nullptr;
    m_dragHandle = DesignerItem::None;
    if (event->button() != Qt::LeftButton) {
        QGraphicsScene::mousePressEvent(event);
        return;
    }
    for (DesignerItem* item : std::as_const(m_items)) {
        const auto handle = item->handleAt(event->scenePos(), m_pixelsPerTwip);
        if (item->isVisible() && handle != DesignerItem::None) {
            m_dragLead = item;
            m_dragHandle = handle;
            break;
        }
    }
    if (!m_dragLead) {
        for (QGraphicsItem* hit : items(event->scenePos())) {
            if (auto* item = dynamic_cast<DesignerItem*>(hit)) {
                m_dragLead = item;
                break;
            }
        }
        if (!m_dragLead) { // the bare paper: the view draws a rubber band
            QGraphicsScene::mousePressEvent(event);
            return;
        }
        if (event->modifiers() & Qt::ControlModifier) {
            m_dragLead->setSelected(!m_dragLead->isSelected());
        } else if (!m_dragLead->isSelected()) {
            clearSelection();
            m_dragLead->setSelected(true);
        }
    }
    m_pressPoint = event->scenePos();
    m_dragged = false;
    m_dragStart.clear();
    if (m_dragHandle != DesignerItem::None) {
        m_dragStart.append({m_dragLead, m_dragLead->box()});
    } else {
        for (DesignerItem* item : std::as_const(m_items))
            if (item->isSelected() && item->isVisible())
                m_dragStart.append({item, item->box()});
    }
    event->accept();
}

QRectF DesignerScene::resized(const QRectF& start, int handle, QPointF pointer, bool snapping) {
    SnapResult snap;
    if (snapping)
        snap = Snapping::snapPoint(pointer, snapTargets(), kSnapPixels / m_pixelsPerTwip);
    const bool horizontal = handle != DesignerItem::Top && handle != DesignerItem::Bottom;
    const bool vertical = handle != DesignerItem::Left && handle != DesignerItem::Right;
    if (!horizontal)
        snap.guideX.reset();
    if (!vertical)
        snap.guideY.reset();
    setGuides(snap);
    pointer += snap.shift;

    QRectF box = start;
    switch (handle) {
    case DesignerItem::TopLeft:
        box.setTopLeft(pointer);
        break;
    case DesignerItem::Top:
        box.setTop(pointer.y());
        break;
    case DesignerItem::TopRight:
        box.setTopRight(pointer);
        break;
    case DesignerItem::Right:
        box.setRight(pointer.x());
        break;
    case DesignerItem::BottomRight:
        box.setBottomRight(pointer);
        break;
    case DesignerItem::Bottom:
        box.setBottom(pointer.y());
        break;
    case DesignerItem::BottomLeft:
        box.setBottomLeft(pointer);
        break;
    case DesignerItem::Left:
        box.setLeft(pointer.x());
        break;
    }
    box = box.normalized();
    // A box keeps at least a millimetre each way, so that it can still be caught.
    box.setWidth(std::max(box.width(), kTwipsPerMillimetre));
    box.setHeight(std::max(box.height(), kTwipsPerMillimetre));
    return box;
}

void DesignerScene::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
    if (!m_dragLead || !(event->buttons() & Qt::LeftButton) || m_dragStart.isEmpty()) {
        QGraphicsScene::mouseMoveEvent(event);
        return;
    }
    QPointF delta = event->scenePos() - m_pressPoint;
    if (!m_dragged && (delta * m_pixelsPerTwip).manhattanLength() < kClickPixels)
        return;
    m_dragged = true;
    const bool snapping = !(event->modifiers() & Qt::AltModifier);
    if (m_dragHandle != DesignerItem::None) {
        m_dragLead->setBox(
            resized(m_dragStart.first().second, m_dragHandle, event->scenePos(), snapping));
        return;
    }
    const auto lead = std::find_if(m_dragStart.begin(), m_dragStart.end(),
                                   [this](const auto& start) { return start.first == m_dragLead; });
    if (snapping && lead != m_dragStart.end()) {
        const SnapResult snap = Snapping::snapBox(lead->second.translated(delta), snapTargets(),
                                                  kSnapPixels / m_pixelsPerTwip);
        delta += snap.shift;
        setGuides(snap);
    } else {
        setGuides({});
    }
    for (const auto& [item, start] : std::as_const(m_dragStart))
        item->setBox(start.translated(delta));
}

void DesignerScene::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
    const auto dragged = std::exchange(m_dragStart, {});
    const bool moved = m_dragged && m_dragLead;
    const bool resizing = m_dragHandle != DesignerItem::None;
    m_dragLead = nullptr;
    m_dragged = false;
    setGuides({});
    if (!moved) {
        QGraphicsScene::mouseReleaseEvent(event);
        return;
    }
    QList<std::pair<ItemRef, QRectF>> boxes;
    for (const auto& [item, start] : dragged)
        boxes.append({item->ref(), item->box()});
    const int before = m_document.undoStack().index();
    m_document.setBoxes(boxes,
                        editName(resizing ? QStringLiteral("调整大小") : QStringLiteral("移动"),
                                 dragged, m_document));
    if (m_document.undoStack().index() == before) // nothing changed: back where they were
        for (const auto& [item, start] : dragged)
            refresh(item->ref());
    event->accept();
}

void DesignerScene::nudge(const QPointF& step) {
    QList<std::pair<ItemRef, QRectF>> boxes;
    QList<std::pair<DesignerItem*, QRectF>> nudged;
    for (DesignerItem* item : std::as_const(m_items)) {
        if (!item->isSelected() || !item->isVisible())
            continue;
        boxes.append({item->ref(), item->box().translated(step)});
        nudged.append({item, item->box()});
    }
    if (!boxes.isEmpty())
        m_document.setBoxes(boxes, editName(QStringLiteral("微调"), nudged, m_document), true);
}

void DesignerScene::keyPressEvent(QKeyEvent* event) {
    // A millimetre a press; with Shift, a tenth of one.
    const double step = (event->modifiers() & Qt::ShiftModifier ? 0.1 : 1.0) * kTwipsPerMillimetre;
    switch (event->key()) {
    case Qt::Key_Left:
        nudge({-step, 0});
        break;
    case Qt::Key_Right:
        nudge({step, 0});
        break;
    case Qt::Key_Up:
        nudge({0, -step});
        break;
    case Qt::Key_Down:
        nudge({0, step});
        break;
    default:
        QGraphicsScene::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace mldd
