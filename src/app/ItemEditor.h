#pragma once

#include "waybill/TemplateDocument.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace mldd {

class BoxFields;
class ChoiceBox;

/**
 * The designer's controls for one layout item: print state, bold, face, size,
 * alignment, anchor, wrap and box. Each change is one undoable edit.
 */
class ItemEditor : public QWidget {
    Q_OBJECT

public:
    explicit ItemEditor(QWidget* parent = nullptr);

    /** Fills the controls from layout record `index` of `document`. */
    void showItem(TemplateDocument* document, int index);
    int index() const { return m_index; }

    QComboBox* printState() const { return m_printState; }
    QCheckBox* bold() const { return m_bold; }
    ChoiceBox* face() const { return m_face; }
    ChoiceBox* size() const { return m_size; }
    QComboBox* alignment() const { return m_alignment; }
    QComboBox* anchor() const { return m_anchor; }
    QComboBox* wrap() const { return m_wrap; }
    QLineEdit* wrapCount() const { return m_wrapCount; }
    BoxFields* boxFields() const { return m_box; }

private:
    void refill();
    void edit(const QString& record, const QString& what);
    void editField(int field, const QString& value, const QString& what);
    void choosePrintState(int choice);
    void chooseWrap(int choice);
    void takeWrapCount();
    void takeSize(const QString& typed);

    TemplateDocument* m_document = nullptr;
    int m_index = -1;
    QLabel* m_source;
    QComboBox* m_printState;
    QCheckBox* m_bold;
    ChoiceBox* m_face;
    QLabel* m_printingFace;
    ChoiceBox* m_size;
    QComboBox* m_alignment;
    QComboBox* m_anchor;
    QComboBox* m_wrap;
    QLineEdit* m_wrapCount;
    BoxFields* m_box;
    QFormLayout* m_form;
};

} // namespace mldd
