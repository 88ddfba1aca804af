#include "NewTemplateDialog.h"
#include "FileChooser.h"

#include "waybill/FormPicture.h"
#include "waybill/PageModel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace mldd {

namespace {

QDoubleSpinBox* paperField(double millimetres, QWidget* parent) {
    auto* field = new QDoubleSpinBox(parent);
    field->setRange(20, 1000);
    field->setDecimals(1);
    field->setSuffix(QStringLiteral(" mm"));
    field->setValue(millimetres);
    return field;
}

} // namespace

NewTemplateDialog::NewTemplateDialog(const QStringList& templates, QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(this)),
      m_fromPicture(new QRadioButton(QStringLiteral("用快递单的扫描图或照片"), this)),
      m_picture(new QLineEdit(this)), m_width(paperField(230, this)),
      m_height(paperField(127, this)),
      m_fromTemplate(new QRadioButton(QStringLiteral("从已有的模版开始"), this)),
      m_templates(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("新建快递单据模版"));
    m_name->setPlaceholderText(QStringLiteral("例如：德邦"));
    m_picture->setPlaceholderText(QStringLiteral("PNG、JPEG 或 BMP 图片"));
    m_templates->addItems(templates);
    m_fromPicture->setChecked(true);
    m_fromTemplate->setEnabled(!templates.isEmpty());

    auto* browseButton = new QPushButton(QStringLiteral("浏览…"), this);
    connect(browseButton, &QPushButton::clicked, this, &NewTemplateDialog::browse);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(m_picture, 1);
    pictureRow->addWidget(browseButton);
    auto* paperRow = new QHBoxLayout;
    paperRow->addWidget(m_width);
    paperRow->addWidget(new QLabel(QStringLiteral("×"), this));
    paperRow->addWidget(m_height);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("模版名称"), m_name);
    form->addRow(m_fromPicture);
    form->addRow(QStringLiteral("图片"), pictureRow);
    form->addRow(QStringLiteral("纸张宽×高"), paperRow);
    form->addRow(m_fromTemplate);
    form->addRow(QStringLiteral("模版"), m_templates);
    // Rows of a line's own get their label as buddy; the others are named for screen readers.
    m_picture->setAccessibleName(QStringLiteral("图片"));
    m_width->setAccessibleName(QStringLiteral("纸张宽度"));
    m_height->setAccessibleName(QStringLiteral("纸张高度"));
    m_templates->setAccessibleName(QStringLiteral("已有的模版"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void NewTemplateDialog::browse() {
    const QString path =
        FileChooser::openFile(this, QStringLiteral("选择快递单图片"), QString(),
                              QStringLiteral("图片 (*.png *.jpg *.jpeg *.bmp);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    m_picture->setText(path);
    m_fromPicture->setChecked(true);
    // A scan that records its resolution tells its paper size.
    const auto picture = FormPicture::read(path);
    if (const QImage* image = std::get_if<QImage>(&picture)) {
        if (const auto paper = FormPicture::paperOf(*image)) {
            m_width->setValue(paper->width() / kTwipsPerMillimetre);
            m_height->setValue(paper->height() / kTwipsPerMillimetre);
        }
    }
}

NewTemplateChoice NewTemplateDialog::choice() const {
    NewTemplateChoice choice;
    choice.name = m_name->text().trimmed();
    if (m_fromPicture->isChecked()) {
        choice.picture = m_picture->text().trimmed();
        choice.millimetres = QSizeF(m_width->value(), m_height->value());
    } else {
        choice.startFrom = m_templates->currentText();
    }
    return choice;
}

} // namespace mldd
