#include "SenderPicker.h"

#include "NoticeBox.h"

#include "workbench/ProfileEditing.h"
#include "workbench/SenderChoice.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace mldd {

SenderPicker::SenderPicker(QWidget* parent)
    : QDialog(parent), m_market(new QComboBox(this)), m_account(new QLineEdit(this)),
      m_confirm(new QPushButton(QStringLiteral("确定"), this)) {
    setWindowTitle(QStringLiteral("选择发件人ID"));
    m_market->addItems(ProfileEditing::kMarketplaces);
    m_account->setMaxLength(50);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("平台"), m_market);
    form->addRow(QStringLiteral("我的ID"), m_account);
    form->addRow(QString(), m_confirm);
    m_confirm->setDefault(true);
    connect(m_confirm, &QPushButton::clicked, this, &SenderPicker::confirm);
}

void SenderPicker::confirm() {
    if (const auto refused = SenderChoice::checkPickedId(m_account->text())) {
        showNotice(this, *refused);
        return;
    }
    m_picked = ProfileEditing::senderId(m_market->currentText(), m_account->text());
    accept();
}

} // namespace mldd
