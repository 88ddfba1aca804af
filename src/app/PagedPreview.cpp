#include "PagedPreview.h"

#include "NoticeBox.h"
#include "WaybillPreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace mldd {

PagedPreview::PagedPreview(QSize pageSize, QWidget* parent)
    : QWidget(parent), m_page(new WaybillPreview(this)), m_paging(new QWidget(this)),
      m_previous(new QPushButton(QStringLiteral("上一页"), m_paging)),
      m_next(new QPushButton(QStringLiteral("下一页"), m_paging)), m_label(new QLabel(m_paging)) {
    m_page->setFixedSize(pageSize);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setAccessibleName(QStringLiteral("页码"));
    auto* paging = new QHBoxLayout(m_paging);
    paging->setContentsMargins(0, 0, 0, 0);
    paging->addWidget(m_previous);
    paging->addWidget(m_label, 1);
    paging->addWidget(m_next);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_page);
    layout->addWidget(m_paging);
    connect(m_previous, &QPushButton::clicked, this, &PagedPreview::previousPage);
    connect(m_next, &QPushButton::clicked, this, &PagedPreview::nextPage);
}

void PagedPreview::showPages(QList<PageModel> pages, const QString& message) {
    m_pages = std::move(pages);
    m_pager = ShippingListPager(int(m_pages.size()));
    if (m_pages.isEmpty())
        m_page->showPage(std::nullopt, message);
    else
        showCurrent();
    m_label->setText(m_pager.label());
}

void PagedPreview::setPagingShown(bool shown) {
    m_paging->setVisible(shown);
}

void PagedPreview::nextPage() {
    if (const auto refused = m_pager.next()) {
        showNotice(this, *refused);
        return;
    }
    showCurrent();
}

void PagedPreview::previousPage() {
    if (const auto refused = m_pager.previous()) {
        showNotice(this, *refused);
        return;
    }
    showCurrent();
}

void PagedPreview::showCurrent() {
    m_page->showPage(m_pages.value(m_pager.current() - 1));
    m_label->setText(m_pager.label());
}

} // namespace mldd
