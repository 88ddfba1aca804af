#include "CustomItemEditor.h"

#include "BoxFields.h"
#include "ChoiceBox.h"
#include "NoticeBox.h"

#include "waybill/DesignerNotices.h"
#include "waybill/FontFaces.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace mldd {

namespace {

const QStringList kSizes{"6.75", "7.5",   "9",  "10.5",  "12", "14.25",
                         "15",   "15.75", "18", "21.75", "24"};
// The layout list, in its order, and the alignment each entry gives.
const QList<Alignment> kLayouts{Alignment::Left, Alignment::Right, Alignment::Centre};

} // namespace

CustomItemEditor::CustomItemEditor(QWidget* parent)
    : QWidget(parent), m_text(new QLineEdit(this)),
      m_face(new ChoiceBox(FontFaces::designerChoices(), QStringLiteral("字体类型"), this)),
      m_size(new ChoiceBox(kSizes, QStringLiteral("字体大小"), this)),
      m_layout(new QComboBox(this)), m_printed(new QCheckBox(QStringLiteral("打印"), this)),
      m_bold(new QCheckBox(QStringLiteral("加粗"), this)),
      m_italic(new QCheckBox(QStringLiteral("斜体"), this)),
      m_underline(new QCheckBox(QStringLiteral("下划线"), this)),
      m_autoSize(new QPushButton(QStringLiteral("自动尺寸"), this)), m_box(new BoxFields(this)) {
    m_text->setObjectName(QStringLiteral("Text_zdy_neirong"));
    m_text->setPlaceholderText(QStringLiteral("自定义打印内容"));
    m_layout->addItems({QStringLiteral("0-左"), QStringLiteral("1-右"), QStringLiteral("2-中")});
    m_autoSize->setToolTip(QStringLiteral("让方框正好容下文字"));

    auto* boxes = new QGridLayout;
    boxes->addWidget(m_printed, 0, 0);
    boxes->addWidget(m_bold, 0, 1);
    boxes->addWidget(m_italic, 1, 0);
    boxes->addWidget(m_underline, 1, 1);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("内容"), m_text);
    form->addRow(QStringLiteral("字体"), m_face);
    form->addRow(QStringLiteral("大小"), m_size);
    form->addRow(QStringLiteral("布局"), m_layout);
    form->addRow(boxes);
    form->addRow(m_autoSize);
    form->addRow(m_box);

    connect(m_text, &QLineEdit::editingFinished, this, [this] {
        const QString text = CustomItem::storable(m_text->text());
        edit([&](CustomItem& item) { item.text = text; }, QStringLiteral("内容"));
    });
    connect(m_face, &ChoiceBox::chosen, this, [this](const QString& face) {
        if (!face.isEmpty())
            edit([&](CustomItem& item) { item.font.family = face; }, QStringLiteral("字体"));
    });
    connect(m_size, &ChoiceBox::chosen, this, [this](const QString& typed) {
        bool ok = false;
        const double size = typed.toDouble(&ok);
        if (!ok || !isPointSize(size)) {
            showNotice(this, DesignerNotices::badSize(typed));
            refill();
            return;
        }
        edit([&](CustomItem& item) { item.font.pointSize = size; }, QStringLiteral("大小"));
    });
    connect(m_layout, &QComboBox::activated, this, [this](int choice) {
        edit([&](CustomItem& item) { item.alignment = kLayouts.value(choice); },
             QStringLiteral("布局"));
    });
    const auto tick = [this](QCheckBox* box, bool CustomItem::*flag) {
        connect(box, &QCheckBox::clicked, this, [this, box, flag](bool on) {
            edit([&](CustomItem& item) { item.*flag = on; }, box->text());
        });
    };
    tick(m_printed, &CustomItem::printed);
    const auto style = [this](QCheckBox* box, bool FontSpec::*flag) {
        connect(box, &QCheckBox::clicked, this, [this, box, flag](bool on) {
            edit([&](CustomItem& item) { item.font.*flag = on; }, box->text());
        });
    };
    style(m_bold, &FontSpec::bold);
    style(m_italic, &FontSpec::italic);
    style(m_underline, &FontSpec::underline);
    connect(m_autoSize, &QPushButton::clicked, this, &CustomItemEditor::fitToText);
}

void CustomItemEditor::showItem(TemplateDocument* document, int index) {
    m_document = document;
    m_index = index;
    refill();
}

void CustomItemEditor::refill() {
    const CustomItem& item = m_document->customItem(m_index);
    const QList<QWidget*> controls{m_text,    m_face, m_size,   m_layout,
                                   m_printed, m_bold, m_italic, m_underline};
    std::vector<QSignalBlocker> blockers;
    blockers.reserve(controls.size());
    for (QWidget* control : controls)
        blockers.emplace_back(control);
    m_text->setText(item.text);
    m_face->showValue(item.font.family);
    m_size->showValue(QString::number(item.font.pointSize));
    m_layout->setCurrentIndex(int(kLayouts.indexOf(item.alignment)));
    m_printed->setChecked(item.printed);
    m_bold->setChecked(item.font.bold);
    m_italic->setChecked(item.font.italic);
    m_underline->setChecked(item.font.underline);
    m_box->showItem(m_document, ItemRef::custom(m_index));
}

void CustomItemEditor::edit(const std::function<void(CustomItem&)>& change, const QString& what) {
    CustomItem item = m_document->customItem(m_index);
    change(item);
    m_document->setValue(ItemRef::custom(m_index), item,
                         m_document->caption(ItemRef::custom(m_index)) + QStringLiteral("：") +
                             what);
    refill();
}

void CustomItemEditor::fitToText() {
    const CustomItem& item = m_document->customItem(m_index);
    FontSpec font = item.font;
    font.family = FontFaces::printingFace(font.family);
    // A custom item's text is one line: the file holds each item on one.
    const QRectF box(item.left, item.top, std::ceil(m_metrics.width(font, item.text)) + 1,
                     std::ceil(m_metrics.lineHeight(font)));
    m_document->setBoxes({{ItemRef::custom(m_index), box}},
                         QStringLiteral("自动尺寸 ") +
                             m_document->caption(ItemRef::custom(m_index)));
    refill();
}

} // namespace mldd
