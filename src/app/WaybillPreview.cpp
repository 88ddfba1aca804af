#include "WaybillPreview.h"

#include "waybill/PagePainter.h"

#include <QPainter>

namespace mldd {

WaybillPreview::WaybillPreview(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(sizeHint());
}

void WaybillPreview::showPage(std::optional<PageModel> page, const QString& message) {
    m_page = std::move(page);
    m_message = message;
    update();
}

void WaybillPreview::setPlacement(PrintPlacement placement) {
    m_placement = placement;
    update();
}

void WaybillPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_page || m_page->size.isEmpty()) {
        painter.setPen(Qt::darkGray);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_message);
        return;
    }
    // The whole form fits the box: the resolution is chosen so that its width or height fills it.
    const double scale = std::min(width() / m_page->size.width(), height() / m_page->size.height());
    const double dotsPerInch = scale * kTwipsPerInch;
    // A page of other proportions than the box (an upright shipping list) stands in its middle,
    // its edges visible against the grey around it.
    const QSizeF paper = m_page->size * scale;
    if (paper.width() < width() - 1 || paper.height() < height() - 1) {
        painter.fillRect(rect(), palette().color(QPalette::Mid));
        painter.translate((width() - paper.width()) / 2, (height() - paper.height()) / 2);
        painter.fillRect(QRectF(QPointF(0, 0), paper), Qt::white);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    PagePainter(dotsPerInch, m_placement).paint(painter, *m_page, m_withBackground);
}

} // namespace mldd
