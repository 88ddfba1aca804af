#pragma once

#include "address/PlanPanel.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace mldd {

struct MainState;

/** The express plan panel: a template for each of the 34 provinces, and the message option. */
class ExpressPlanDialog : public QDialog {
    Q_OBJECT

public:
    explicit ExpressPlanDialog(MainState& state, QWidget* parent = nullptr);

    QPushButton* cell(int index) const { return m_cells.at(index); }
    QComboBox* templateList() const { return m_templates; }
    QPushButton* saveButton() const { return m_save; }

private:
    void selectCell(int index);
    void chooseTemplate(const QString& name);
    void save();
    void showCells();

    MainState& m_state;
    PlanPanel m_panel;
    int m_current = -1;
    QList<QPushButton*> m_cells;
    QComboBox* m_templates;
    QRadioButton* m_messagesFirst;
    QRadioButton* m_provinceOnly;
    QPushButton* m_save;
};

} // namespace mldd
