#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace mldd {

/** The quick sender picker: a marketplace and an ID typed by hand, for an order's sender. */
class SenderPicker : public QDialog {
    Q_OBJECT

public:
    explicit SenderPicker(QWidget* parent = nullptr);

    /** The picked ID, marketplace + ":" + ID, once the picker was confirmed. */
    QString pickedId() const { return m_picked; }

    QComboBox* marketplace() const { return m_market; }
    QLineEdit* account() const { return m_account; }
    QPushButton* confirmButton() const { return m_confirm; }

private:
    void confirm();

    QComboBox* m_market;
    QLineEdit* m_account;
    QPushButton* m_confirm;
    QString m_picked;
};

} // namespace mldd
