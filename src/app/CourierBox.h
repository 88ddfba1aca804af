#pragma once

#include "core/DataFolder.h"

#include <QComboBox>

namespace mldd {

/**
 * An order card's 快递单据: the installed templates to pick from. A typed name
 * that is no template is refused when the seller leaves the box, and the
 * order's own courier comes back.
 */
class CourierBox : public QComboBox {
    Q_OBJECT

public:
    /** `folder`: where the installed templates are. */
    explicit CourierBox(const DataFolder& folder, QWidget* parent = nullptr);

    /** Shows the order's courier, which stays acceptable even when it is not installed. */
    void showCourier(const QString& courier);

    void showPopup() override;

signals:
    /** The seller picked a courier in the list (or typed one and pressed Enter). */
    void chosen(const QString& courier);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void listInstalled();
    void checkTyped();

    DataFolder m_folder;
    QString m_stored;
};

} // namespace mldd
