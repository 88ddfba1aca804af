#pragma once

#include "address/PastedBatch.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace mldd {

struct MainState;

/**
 * Batch paste: many receivers pasted at once, read into a table the seller can
 * correct, then stored as orders of one sender, courier and goods in one go.
 */
class BatchPasteDialog : public QDialog {
    Q_OBJECT

public:
    /** The table's columns. */
    enum Column { Name, Phone1, Phone2, Zipcode, Address, Places, Mark, ColumnCount };

    explicit BatchPasteDialog(MainState& state, QWidget* parent = nullptr);

    QPlainTextEdit* pasteBox() const { return m_paste; }
    QPushButton* recognizeButton() const { return m_recognize; }
    QTableWidget* table() const { return m_table; }
    QComboBox* senderList() const { return m_sender; }
    QComboBox* courierList() const { return m_courier; }
    QLineEdit* goods() const { return m_goods; }
    QPushButton* storeButton() const { return m_store; }

signals:
    /** Orders were stored; the list has been queried again. */
    void ordersStored(int count);

private:
    void recognize();
    void showRow(int row);
    void rowEdited(int row, int column);
    void markRepeats();
    void store();

    MainState& m_state;
    QPlainTextEdit* m_paste;
    QPushButton* m_recognize;
    QTableWidget* m_table;
    QComboBox* m_sender;
    QComboBox* m_courier;
    QLineEdit* m_goods;
    QLabel* m_summary;
    QPushButton* m_store;
    QList<PastedBlock> m_blocks; // one per table row
    QList<bool> m_repeated;      // one per table row
};

} // namespace mldd
