#pragma once

#include "address/PlanPanel.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace mldd {

struct MainState;

/**
 * The express plan: one courier for every province at once, a region's
 * provinces at once, then single provinces as exceptions; and the message option.
 */
class ExpressPlanDialog : public QDialog {
    Q_OBJECT

public:
    explicit ExpressPlanDialog(MainState& state, QWidget* parent = nullptr);

    /** 全部省份: sets every province. */
    QComboBox* everyProvinceList() const { return m_everywhere; }
    /** The list that sets the provinces of `PlanPanel::regions()[index]`. */
    QComboBox* regionList(int index) const { return m_regions.at(index); }
    /** The list of province cell `index` (PlanPanel's order). */
    QComboBox* cellList(int index) const { return m_cells.at(index); }
    QPushButton* saveButton() const { return m_save; }

private:
    QComboBox* courierList(const QString& name, const QString& prompt, const QList<int>& cells);
    void save();
    void showCells();

    MainState& m_state;
    PlanPanel m_panel;
    QComboBox* m_everywhere;
    QList<QComboBox*> m_regions;
    QList<QComboBox*> m_cells;
    QRadioButton* m_messagesFirst;
    QRadioButton* m_provinceOnly;
    QPushButton* m_save;
};

} // namespace mldd
