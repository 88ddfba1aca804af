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

// Provinces per line of a region; 华东's seven take two lines.
constexpr int kCellsPerLine = 5;
const QString kChoose = QStringLiteral("选择快递");

} // namespace

ExpressPlanDialog::ExpressPlanDialog(MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_panel(ExpressPlan::fromText(state.settings.selectKD)),
      m_messagesFirst(new QRadioButton(QStringLiteral("在买家留言和卖家备注中提取"), this)),
      m_provinceOnly(new QRadioButton(QStringLiteral("不在买家留言和卖家备注中提取"), this)),
      m_save(new QPushButton(QStringLiteral("保存快递方案"), this)) {
    setWindowTitle(QStringLiteral("快递方案"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("先给全部省份选一个快递，再给不同的地区或省份另选："), this));

    m_everywhere = courierList(QStringLiteral("全部省份"), kChoose, PlanPanel::allCells());
    auto* everywhere = new QHBoxLayout;
    auto* everywhereLabel = new QLabel(QStringLiteral("<b>全部省份</b>"), this);
    everywhereLabel->setBuddy(m_everywhere);
    everywhere->addWidget(everywhereLabel);
    everywhere->addWidget(m_everywhere);
    everywhere->addStretch();
    layout->addLayout(everywhere);

    for (int i = 0; i < PlanPanel::kCellCount; ++i)
        m_cells.append(courierList(PlanPanel::provinces()[size_t(i)], PlanPanel::kPrompt, {i}));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    int line = 0;
    for (const PlanPanel::Region& region : PlanPanel::regions()) {
        QComboBox* list = courierList(region.name, kChoose, region.cells);
        m_regions.append(list);
        auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(region.name), this);
        label->setBuddy(list);
        grid->addWidget(label, line, 0);
        grid->addWidget(list, line, 1);
        for (int at = 0; at < region.cells.size(); ++at) {
            const int cell = region.cells.at(at);
            auto* province = new QLabel(PlanPanel::provinces()[size_t(cell)], this);
            province->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            province->setBuddy(m_cells.at(cell));
            const int column = 2 + 2 * (at % kCellsPerLine);
            grid->addWidget(province, line + at / kCellsPerLine, column);
            grid->addWidget(m_cells.at(cell), line + at / kCellsPerLine, column + 1);
        }
        line += int(region.cells.size() + kCellsPerLine - 1) / kCellsPerLine;
    }
    grid->setColumnMinimumWidth(1, 110);
    layout->addLayout(grid);

    layout->addWidget(new QLabel(QStringLiteral("买家留言或卖家备注中指定的快递："), this));
    layout->addWidget(m_messagesFirst);
    layout->addWidget(m_provinceOnly);
    (m_panel.messagesFirst() ? m_messagesFirst : m_provinceOnly)->setChecked(true);
    layout->addWidget(m_save, 0, Qt::AlignRight);
    connect(m_save, &QPushButton::clicked, this, &ExpressPlanDialog::save);
    showCells();
}

QComboBox* ExpressPlanDialog::courierList(const QString& name, const QString& prompt,
                                          const QList<int>& cells) {
    auto* list = new QComboBox(this);
    list->addItems(m_state.templates);
    list->setPlaceholderText(prompt);
    list->setAccessibleName(name);
    list->setToolTip(name);
    list->setMinimumContentsLength(5);
    // activated, not a change of index: choosing what the list already shows is a choice too.
    connect(list, &QComboBox::textActivated, this, [this, cells](const QString& templateName) {
        m_panel.chooseTemplate(cells, templateName);
        showCells();
    });
    return list;
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
    // A list shows the courier its provinces share, else its prompt; a stored template that is
    // no longer installed still shows, as the plan keeps it.
    const auto show = [](QComboBox* list, const QString& templateName) {
        if (!templateName.isEmpty() && list->findText(templateName) < 0)
            list->addItem(templateName);
        list->setCurrentIndex(templateName.isEmpty() ? -1 : list->findText(templateName));
    };
    show(m_everywhere, m_panel.sharedTemplate(PlanPanel::allCells()));
    for (int i = 0; i < m_regions.size(); ++i)
        show(m_regions.at(i), m_panel.sharedTemplate(PlanPanel::regions().at(i).cells));
    for (int i = 0; i < m_cells.size(); ++i)
        show(m_cells.at(i), m_panel.templateOf(i));
}

} // namespace mldd
