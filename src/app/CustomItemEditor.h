#pragma once

#include "waybill/CustomItems.h"
#include "waybill/TemplateDocument.h"
#include "waybill/TextMetrics.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace mldd {

class BoxFields;
class ChoiceBox;

/** The designer's controls for one of a template's ten custom items; each change is undoable. */
class CustomItemEditor : public QWidget {
    Q_OBJECT

public:
    explicit CustomItemEditor(QWidget* parent = nullptr);

    /** Fills the controls from custom item `index` of `document`. */
    void showItem(TemplateDocument* document, int index);
    int index() const { return m_index; }

    QLineEdit* text() const { return m_text; }
    QCheckBox* printed() const { return m_printed; }
    QComboBox* layout() const { return m_layout; }
    QPushButton* autoSize() const { return m_autoSize; }

private:
    void refill();
    void edit(const std::function<void(CustomItem&)>& change, const QString& what);
    void fitToText();

    TemplateDocument* m_document = nullptr;
    int m_index = -1;
    TextMetrics m_metrics;
    QLineEdit* m_text;
    ChoiceBox* m_face;
    ChoiceBox* m_size;
    QComboBox* m_layout;
    QCheckBox* m_printed;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QPushButton* m_autoSize;
    BoxFields* m_box;
};

} // namespace mldd
