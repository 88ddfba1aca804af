#include "DatabaseSettingsDialog.h"

#include "NoticeBox.h"

#include "core/StoreAddress.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mldd {

DatabaseSettingsDialog::DatabaseSettingsDialog(const QString& message, const QString& address, QWidget* parent)
    : QDialog(parent), m_message(new QLabel(message, this)),
      m_address(new QLineEdit(address, this)) {
    setWindowTitle(QStringLiteral("数据库设置"));
    m_message->setWordWrap(true);
    auto* caption = new QLabel(QStringLiteral("共用的订单数据库地址(&D)："), this);
    caption->setBuddy(m_address);
    m_address->setAccessibleName(QStringLiteral("共用的订单数据库地址"));
    m_address->setPlaceholderText(QStringLiteral("postgresql://用户:密码@服务器/数据库"));
    auto* hint = new QLabel(QStringLiteral("留空就用这台电脑自己的订单数据库。"), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("重试"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("退出"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &DatabaseSettingsDialog::retry);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(caption);
    layout->addWidget(m_address);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    resize(560, sizeHint().height());
}

QString DatabaseSettingsDialog::address() const {
    return m_address->text().trimmed();
}

void DatabaseSettingsDialog::retry() {
    if (const std::optional<Notice> refused = StoreAddress::checkChoice(address())) {
        showNotice(this, *refused);
        return;
    }
    accept();
}

std::optional<QString> DatabaseSettingsDialog::ask(const QString& message, const QString& address) {
    DatabaseSettingsDialog dialog(message, address);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.address();
}

} // namespace mldd
