#pragma once

#include "waybill/TemplateDocument.h"

#include <QRectF>
#include <QWidget>

class QDoubleSpinBox;

namespace mldd {

/** An item's box typed in millimetres: left, top, width and height; each typed value is an edit. */
class BoxFields : public QWidget {
    Q_OBJECT

public:
    explicit BoxFields(QWidget* parent = nullptr);

    /** Shows the box of `ref` in `document`; disabled for an item without one. */
    void showItem(TemplateDocument* document, ItemRef ref);

    QDoubleSpinBox* field(int i) const { return m_fields[i]; }

private:
    void take(int field, double millimetres);

    QDoubleSpinBox* m_fields[4];
    TemplateDocument* m_document = nullptr;
    ItemRef m_ref;
    QRectF m_box;
};

} // namespace mldd
