#include "DigitField.h"

#include "NoticeBox.h"

#include "core/DigitsOnly.h"

namespace mldd {

DigitField::DigitField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &DigitField::check);
    // Text set by the window itself is what a refused edit returns to.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!refuseNonDigits(text))
            m_accepted = text;
    });
}

void DigitField::check(const QString& text) {
    const std::optional<Notice> refusal = refuseNonDigits(text);
    if (!refusal)
        return;
    setText(m_accepted);
    showNotice(this, *refusal);
}

} // namespace mldd
