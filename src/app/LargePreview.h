#pragma once

#include "core/Order.h"

#include <QWidget>

class QLabel;

namespace mldd {

class OrderPagesDrawer;
class PagedPreview;

/** The pages of the card the seller points at or works in, large, beside the list on a wide screen. */
class LargePreview : public QWidget {
    Q_OBJECT

public:
    LargePreview(OrderPagesDrawer& drawer, QWidget* parent = nullptr);

    /** Shows the order's pages, drawn as the list's mode draws them. */
    void showOrder(const Order& order);
    qint64 orderId() const { return m_orderId; }
    PagedPreview* pages() const { return m_pages; }

signals:
    /** The seller clicked the page: it opens as large as the print preview shows it. */
    void clicked(qint64 id);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    OrderPagesDrawer& m_drawer;
    qint64 m_orderId = 0;
    QLabel* m_caption;
    PagedPreview* m_pages;
};

} // namespace mldd
