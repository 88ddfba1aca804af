#include "PrintPreviewDialog.h"

#include "PagedPreview.h"
#include "WaybillPreview.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace mldd {

namespace {

// Room for the page on a 1024x768 screen, beside the window's frame and buttons.
constexpr QSize kPreviewRoom{900, 600};

} // namespace

PrintPreviewDialog::PrintPreviewDialog(const QString& title, QList<PageModel> pages,
                                       PrintPlacement placement, QWidget* parent)
    : QDialog(parent),
      m_pages(new PagedPreview(pages.isEmpty() ? kPreviewRoom : fitted(pages.first(), kPreviewRoom),
                               this)) {
    setWindowTitle(QStringLiteral("放大预览 ") + title);
    // The printer gets no form picture: the preview shows the paper as it will come out.
    m_pages->page()->setBackgroundShown(false);
    m_pages->page()->setPlacement(placement);
    m_pages->setPagingShown(true);
    m_pages->showPages(std::move(pages));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
}

QSize PrintPreviewDialog::fitted(const PageModel& page, QSize box) {
    if (page.size.isEmpty())
        return box;
    return page.size.scaled(QSizeF(box), Qt::KeepAspectRatio).toSize();
}

} // namespace mldd
