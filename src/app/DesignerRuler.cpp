#include "DesignerRuler.h"

#include "waybill/PageModel.h"

#include <QPainter>

#include <cmath>

namespace mldd {

DesignerRuler::DesignerRuler(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), m_orientation(orientation) {
    if (orientation == Qt::Horizontal)
        setFixedHeight(kThickness);
    else
        setFixedWidth(kThickness);
}

void DesignerRuler::setMapping(double origin, double pixelsPerTwip) {
    m_origin = origin;
    m_pixelsPerTwip = pixelsPerTwip;
    update();
}

void DesignerRuler::setMark(std::optional<std::pair<double, double>> span) {
    m_mark = span;
    update();
}

void DesignerRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(240, 240, 240));
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int length = horizontal ? width() : height();
    const auto pixel = [&](double twips) { return (twips - m_origin) * m_pixelsPerTwip; };

    if (m_mark) {
        const double from = pixel(m_mark->first);
        const double to = pixel(m_mark->second);
        const QRectF band = horizontal ? QRectF(from, 0, to - from, kThickness)
                                       : QRectF(0, from, kThickness, to - from);
        painter.fillRect(band, QColor(0, 120, 215, 70));
    }

    // Ticks every millimetre when they stay four pixels apart, else every five or ten.
    const double pixelsPerMm = kTwipsPerMillimetre * m_pixelsPerTwip;
    const int step = pixelsPerMm >= 4 ? 1 : pixelsPerMm * 5 >= 4 ? 5 : 10;
    const int labelEvery = pixelsPerMm * 10 >= 28 ? 10 : pixelsPerMm * 50 >= 28 ? 50 : 100;
    const int first = int(std::floor(m_origin / kTwipsPerMillimetre / step)) * step;
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(QColor(90, 90, 90));
    for (int mm = first;; mm += step) {
        const double at = pixel(mm * kTwipsPerMillimetre);
        if (at > length)
            break;
        const int tick = mm % 10 == 0 ? kThickness / 2 : mm % 5 == 0 ? kThickness / 3 : 4;
        if (horizontal)
            painter.drawLine(QPointF(at, kThickness - tick), QPointF(at, kThickness));
        else
            painter.drawLine(QPointF(kThickness - tick, at), QPointF(kThickness, at));
        if (mm % labelEvery == 0) {
            const QString label = QString::number(mm);
            if (horizontal) {
                painter.drawText(QPointF(at + 2, 10), label);
            } else {
                painter.save();
                painter.translate(10, at + 2);
                painter.rotate(90);
                painter.drawText(QPointF(0, 0), label);
                painter.restore();
            }
        }
    }
    painter.drawLine(horizontal ? QLineF(0, kThickness - 0.5, length, kThickness - 0.5)
                                : QLineF(kThickness - 0.5, 0, kThickness - 0.5, length));
}

} // namespace mldd
