#pragma once

#include <QComboBox>

namespace mldd {

/** An editable list of the designer's: a value is taken when chosen or when typing ends. */
class ChoiceBox : public QComboBox {
    Q_OBJECT

public:
    ChoiceBox(const QStringList& choices, const QString& prompt, QWidget* parent = nullptr);

    /** Shows `value` without taking it. */
    void showValue(const QString& value);

signals:
    void chosen(const QString& value);
};

} // namespace mldd
