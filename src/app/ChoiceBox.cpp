#include "ChoiceBox.h"

#include <QLineEdit>

namespace mldd {

ChoiceBox::ChoiceBox(const QStringList& choices, const QString& prompt, QWidget* parent)
    : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(choices);
    lineEdit()->setPlaceholderText(prompt);
    setAccessibleName(prompt);
    connect(this, &QComboBox::textActivated, this, &ChoiceBox::chosen);
    connect(lineEdit(), &QLineEdit::editingFinished, this,
            [this] { emit chosen(currentText().trimmed()); });
}

void ChoiceBox::showValue(const QString& value) {
    const QSignalBlocker blocker(this);
    setEditText(value);
}

} // namespace mldd
