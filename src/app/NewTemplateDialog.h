#pragma once

#include <QDialog>
#include <QSizeF>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;

namespace mldd {

/** What a new template starts from: a form picture of a paper size, or an installed template. */
struct NewTemplateChoice {
    QString name;
    QString picture;    // a picture file, or empty to start from `startFrom`
    QSizeF millimetres; // the paper the picture shows
    QString startFrom;  // an installed template
};

/** Asks for a new template's name and what it starts from. */
class NewTemplateDialog : public QDialog {
    Q_OBJECT

public:
    NewTemplateDialog(const QStringList& templates, QWidget* parent = nullptr);

    NewTemplateChoice choice() const;

    QLineEdit* nameField() const { return m_name; }
    QLineEdit* pictureField() const { return m_picture; }

private:
    void browse();

    QLineEdit* m_name;
    QRadioButton* m_fromPicture;
    QLineEdit* m_picture;
    QDoubleSpinBox* m_width;
    QDoubleSpinBox* m_height;
    QRadioButton* m_fromTemplate;
    QComboBox* m_templates;
};

} // namespace mldd
