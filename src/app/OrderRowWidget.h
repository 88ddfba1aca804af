#pragma once

#include "core/DataFolder.h"
#include "core/Order.h"
#include "workbench/OrderMarks.h"

#include <QFrame>

#include <memory>

class QCheckBox;
class QLabel;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mldd {

struct PlaceTable;

class CourierBox;
class PagedPreview;
class WaybillPreview;

/** One order card of the list: the receiver, address, goods and courier, with its marks. */
class OrderRowWidget : public QFrame {
    Q_OBJECT

public:
    /**
     * `folder`: where the senders' contents names are kept; `places`: the
     * place table a pasted receiver's address is recognised by.
     */
    OrderRowWidget(const DataFolder& folder, std::shared_ptr<const PlaceTable> places,
                   QWidget* parent = nullptr);

    /** The sender IDs the card's sender list offers. */
    void setSenders(const QStringList& senders);

    /** Hands the card's changes on (signal `edited`) when it has any that are not saved. */
    void commitEdits();

    /** Shows an order; `selected` ticks its box. */
    void showOrder(const Order& order, bool selected);
    /** Shows the province, city, county, address, destination and courier found anew, unsaved. */
    void showPlace(const Order& placed);
    qint64 orderId() const { return m_order.id; }
    /** The order as stored (the card's unsaved changes aside). */
    const Order& order() const { return m_order; }

    QCheckBox* selectionBox() const { return m_select; }
    QPushButton* markButton(OrderMarks::Mark mark) const;
    QPushButton* splitButton() const { return m_split; }
    /** Shown while the order's receiver is masked. */
    QLabel* maskedMark() const { return m_maskedMark; }
    QPushButton* confirmButton() const { return m_confirm; }
    QPushButton* deleteButton() const { return m_delete; }
    /** The drawn waybill or shipping-list page. */
    WaybillPreview* preview() const { return m_preview; }
    /** The page with its page buttons, shown for shipping lists. */
    PagedPreview* pagedPreview() const { return m_pages; }
    QComboBox* senderList() const { return m_sender; }
    /** The line field that shows `member` of the order. */
    QLineEdit* field(QString Order::*member) const;
    QPlainTextEdit* goodsBox() const { return m_goods; }
    QPushButton* recognizeButton() const { return m_recognize; }
    QPushButton* contentsButton() const { return m_contents; }
    /** 快递单据: the installed templates; its line edit is field(&Order::delivery). */
    CourierBox* courierBox() const { return m_courier; }

signals:
    void selectionToggled(qint64 id, bool ticked);
    void markClicked(qint64 id, OrderMarks::Mark mark);
    void splitClicked(qint64 id);
    void confirmClicked(qint64 id);
    void deleteClicked(qint64 id);
    /** The focus left the card after the seller changed it (or a contents name was picked). */
    void edited(const Order& order);
    /** 识别 filled the receiver's boxes: the order as the card shows it, to be placed again. */
    void addressRecognized(const Order& order);
    /** The seller chose another sender for the order in the card's sender list. */
    void senderChosen(qint64 id, const QString& senderId);
    /** The sender's contents names were saved from this card's panel. */
    void contentsNamesSaved();
    /** The seller asked, on the waybill's right-button menu, to edit this order's template. */
    void templateEditRequested(qint64 id);
    /** The seller asked, on the same menu, to adjust the waybill printer's offsets. */
    void offsetAdjustmentRequested(qint64 id);
    /** The seller asked, on the same menu, to see the order's pages large. */
    void largerPreviewRequested(qint64 id);
    /** The pointer came over the card, or the focus into it: the card the seller looks at. */
    void pointedAt();

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    /** The field is at least as wide as `longText`, a long text of its kind. */
    QLineEdit* addField(QString Order::*member, const QString& placeholder,
                        const QString& longText);
    /** Tab goes through the card line by line, left to right. */
    void setReadingTabOrder();
    Order editedOrder() const;
    void focusMoved(QWidget* from, QWidget* to);
    void recognize();
    void chooseSender(int index);
    void showContentsNames();

    DataFolder m_folder;
    std::shared_ptr<const PlaceTable> m_places;
    Order m_order;
    bool m_committing = false;
    QList<std::pair<QLineEdit*, QString Order::*>> m_fields;
    QCheckBox* m_select;
    QPlainTextEdit* m_goods;
    QPushButton* m_waybillMark;
    QPushButton* m_listMark;
    QPushButton* m_split;
    QLabel* m_maskedMark;
    QPushButton* m_confirm;
    QPushButton* m_delete;
    QComboBox* m_sender;
    QPushButton* m_recognize;
    QPushButton* m_contents;
    CourierBox* m_courier;
    PagedPreview* m_pages;
    WaybillPreview* m_preview;
};

} // namespace mldd
