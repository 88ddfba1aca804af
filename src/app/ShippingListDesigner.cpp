#include "ShippingListDesigner.h"

#include "NoticeBox.h"
#include "WaybillPreview.h"

#include "core/MainState.h"
#include "shiplist/ComposeShippingList.h"
#include "waybill/SampleOrder.h"
#include "workbench/ProfileEditing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace mldd {

namespace {

const QStringList kTopItems = QStringLiteral("订单编号 订单条码 快递单号 快递条码 买家姓名 买家ID "
                                             "买家电话 买家邮编 收货地址 发货日期")
                                  .split(u' ');
const QStringList kGoodsItems = QStringLiteral("商品标题 商品内容 合计 总计人民币大写").split(u' ');
const QStringList kSellerItems = QStringLiteral("卖家姓名 卖家ID 卖家联系电话").split(u' ');

const QString kTitle = QStringLiteral("标题");
const QString kGreeting = QStringLiteral("卖家寄语");
const QString kCurrentMark = QStringLiteral("background-color: rgb(200,224,255);");

// The order the preview shows: this sender's newest, else the list's first, else an example.
Order sampleOrder(const MainState& state, const QString& senderId, bool* real) {
    OrderStore store(*state.database);
    const std::optional<qint64> own = store.newestOfSender(senderId);
    const QList<qint64> listed = state.cursor.pageIds(1);
    const qint64 id = own ? *own : listed.isEmpty() ? 0 : listed.first();
    if (std::optional<Order> order = store.byId(id)) {
        *real = true;
        order->myId = senderId;
        return *order;
    }
    *real = false;
    Order example = SampleOrder::order();
    example.myId = senderId;
    return example;
}

} // namespace

ShippingListDesigner::ShippingListDesigner(MainState& state, const QString& senderId,
                                           QWidget* parent)
    : QDialog(parent), m_state(state), m_senderId(senderId), m_itemList(new QComboBox(this)),
      m_font(new QComboBox(this)), m_size(new QComboBox(this)), m_alignment(new QComboBox(this)),
      m_bold(new QCheckBox(QStringLiteral("粗体"), this)),
      m_italic(new QCheckBox(QStringLiteral("斜体"), this)),
      m_underline(new QCheckBox(QStringLiteral("下划线"), this)),
      m_save(new QPushButton(QStringLiteral("保存"), this)), m_preview(new WaybillPreview(this)),
      m_previewCaption(new QLabel(this)) {
    setWindowTitle(QStringLiteral("【") + senderId + QStringLiteral("】发货单样单编辑"));
    for (const SenderProfile& profile : state.profiles)
        if (profile.myIdh == senderId) {
            // The profile's own values stand where the design still has its placeholders.
            m_design = FaHuoSet(profile.faHuoSet).withSender(profile);
            break;
        }
    bool real = false;
    m_sample = sampleOrder(state, senderId, &real);
    m_previewCaption->setText(real ? QStringLiteral("预览：订单 ") + m_sample.orderSign
                                   : QStringLiteral("预览：示例订单（这个发件人还没有订单）"));

    auto* left = new QVBoxLayout;
    left->addWidget(createItemPanel());
    left->addWidget(createStylePanel());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addWidget(close);
    left->addStretch();
    left->addLayout(buttons);

    auto* right = new QVBoxLayout;
    right->addWidget(m_previewCaption);
    m_preview->setFixedSize(400, 566); // A4 proportions
    right->addWidget(m_preview);
    right->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    connect(m_save, &QPushButton::clicked, this, &ShippingListDesigner::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    selectItem(kTitle);
    showPreview();
}

QCheckBox* ShippingListDesigner::addCheck(const QString& item) {
    auto* box = new QCheckBox(item, this);
    const std::optional<QStringList> fields = m_design.item(item);
    // An item the stored design lacks, or holds broken, prints hidden and cannot be changed.
    box->setEnabled(fields.has_value());
    box->setChecked(fields && fields->at(FaHuoSet::Shown) == u"1");
    connect(box, &QCheckBox::clicked, this, [this, item](bool shown) {
        selectItem(item);
        setField(FaHuoSet::Shown, shown ? QStringLiteral("1") : QStringLiteral("0"));
    });
    m_controls.insert(item, box);
    return box;
}

QLineEdit* ShippingListDesigner::addText(const QString& item) {
    auto* text = new QLineEdit(this);
    text->setAccessibleName(item + QStringLiteral("的文字"));
    const std::optional<QStringList> fields = m_design.item(item);
    text->setEnabled(fields.has_value());
    text->setText(fields ? fields->at(FaHuoSet::Text) : QString());
    // Changed by typing, pasting or an assistive tool alike.
    connect(text, &QLineEdit::textChanged, this, [this, item](const QString& value) {
        m_design.setItemField(item, FaHuoSet::Text, value);
        showPreview();
    });
    m_texts.insert(item, text);
    return text;
}

QWidget* ShippingListDesigner::createItemPanel() {
    auto* panel =
        new QGroupBox(QStringLiteral("发货单上的项目（勾选的打印；点项目名设置它的字体）"), this);
    auto* grid = new QGridLayout(panel);
    int row = 0;
    grid->addWidget(addCheck(kTitle), row, 0);
    grid->addWidget(addText(kTitle), row++, 1, 1, 3);
    for (int i = 0; i < kTopItems.size(); ++i)
        grid->addWidget(addCheck(kTopItems.at(i)), row + i / 4, i % 4);
    row += int(kTopItems.size() + 3) / 4;

    auto* goods = new QHBoxLayout;
    goods->addWidget(new QLabel(QStringLiteral("商品表格："), panel));
    for (const QString& item : kGoodsItems) {
        auto* button = new QPushButton(item, panel);
        button->setFlat(true);
        button->setEnabled(m_design.item(item).has_value());
        connect(button, &QPushButton::clicked, this, [this, item] { selectItem(item); });
        m_controls.insert(item, button);
        goods->addWidget(button);
    }
    goods->addStretch();
    grid->addLayout(goods, row++, 0, 1, 4);

    for (const QString& item : kSellerItems + QStringList{kGreeting}) {
        grid->addWidget(addCheck(item), row, 0);
        grid->addWidget(addText(item), row++, 1, 1, 3);
    }
    grid->addWidget(addCheck(QStringLiteral("买家留言")), row, 0);
    grid->addWidget(addCheck(QStringLiteral("卖家备注")), row, 1);
    return panel;
}

QWidget* ShippingListDesigner::createStylePanel() {
    auto* panel = new QGroupBox(QStringLiteral("字体"), this);
    auto* form = new QFormLayout(panel);
    m_itemList->addItems(FaHuoSet::itemNames());
    m_font->addItems(FaHuoSet::fontChoices(QFontDatabase::families()));
    m_font->setPlaceholderText(QStringLiteral("字体类型"));
    m_size->addItems(FaHuoSet::sizeChoices());
    m_size->setPlaceholderText(QStringLiteral("字体大小"));
    m_alignment->addItems(FaHuoSet::alignments());
    m_alignment->setPlaceholderText(QStringLiteral("对齐"));
    form->addRow(QStringLiteral("项目"), m_itemList);
    form->addRow(QStringLiteral("字体类型"), m_font);
    form->addRow(QStringLiteral("字体大小"), m_size);
    form->addRow(QStringLiteral("对齐"), m_alignment);
    auto* styles = new QHBoxLayout;
    styles->addWidget(m_bold);
    styles->addWidget(m_italic);
    styles->addWidget(m_underline);
    styles->addStretch();
    form->addRow(QString(), styles);

    connect(m_itemList, &QComboBox::textActivated, this, &ShippingListDesigner::selectItem);
    connect(m_font, &QComboBox::textActivated, this,
            [this](const QString& font) { setField(FaHuoSet::FontName, font); });
    connect(m_size, &QComboBox::textActivated, this,
            [this](const QString& size) { setField(FaHuoSet::FontSize, size); });
    connect(m_alignment, &QComboBox::textActivated, this,
            [this](const QString& alignment) { setField(FaHuoSet::Alignment, alignment); });
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    connect(m_bold, &QCheckBox::clicked, this,
            [this, flag](bool on) { setField(FaHuoSet::Bold, flag(on)); });
    connect(m_italic, &QCheckBox::clicked, this,
            [this, flag](bool on) { setField(FaHuoSet::Italic, flag(on)); });
    connect(m_underline, &QCheckBox::clicked, this,
            [this, flag](bool on) { setField(FaHuoSet::Underline, flag(on)); });
    return panel;
}

void ShippingListDesigner::selectItem(const QString& item) {
    if (QAbstractButton* previous = m_controls.value(m_current))
        previous->setStyleSheet(QString());
    m_current = item;
    if (QAbstractButton* control = m_controls.value(item))
        control->setStyleSheet(kCurrentMark);
    m_itemList->setCurrentText(item);
    const std::optional<QStringList> fields = m_design.item(item);
    for (QWidget* style : std::initializer_list<QWidget*>{m_font, m_size, m_alignment, m_bold,
                                                          m_italic, m_underline})
        style->setEnabled(fields.has_value());
    if (!fields)
        return;
    const QString font = fields->at(FaHuoSet::FontName);
    if (m_font->findText(font) < 0)
        m_font->insertItem(0, font); // a face this machine lacks still shows what is stored
    m_font->setCurrentText(font);
    const int size = m_size->findText(fields->at(FaHuoSet::FontSize));
    m_size->setCurrentIndex(size);
    m_alignment->setCurrentIndex(m_alignment->findText(fields->at(FaHuoSet::Alignment)));
    m_bold->setChecked(fields->at(FaHuoSet::Bold) == u"1");
    m_italic->setChecked(fields->at(FaHuoSet::Italic) == u"1");
    m_underline->setChecked(fields->at(FaHuoSet::Underline) == u"1");
    showItemStyle(item);
}

void ShippingListDesigner::setField(FaHuoSet::Field field, const QString& value) {
    if (!m_design.setItemField(m_current, field, value))
        return;
    showItemStyle(m_current);
    showPreview();
}

void ShippingListDesigner::showItemStyle(const QString& item) {
    QAbstractButton* control = m_controls.value(item);
    const std::optional<QStringList> fields = m_design.item(item);
    if (!control || !fields)
        return;
    QFont font = this->font();
    font.setFamily(fields->at(FaHuoSet::FontName));
    font.setBold(fields->at(FaHuoSet::Bold) == u"1");
    font.setItalic(fields->at(FaHuoSet::Italic) == u"1");
    font.setUnderline(fields->at(FaHuoSet::Underline) == u"1");
    control->setFont(font);
}

void ShippingListDesigner::showPreview() {
    const ShippingListPages pages = ComposeShippingList(
        m_sample, m_design, ShippingPaper::fromRecord(m_state.printDefaults.paperRecord),
        QDate::currentDate(), m_metrics);
    if (pages.pages.isEmpty())
        m_preview->showPage(std::nullopt, pages.stopped ? pages.stopped->text : QString());
    else
        m_preview->showPage(pages.pages.first());
}

void ShippingListDesigner::save() {
    if (const std::optional<FaHuoSet::Refusal> refusal = m_design.saveRefusal()) {
        showNotice(this, refusal->notice);
        if (QLineEdit* text = m_texts.value(refusal->item)) {
            text->setFocus();
            text->selectAll();
        }
        return;
    }
    if (const auto failed =
            ProfileEditing::saveDesign(m_state, m_senderId, m_design.value(), DefaultFaHuoSet)) {
        showNotice(this, *failed);
        return;
    }
    showNotice(this, FaHuoSet::savedNotice());
    emit saved();
}

} // namespace mldd
