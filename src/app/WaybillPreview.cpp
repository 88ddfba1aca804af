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
    const double dotsPerInch =
        std::min(width() / m_page->size.width(), height() / m_page->size.height()) * kTwipsPerInch;
    painter.setRenderHint(QPainter::Antialiasing);
    PagePainter(dotsPerInch, m_placement).paint(painter, *m_page, m_withBackground);
}

} // namespace mldd
