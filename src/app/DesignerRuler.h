#pragma once

#include <QWidget>

#include <optional>

namespace mldd {

/** A ruler in millimetres along the designer's paper, marking the selected box's span. */
class DesignerRuler : public QWidget {
    Q_OBJECT

public:
    static constexpr int kThickness = 22;

    DesignerRuler(Qt::Orientation orientation, QWidget* parent = nullptr);

    /** The paper coordinate (twips) at the ruler's first pixel, and pixels per twip. */
    void setMapping(double origin, double pixelsPerTwip);
    /** The span (twips) to mark, or none. */
    void setMark(std::optional<std::pair<double, double>> span);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation m_orientation;
    double m_origin = 0;
    double m_pixelsPerTwip = 96.0 / 1440;
    std::optional<std::pair<double, double>> m_mark;
};

} // namespace mldd
