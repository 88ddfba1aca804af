#pragma once

#include <QLineEdit>

namespace mldd {

/** A box for a whole number: anything else typed or pasted is refused with its message and undone.
 */
class DigitField : public QLineEdit {
    Q_OBJECT

public:
    explicit DigitField(QWidget* parent = nullptr);

private:
    void check(const QString& text);

    QString m_accepted;
};

} // namespace mldd
