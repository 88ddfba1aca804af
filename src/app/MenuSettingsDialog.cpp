#include "MenuSettingsDialog.h"

#include "NoticeBox.h"

#include "core/MainState.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace mldd {

MenuSettingsDialog::MenuSettingsDialog(MainState& state, const QStringList& captions, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setWindowTitle(QStringLiteral("菜单设置"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("勾选的菜单显示在菜单和工具栏上："), this));
    auto* grid = new QGridLayout;
    for (int entry = 0; entry < MenuVisibility::kEntries; ++entry) {
        auto* box = new QCheckBox(captions.value(entry), this);
        box->setChecked(state.menu.isShown(entry));
        grid->addWidget(box, entry / 3, entry % 3);
        m_boxes.append(box);
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("保存"));
    connect(buttons, &QDialogButtonBox::accepted, this, &MenuSettingsDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void MenuSettingsDialog::save() {
    MenuVisibility menu = m_state.menu;
    for (int entry = 0; entry < m_boxes.size(); ++entry)
        menu.setShown(entry, m_boxes.at(entry)->isChecked());
    if (const auto failed = m_state.saveMenu(menu)) {
        showNotice(this, *failed);
        return;
    }
    accept();
}

} // namespace mldd
