#pragma once

#include "core/Order.h"
#include "shiplist/FaHuoSet.h"
#include "waybill/TextMetrics.h"

#include <QDialog>
#include <QHash>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mldd {

struct MainState;
class WaybillPreview;

/**
 * The shipping-list design of one sender: which items print, the seller's
 * texts and each item's font, size and alignment, with a preview of a real
 * order laid out as it will print.
 */
class ShippingListDesigner : public QDialog {
    Q_OBJECT

public:
    ShippingListDesigner(MainState& state, const QString& senderId, QWidget* parent = nullptr);

    /** The control of an item: its check box, or the button of a goods-table item. */
    QAbstractButton* itemControl(const QString& item) const { return m_controls.value(item); }
    /** The text box of 标题, 卖家姓名, 卖家ID, 卖家联系电话 or 卖家寄语. */
    QLineEdit* itemText(const QString& item) const { return m_texts.value(item); }
    QComboBox* itemList() const { return m_itemList; }
    QComboBox* fontList() const { return m_font; }
    QComboBox* sizeList() const { return m_size; }
    QComboBox* alignmentList() const { return m_alignment; }
    QCheckBox* boldBox() const { return m_bold; }
    QPushButton* saveButton() const { return m_save; }
    WaybillPreview* preview() const { return m_preview; }
    /** The design as edited so far. */
    const FaHuoSet& design() const { return m_design; }

signals:
    /** The design was stored: the main window's shipping lists are stale. */
    void saved();

private:
    QWidget* createItemPanel();
    QWidget* createStylePanel();
    QCheckBox* addCheck(const QString& item);
    QLineEdit* addText(const QString& item);
    void selectItem(const QString& item);
    void setField(FaHuoSet::Field field, const QString& value);
    void showItemStyle(const QString& item);
    void showPreview();
    void save();

    MainState& m_state;
    QString m_senderId;
    FaHuoSet m_design;
    Order m_sample;
    TextMetrics m_metrics;
    QString m_current;
    QHash<QString, QAbstractButton*> m_controls;
    QHash<QString, QLineEdit*> m_texts;
    QComboBox* m_itemList;
    QComboBox* m_font;
    QComboBox* m_size;
    QComboBox* m_alignment;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QPushButton* m_save;
    WaybillPreview* m_preview;
    QLabel* m_previewCaption;
};

} // namespace mldd
