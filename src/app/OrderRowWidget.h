#pragma once

#include "core/Order.h"
#include "workbench/OrderMarks.h"

#include <QFrame>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mldd {

class WaybillPreview;

/** One order card of the list: the receiver, address, goods and courier, with its marks. */
class OrderRowWidget : public QFrame {
    Q_OBJECT

public:
    explicit OrderRowWidget(QWidget* parent = nullptr);

    /** Shows an order; `selected` ticks its box. */
    void showOrder(const Order& order, bool selected);
    qint64 orderId() const { return m_order.id; }

    QCheckBox* selectionBox() const { return m_select; }
    QPushButton* markButton(OrderMarks::Mark mark) const;
    QPushButton* splitButton() const { return m_split; }
    QPushButton* confirmButton() const { return m_confirm; }
    QPushButton* deleteButton() const { return m_delete; }
    WaybillPreview* preview() const { return m_preview; }

signals:
    void selectionToggled(qint64 id, bool ticked);
    void markClicked(qint64 id, OrderMarks::Mark mark);
    void splitClicked(qint64 id);
    void confirmClicked(qint64 id);
    void deleteClicked(qint64 id);
    /** A field lost the focus after the seller changed it. */
    void edited(const Order& order);
    /** The seller asked, on the waybill's right-button menu, to edit this order's template. */
    void templateEditRequested(qint64 id);

private:
    QLineEdit* addField(QString Order::*member, const QString& placeholder, int width);
    void emitEdited();

    Order m_order;
    QList<std::pair<QLineEdit*, QString Order::*>> m_fields;
    QCheckBox* m_select;
    QPlainTextEdit* m_goods;
    QPushButton* m_waybillMark;
    QPushButton* m_listMark;
    QPushButton* m_split;
    QPushButton* m_confirm;
    QPushButton* m_delete;
    WaybillPreview* m_preview;
};

} // namespace mldd
