#include "WaybillPreview.h"

#include "waybill/PagePainter.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>

namespace mldd {

namespace {

// The page drawn into an image of `size`: white, or grey around a page of other proportions.
QImage drawPage(const PageModel& page, QSize size, qreal pixelRatio, const QColor& around,
                const PrintPlacement& placement, bool withBackground) {
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    // The whole form fits the box: the resolution is chosen so that its width or height fills it.
    const double scale =
        std::min(size.width() / page.size.width(), size.height() / page.size.height());
    // A page of other proportions than the box (an upright shipping list) stands in its middle,
    // its edges visible against the grey around it.
    const QSizeF paper = page.size * scale;
    if (paper.width() < size.width() - 1 || paper.height() < size.height() - 1) {
        painter.fillRect(QRect(QPoint(0, 0), size), around);
        painter.translate((size.width() - paper.width()) / 2, (size.height() - paper.height()) / 2);
        painter.fillRect(QRectF(QPointF(0, 0), paper), Qt::white);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    PagePainter(scale * kTwipsPerInch, placement).paint(painter, page, withBackground);
    return image;
}

} // namespace

WaybillPreview::WaybillPreview(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(sizeHint());
}

void WaybillPreview::showPage(std::optional<PageModel> page, const QString& message) {
    m_page = std::move(page);
    m_message = message;
    render();
}

void WaybillPreview::setPlacement(PrintPlacement placement) {
    m_placement = placement;
    render();
}

void WaybillPreview::setBackgroundShown(bool shown) {
    m_withBackground = shown;
    render();
}

void WaybillPreview::mousePressEvent(QMouseEvent* event) {
    // The right button opens the waybill's menu, not the larger view.
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void WaybillPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    render();
}

void WaybillPreview::render() {
    ++m_asked;
    m_drawn = QImage();
    update();
    if (!m_page || m_page->size.isEmpty() || size().isEmpty())
        return;
    // The page turns at once; each card's drawing (the form's picture read and scaled, every
    // text set) follows from the thread pool.
    QThreadPool::globalInstance()->start(
        [self = QPointer<WaybillPreview>(this), asked = m_asked, page = *m_page, size = size(),
         ratio = devicePixelRatioF(), around = palette().color(QPalette::Mid),
         placement = m_placement, background = m_withBackground] {
            QImage drawn = drawPage(page, size, ratio, around, placement, background);
            QMetaObject::invokeMethod(qApp, [self, asked, drawn = std::move(drawn)] {
                if (self && self->m_asked == asked) {
                    self->m_drawn = drawn;
                    self->update();
                }
            });
        });
}

void WaybillPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_drawn.isNull()) {
        painter.drawImage(0, 0, m_drawn);
        return;
    }
    painter.fillRect(rect(), Qt::white);
    if (!m_page || m_page->size.isEmpty()) {
        painter.setPen(Qt::darkGray);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_message);
    }
}

} // namespace mldd
