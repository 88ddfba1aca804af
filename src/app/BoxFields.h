#pragma once

#include <QRectF>
#include <QWidget>

class QDoubleSpinBox;

namespace mldd {

/** An item's box typed in millimetres: left, top, width and height. */
class BoxFields : public QWidget {
    Q_OBJECT

public:
    explicit BoxFields(QWidget* parent = nullptr);

    /** Shows `box` (twips) without reporting it. */
    void showBox(const QRectF& box);

    QDoubleSpinBox* field(int i) const { return m_fields[i]; }

signals:
    /** The seller typed a new box (twips). */
    void boxEdited(const QRectF& box);

private:
    QDoubleSpinBox* m_fields[4];
    QRectF m_box;
};

} // namespace mldd
