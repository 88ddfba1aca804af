#include "PagePainter.h"

#include "TextMetrics.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace mldd {

const PagePainter::DeviceFont& PagePainter::deviceFont(QPainter& painter, const FontSpec& style) {
    const QString key = style.key();
    auto found = m_fonts.constFind(key);
    if (found == m_fonts.constEnd()) {
        QFont font = TextMetrics::twipsFont(style);
        // Point sizes count in the device's own resolution; ours may differ from it.
        const double deviceDpi = painter.device()->logicalDpiY();
        font.setPointSizeF(style.pointSize * m_scale * kTwipsPerInch / deviceDpi);
        found =
            m_fonts.insert(key, DeviceFont{font, QFontMetricsF(font, painter.device()).ascent()});
    }
    return *found;
}

void PagePainter::paintBarcode(QPainter& painter, const BarcodeBars& barcode) const {
    // In dots of the bars' printer: a whole number per module, the symbol from a whole dot.
    const double moduleDots = std::max(1.0, std::round(toDots(barcode.module) / m_barDot));
    // Half a module short, less the dot the last line of a bar run is wide.
    const double narrowing = std::max(0.0, std::floor(moduleDots / 2) - 1);
    const double left = std::round(xDots(barcode.left) / m_barDot);
    const double top = std::round(yDots(barcode.top));
    const double bottom = std::round(yDots(barcode.top + barcode.height));
    for (const BarcodeBars::Run& run : barcode.runs()) {
        const double from = left + moduleDots * run.first;
        const double to = from + moduleDots * run.length - (run.narrowed ? narrowing : 0);
        painter.drawRect(QRectF(from * m_barDot, top, (to - from) * m_barDot, bottom - top));
    }
}

void PagePainter::paint(QPainter& painter, const PageModel& page, bool withBackground) {
    if (withBackground && !page.background.isEmpty()) {
        const QImage picture(page.background);
        if (!picture.isNull())
            painter.drawImage(QRectF(0, 0, toDots(page.size.width()), toDots(page.size.height())),
                              picture);
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const BarcodeBars& barcode : page.barcodes)
        paintBarcode(painter, barcode);

    for (const RuleLine& rule : page.rules) {
        painter.setPen(QPen(Qt::black, std::max(1.0, toDots(rule.width))));
        painter.drawLine(QPointF(xDots(rule.x1), yDots(rule.y1)),
                         QPointF(xDots(rule.x2), yDots(rule.y2)));
    }

    painter.setPen(Qt::black);
    for (const TextLine& line : page.texts) {
        const DeviceFont& font = deviceFont(painter, line.font);
        painter.setFont(font.font);
        painter.drawText(QPointF(xDots(line.left), yDots(line.top) + font.ascent), line.text);
    }
}

} // namespace mldd
