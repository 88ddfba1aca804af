#pragma once

#include "shiplist/ShippingListPager.h"
#include "waybill/PageModel.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace mldd {

class WaybillPreview;

/** Pages drawn one at a time, with 上一页 / 下一页 and the page label "n/m" under them. */
class PagedPreview : public QWidget {
    Q_OBJECT

public:
    /** `pageSize`: the size of the drawn page on screen, in pixels. */
    explicit PagedPreview(QSize pageSize, QWidget* parent = nullptr);

    /** Shows page 1 of `pages`, or `message` when there is none. */
    void showPages(QList<PageModel> pages, const QString& message = {});
    /** Shows or hides the page buttons and label (a waybill has one page and needs none). */
    void setPagingShown(bool shown);

    WaybillPreview* page() const { return m_page; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* previousButton() const { return m_previous; }
    QLabel* pageLabel() const { return m_label; }

    void nextPage();
    void previousPage();

private:
    void showCurrent();

    QList<PageModel> m_pages;
    ShippingListPager m_pager;
    WaybillPreview* m_page;
    QWidget* m_paging;
    QPushButton* m_previous;
    QPushButton* m_next;
    QLabel* m_label;
};

} // namespace mldd
