#pragma once

#include "waybill/PagePainter.h"

#include <QDialog>

namespace mldd {

class PagedPreview;

/** 放大预览: an order's pages drawn large, page by page, as the printer will get them. */
class PrintPreviewDialog : public QDialog {
    Q_OBJECT

public:
    /** `placement`: the printer's offsets and factor, which waybills print with. */
    PrintPreviewDialog(const QString& title, QList<PageModel> pages, PrintPlacement placement = {},
                       QWidget* parent = nullptr);

    PagedPreview* pages() const { return m_pages; }

    /** The largest size of `page` that fits `box`, keeping its proportions. */
    static QSize fitted(const PageModel& page, QSize box);

private:
    PagedPreview* m_pages;
};

} // namespace mldd
