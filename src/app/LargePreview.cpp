#include "LargePreview.h"

#include "OrderPagesDrawer.h"
#include "PagedPreview.h"
#include "WaybillPreview.h"

#include <QLabel>
#include <QVBoxLayout>

namespace mldd {

LargePreview::LargePreview(OrderPagesDrawer& drawer, QWidget* parent)
    : QWidget(parent), m_drawer(drawer), m_caption(new QLabel(this)),
      m_pages(new PagedPreview(WaybillPreview::kCardSize, this)) {
    m_caption->setAccessibleName(QStringLiteral("预览的订单"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_caption);
    layout->addWidget(m_pages);
    layout->addStretch();
    m_pages->page()->setToolTip(QStringLiteral("点击放大预览"));
    connect(m_pages->page(), &WaybillPreview::clicked, this, [this] {
        if (m_orderId != 0)
            emit clicked(m_orderId);
    });
}

void LargePreview::showOrder(const Order& order) {
    m_orderId = order.id;
    m_caption->setText(order.orderSign + u' ' + order.buyName);
    auto [pages, why] = m_drawer.pagesOf(order);
    m_pages->setPagingShown(pages.size() > 1);
    m_pages->showPages(std::move(pages), why ? why->text : QString());
}

void LargePreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // As wide as the panel, in a waybill's proportions; an upright list stands in its middle.
    const QSize card = WaybillPreview::kCardSize;
    m_pages->page()->setFixedSize(width(), width() * card.height() / card.width());
}

} // namespace mldd
