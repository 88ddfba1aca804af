#pragma once

#include "waybill/PageModel.h"

#include <QDialog>

namespace mldd {

class PagedPreview;

/** 放大预览: an order's pages drawn large, page by page, as the printer will get them. */
class PrintPreviewDialog : public QDialog {
    Q_OBJECT

public:
    PrintPreviewDialog(const QString& title, QList<PageModel> pages, QWidget* parent = nullptr);

    PagedPreview* pages() const { return m_pages; }

    /** The largest size of `page` that fits `box`, keeping its proportions. */
    static QSize fitted(const PageModel& page, QSize box);

private:
    PagedPreview* m_pages;
};

} // namespace mldd
