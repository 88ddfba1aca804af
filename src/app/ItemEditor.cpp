#include "ItemEditor.h"

#include "BoxFields.h"
#include "ChoiceBox.h"
#include "NoticeBox.h"

#include "waybill/DesignerNotices.h"
#include "waybill/FontFaces.h"
#include "waybill/RecordFields.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace mldd {

namespace {

namespace F = RecordFields;

const QStringList kSizes{"5",  "5.5", "6.5", "7.5", "8",  "9",  "10", "10.5",
                         "11", "12",  "14",  "16",  "18", "20", "22", "24",
                         "26", "28",  "36",  "48",  "60", "72", "86"};
const QStringList kAnchorLabels{"LT -左上角对齐", "LB -左下角对齐", "LCH -左侧边居中",
                                "CC -中间居中",   "RT -右上角对齐", "RB -右下角对齐",
                                "RCH -右侧边居中"};
// The alignment list's order, left to right, and the codes the record keeps.
const QStringList kAlignmentCodes{"0", "2", "1"};
const QStringList kPrintStateCodes{F::kPrinted, F::kHidden, F::kNotPrinted};

} // namespace

ItemEditor::ItemEditor(QWidget* parent)
    : QWidget(parent), m_source(new QLabel(this)), m_printState(new QComboBox(this)),
      m_bold(new QCheckBox(QStringLiteral("加粗"), this)),
      m_face(new ChoiceBox(FontFaces::designerChoices(), QStringLiteral("字体类型"), this)),
      m_printingFace(new QLabel(this)),
      m_size(new ChoiceBox(kSizes, QStringLiteral("字体大小"), this)),
      m_alignment(new QComboBox(this)), m_anchor(new QComboBox(this)), m_wrap(new QComboBox(this)),
      m_wrapCount(new QLineEdit(this)), m_box(new BoxFields(this)) {
    m_printState->addItems(
        {QStringLiteral("打印"), QStringLiteral("隐藏"), QStringLiteral("不打印")});
    m_alignment->addItems({QStringLiteral("居左"), QStringLiteral("居中"), QStringLiteral("居右")});
    m_alignment->setPlaceholderText(QStringLiteral("对齐"));
    m_anchor->addItems(kAnchorLabels);
    m_wrap->addItems(
        {QStringLiteral("不换行"), QStringLiteral("长度换行"), QStringLiteral("字数换行")});
    m_wrapCount->setPlaceholderText(QStringLiteral("换行字数"));
    m_source->setWordWrap(true);
    m_printingFace->setWordWrap(true);
    m_printingFace->setStyleSheet(QStringLiteral("color: gray;"));

    auto* form = m_form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("数据来源"), m_source);
    form->addRow(QStringLiteral("打印状态"), m_printState);
    form->addRow(QString(), m_bold);
    form->addRow(QStringLiteral("字体"), m_face);
    form->addRow(QString(), m_printingFace);
    form->addRow(QStringLiteral("大小"), m_size);
    form->addRow(QStringLiteral("对齐"), m_alignment);
    form->addRow(QStringLiteral("定位方式"), m_anchor);
    form->addRow(QStringLiteral("换行"), m_wrap);
    form->addRow(QStringLiteral("换行字数"), m_wrapCount);
    form->addRow(m_box);

    connect(m_printState, &QComboBox::activated, this, &ItemEditor::choosePrintState);
    connect(m_bold, &QCheckBox::clicked, this, [this](bool on) {
        editField(F::kBold, on ? QStringLiteral("Y") : QStringLiteral("N"),
                  on ? QStringLiteral("加粗") : QStringLiteral("不加粗"));
    });
    connect(m_face, &ChoiceBox::chosen, this, [this](const QString& face) {
        if (!face.isEmpty())
            editField(F::kFace, face, QStringLiteral("字体"));
    });
    connect(m_size, &ChoiceBox::chosen, this, &ItemEditor::takeSize);
    connect(m_alignment, &QComboBox::activated, this, [this](int choice) {
        editField(F::kAlignment, kAlignmentCodes.value(choice), QStringLiteral("对齐"));
    });
    connect(m_anchor, &QComboBox::activated, this, [this](int choice) {
        const QString code = kAnchorLabels.value(choice).section(u' ', 0, 0);
        edit(F::withAnchor(m_document->record(m_index).text, code), QStringLiteral("定位方式"));
    });
    connect(m_wrap, &QComboBox::activated, this, &ItemEditor::chooseWrap);
    connect(m_wrapCount, &QLineEdit::editingFinished, this, &ItemEditor::takeWrapCount);
}

void ItemEditor::showItem(TemplateDocument* document, int index) {
    m_document = document;
    m_index = index;
    refill();
}

void ItemEditor::refill() {
    const ItemRecord& record = m_document->record(m_index);
    const QStringList fields = record.text.split(ItemRecord::kFieldSeparator);
    const auto field = [&](int i) { return fields.value(i); };
    const QList<QWidget*> controls{m_printState, m_bold,   m_face, m_size,
                                   m_alignment,  m_anchor, m_wrap, m_wrapCount};
    std::vector<QSignalBlocker> blockers;
    blockers.reserve(controls.size());
    for (QWidget* control : controls)
        blockers.emplace_back(control);

    m_source->setText(record.caption.isEmpty() ? QStringLiteral("（无）") : record.caption);
    m_source->setToolTip(record.source);
    m_printState->setCurrentIndex(
        std::max(0, int(kPrintStateCodes.indexOf(field(F::kPrintState)))));
    m_bold->setChecked(record.bold);
    m_face->showValue(field(F::kFace));
    m_printingFace->setText(QStringLiteral("打印字体：") +
                            FontFaces::printingFace(field(F::kFace)));
    m_size->showValue(record.sizeText);
    m_alignment->setCurrentIndex(int(kAlignmentCodes.indexOf(field(F::kAlignment))));
    const QString code = field(F::kBox).section(u'^', 0, 0);
    int anchor = -1;
    for (int i = 0; i < kAnchorLabels.size(); ++i)
        if (kAnchorLabels[i].section(u' ', 0, 0) == code)
            anchor = i;
    m_anchor->setCurrentIndex(anchor);
    m_wrap->setCurrentIndex(int(record.wrap));
    m_form->setRowVisible(m_wrapCount, record.wrap == WrapMode::Count);
    m_wrapCount->setText(record.wrap == WrapMode::Count ? QString::number(record.wrapCount)
                                                        : QString());
    m_box->showItem(m_document, ItemRef::layout(m_index));
}

void ItemEditor::edit(const QString& record, const QString& what) {
    m_document->setValue(ItemRef::layout(m_index), record,
                         m_document->caption(ItemRef::layout(m_index)) + QStringLiteral("：") +
                             what);
    refill();
}

void ItemEditor::editField(int field, const QString& value, const QString& what) {
    if (F::field(m_document->record(m_index).text, field) == value)
        return;
    edit(F::withField(m_document->record(m_index).text, field, value), what);
}

void ItemEditor::choosePrintState(int choice) {
    if (choice == 0) {
        editField(F::kPrintState, F::kPrinted, QStringLiteral("打印"));
        return;
    }
    const bool hiding = choice == 1;
    if (!showNotice(this, hiding ? DesignerNotices::confirmHidden()
                                 : DesignerNotices::confirmNotPrinted())) {
        refill();
        return;
    }
    editField(F::kPrintState, hiding ? F::kHidden : F::kNotPrinted, m_printState->itemText(choice));
}

void ItemEditor::chooseWrap(int choice) {
    const auto mode = WrapMode(choice);
    if (mode == WrapMode::Count) {
        // Nothing is written until the seller gives the characters per line.
        m_form->setRowVisible(m_wrapCount, true);
        m_wrapCount->setFocus();
        return;
    }
    const double width = m_document->record(m_index).width.value_or(0);
    editField(F::kWrap, F::wrapField(mode, width), m_wrap->itemText(choice));
}

void ItemEditor::takeWrapCount() {
    if (m_wrap->currentIndex() != int(WrapMode::Count))
        return;
    const std::optional<int> count = F::wrapCount(m_wrapCount->text());
    if (!count) {
        showNotice(this, DesignerNotices::badWrapCount());
        return;
    }
    editField(F::kWrap, F::wrapField(WrapMode::Count, 0, *count), QStringLiteral("字数换行"));
}

void ItemEditor::takeSize(const QString& typed) {
    if (typed == m_document->record(m_index).sizeText)
        return;
    bool ok = false;
    const double size = typed.toDouble(&ok);
    if (!ok || !isPointSize(size)) {
        showNotice(this, DesignerNotices::badSize(typed));
        refill();
        return;
    }
    editField(F::kSize, typed, QStringLiteral("大小"));
}

} // namespace mldd
