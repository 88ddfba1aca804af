#include "CourierBox.h"

#include "NoticeBox.h"

#include "workbench/CourierList.h"

#include <QCompleter>
#include <QLineEdit>
#include <QTimer>

namespace mldd {

CourierBox::CourierBox(const DataFolder& folder, QWidget* parent)
    : QComboBox(parent), m_folder(folder) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setAccessibleName(QStringLiteral("快递单据"));
    setToolTip(QStringLiteral("快递单据：在列表里选择已安装的快递单"));
    lineEdit()->setPlaceholderText(QStringLiteral("快递单据"));
    listInstalled();
    connect(this, &QComboBox::textActivated, this, &CourierBox::chosen);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &CourierBox::checkTyped);
}

void CourierBox::listInstalled() {
    // Templates come and go (downloads, the designer): the list is read when it is used.
    const QStringList installed = CourierList::installed(m_folder);
    QStringList listed;
    for (int i = 0; i < count(); ++i)
        listed.append(itemText(i));
    if (listed == installed)
        return;
    const QString text = currentText();
    clear();
    addItems(installed);
    completer()->setCompletionMode(QCompleter::PopupCompletion);
    completer()->setFilterMode(Qt::MatchContains);
    setEditText(text);
}

void CourierBox::showCourier(const QString& courier) {
    m_stored = courier;
    setEditText(courier);
    lineEdit()->setCursorPosition(0);
}

void CourierBox::showPopup() {
    listInstalled();
    QComboBox::showPopup();
}

void CourierBox::focusInEvent(QFocusEvent* event) {
    listInstalled();
    QComboBox::focusInEvent(event);
}

void CourierBox::checkTyped() {
    const std::optional<Notice> refused =
        CourierList::refusal(CourierList::installed(m_folder), currentText(), m_stored);
    if (!refused)
        return;
    // Back to the order's courier before the card saves what it shows.
    setEditText(m_stored);
    // Told once the focus has settled, so that the box does not interrupt the move.
    QTimer::singleShot(0, this, [this, notice = *refused] { showNotice(this, notice); });
}

} // namespace mldd
