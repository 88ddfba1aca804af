#include "ExpressPlanDialog.h"

#include "NoticeBox.h"

#include "address/ExpressPlan.h"
#include "core/MainState.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace mldd {

namespace {
constexpr int kColumns = 6;
}

ExpressPlanDialog::ExpressPlanDialog(MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_panel(ExpressPlan::fromText(state.settings.selectKD)),
      m_templates(new QComboBox(this)),
      m_messagesFirst(new QRadioButton(QStringLiteral("在买家留言和卖家备注中提取"), this)),
      m_provinceOnly(new QRadioButton(QStringLiteral("不在买家留言和卖家备注中提取"), this)),
      m_save(new QPushButton(QStringLiteral("保存快递方案"), this)) {
    setWindowTitle(QStringLiteral("快递方案"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("点击省份，再选择这个省份用的快递单据："), this));

    auto* grid = new QGridLayout;
    for (int i = 0; i < PlanPanel::kCellCount; ++i) {
        auto* cell = new QPushButton(this);
        cell->setCheckable(true);
        cell->setMinimumWidth(130);
        connect(cell, &QPushButton::clicked, this, [this, i] { selectCell(i); });
        grid->addWidget(cell, i / kColumns, i % kColumns);
        m_cells.append(cell);
    }
    layout->addLayout(grid);

    m_templates->addItems(m_state.templates);
    m_templates->setCurrentIndex(-1);
    m_templates->setEnabled(false);
    connect(m_templates, &QComboBox::textActivated, this, &ExpressPlanDialog::chooseTemplate);
    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("快递单据"), this));
    choice->addWidget(m_templates, 1);
    layout->addLayout(choice);

    layout->addWidget(new QLabel(QStringLiteral("买家留言或卖家备注中指定的快递："), this));
    layout->addWidget(m_messagesFirst);
    layout->addWidget(m_provinceOnly);
    (m_panel.messagesFirst() ? m_messagesFirst : m_provinceOnly)->setChecked(true);
    layout->addWidget(m_save, 0, Qt::AlignRight);
    connect(m_save, &QPushButton::clicked, this, &ExpressPlanDialog::save);
    showCells();
}

void ExpressPlanDialog::selectCell(int index) {
    m_current = index;
    for (int i = 0; i < m_cells.size(); ++i)
        m_cells.at(i)->setChecked(i == index);
    m_templates->setEnabled(true);
    m_templates->setFocus();
}

void ExpressPlanDialog::chooseTemplate(const QString& name) {
    if (m_current < 0)
        return;
    m_panel.chooseTemplate(m_current, name);
    showCells();
}

void ExpressPlanDialog::save() {
    m_panel.setMessagesFirst(m_messagesFirst->isChecked());
    const PlanPanel::Saved saved = m_panel.save(m_state);
    if (saved.notice)
        showNotice(this, *saved.notice);
    if (saved.saved && !saved.fill.openPlanPanel)
        accept();
}

void ExpressPlanDialog::showCells() {
    for (int i = 0; i < m_cells.size(); ++i)
        m_cells.at(i)->setText(m_panel.cellText(i));
}

} // namespace mldd
