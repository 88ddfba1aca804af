#pragma once

#include <QComboBox>

namespace mldd {

/**
 * A field's column list in the spreadsheet mapping: a column is chosen once,
 * from the open list, or by stepping the closed list with the keys (as a
 * screen reader's user browses it) and then pressing Enter or leaving it.
 * Stepping alone adds nothing, and the list goes on showing the column chosen.
 */
class ColumnCombo : public QComboBox {
    Q_OBJECT

public:
    explicit ColumnCombo(QWidget* parent = nullptr);

signals:
    /** The seller chose the entry at `index` (0 is the prompt, never chosen). */
    void columnChosen(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void commitStep();

    bool m_stepping = false;
    int m_stepped = -1; // the entry stepped to and not chosen yet
};

} // namespace mldd
