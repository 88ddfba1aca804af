#pragma once

#include "core/Order.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mldd {

struct MainState;

/** Manual entry: an order typed in, or a buyer's address block pasted and recognised. */
class ManualEntryDialog : public QDialog {
    Q_OBJECT

public:
    explicit ManualEntryDialog(MainState& state, QWidget* parent = nullptr);

    QComboBox* senderList() const { return m_sender; }
    QLineEdit* orderNumber() const { return m_orderSign; }
    QLineEdit* buyerName() const { return m_name; }
    QLineEdit* phone1() const { return m_phone1; }
    QLineEdit* phone2() const { return m_phone2; }
    QLineEdit* zipcode() const { return m_zipcode; }
    QPlainTextEdit* address() const { return m_address; }
    QLineEdit* province() const { return m_province; }
    QLineEdit* city() const { return m_city; }
    QLineEdit* county() const { return m_county; }
    QPlainTextEdit* goods() const { return m_goods; }
    QPushButton* recognizeButton() const { return m_recognize; }
    QPushButton* splitButton() const { return m_split; }
    QPushButton* clearButton() const { return m_clear; }
    QPushButton* batchButton() const { return m_batch; }
    QPushButton* saveCloseButton() const { return m_saveClose; }
    QPushButton* saveNextButton() const { return m_saveNext; }
    /** Says what the last save did, so that saving order after order needs no click between. */
    QLabel* statusLine() const { return m_status; }

signals:
    /** New orders were stored (`id` 0 for a batch); the list has been queried again. */
    void orderInserted(qint64 id);
    /** A saved order found no express plan: the plan panel should open to give it a courier. */
    void expressPlanWanted();

private:
    void recognize();
    void splitPlaces();
    void pasteMany();
    void clearBoxes();
    Order orderFromBoxes() const;
    bool save();

    MainState& m_state;
    QComboBox* m_sender;
    QLineEdit* m_orderSign;
    QLineEdit* m_buyId;
    QLineEdit* m_name;
    QLineEdit* m_phone1;
    QLineEdit* m_phone2;
    QLineEdit* m_zipcode;
    QPlainTextEdit* m_address;
    QLineEdit* m_province;
    QLineEdit* m_city;
    QLineEdit* m_county;
    QLineEdit* m_wuliuCode;
    QPlainTextEdit* m_goods;
    QPushButton* m_recognize;
    QPushButton* m_split;
    QPushButton* m_batch;
    QPushButton* m_clear;
    QPushButton* m_saveClose;
    QPushButton* m_saveNext;
    QLabel* m_status;
};

} // namespace mldd
