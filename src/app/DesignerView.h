#pragma once

#include <QGraphicsView>

#include <optional>

namespace mldd {

class DesignerRuler;

/** The designer's view of the paper: zoom (1 is the paper's true size on screen) and mm rulers. */
class DesignerView : public QGraphicsView {
    Q_OBJECT

public:
    explicit DesignerView(QWidget* parent = nullptr);

    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    /** The zoom at which the whole paper fits the view. */
    double fittingZoom(const QSizeF& paper) const;
    /** Screen pixels per twip at the current zoom. */
    double pixelsPerTwip() const;

    /** Marks the span of `box` (twips) on both rulers; none clears the marks. */
    void markOnRulers(const std::optional<QRectF>& box);

signals:
    void zoomChanged(double zoom);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void placeRulers();
    void updateRulers();

    double m_zoom = 1;
    DesignerRuler* m_top;
    DesignerRuler* m_left;
};

} // namespace mldd
