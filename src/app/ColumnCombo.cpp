#include "ColumnCombo.h"

#include <QKeyEvent>

namespace mldd {

ColumnCombo::ColumnCombo(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (m_stepping) {
            m_stepped = index;
            return;
        }
        m_stepped = -1;
        if (index > 0)
            emit columnChosen(index);
    });
}

void ColumnCombo::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_stepped >= 0) {
        // Enter takes the stepped column; it does not start the import behind it.
        commitStep();
        event->accept();
        return;
    }
    m_stepping = true;
    QComboBox::keyPressEvent(event);
    m_stepping = false;
}

void ColumnCombo::wheelEvent(QWheelEvent* event) {
    m_stepping = true;
    QComboBox::wheelEvent(event);
    m_stepping = false;
}

void ColumnCombo::focusOutEvent(QFocusEvent* event) {
    // The open list takes the focus while it shows: that is not leaving.
    if (event->reason() != Qt::PopupFocusReason)
        commitStep();
    QComboBox::focusOutEvent(event);
}

void ColumnCombo::commitStep() {
    const int index = m_stepped;
    m_stepped = -1;
    if (index > 0)
        emit columnChosen(index);
}

} // namespace mldd
