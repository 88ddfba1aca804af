#include "BoxFields.h"

#include "waybill/PageModel.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

namespace mldd {

BoxFields::BoxFields(QWidget* parent) : QWidget(parent) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const QStringList captions{QStringLiteral("左"), QStringLiteral("上"), QStringLiteral("宽"),
                               QStringLiteral("高")};
    for (int i = 0; i < 4; ++i) {
        auto* field = new QDoubleSpinBox(this);
        field->setRange(i < 2 ? -100 : 1, 1000);
        field->setDecimals(1);
        field->setSingleStep(0.5);
        field->setSuffix(QStringLiteral(" mm"));
        field->setKeyboardTracking(false);
        auto* label = new QLabel(captions[i], this);
        label->setBuddy(field);
        layout->addWidget(label, i / 2, (i % 2) * 2);
        layout->addWidget(field, i / 2, (i % 2) * 2 + 1);
        m_fields[i] = field;
        connect(field, &QDoubleSpinBox::valueChanged, this, [this, i](double mm) { take(i, mm); });
    }
}

void BoxFields::showItem(TemplateDocument* document, ItemRef ref) {
    m_document = document;
    m_ref = ref;
    const std::optional<QRectF> box = document->box(ref);
    setEnabled(box.has_value());
    if (!box)
        return;
    m_box = *box;
    const double values[4]{box->left(), box->top(), box->width(), box->height()};
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker blocker(m_fields[i]);
        m_fields[i]->setValue(values[i] / kTwipsPerMillimetre);
    }
}

void BoxFields::take(int field, double millimetres) {
    // Only the typed value changes: the others keep their twips, unrounded.
    QRectF box = m_box;
    const double twips = millimetres * kTwipsPerMillimetre;
    if (field == 0)
        box.moveLeft(twips);
    else if (field == 1)
        box.moveTop(twips);
    else if (field == 2)
        box.setWidth(twips);
    else
        box.setHeight(twips);
    m_document->setBoxes({{m_ref, box}}, QStringLiteral("位置 ") + m_document->caption(m_ref));
}

} // namespace mldd
