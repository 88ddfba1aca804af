#include "OrderRowWidget.h"

#include "ContentsNamesPanel.h"
#include "CourierBox.h"
#include "PagedPreview.h"
#include "SenderPicker.h"
#include "WaybillPreview.h"

#include "address/PastedReceiver.h"
#include "address/PlaceTable.h"
#include "core/ErrorLog.h"
#include "core/MaskedReceiver.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mldd {

namespace {

const QString kOtherSender = QStringLiteral("其他ID...");

QString markStyle(int sign) {
    switch (OrderMarks::colourOf(sign)) {
    case OrderMarks::Colour::Green:
        return QStringLiteral("background-color: rgb(0,192,0);");
    case OrderMarks::Colour::Silver:
        return QStringLiteral("background-color: rgb(192,192,192);");
    case OrderMarks::Colour::White:
        break;
    }
    return QStringLiteral("background-color: rgb(255,255,255);");
}

// Goods are stored with CR LF line ends; the edit box works with LF.
QString toEditorText(QString goods) {
    return goods.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString fromEditorText(QString text) {
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace

OrderRowWidget::OrderRowWidget(const DataFolder& folder, std::shared_ptr<const PlaceTable> places,
                               QWidget* parent)
    : QFrame(parent), m_folder(folder), m_places(std::move(places)), m_select(new QCheckBox(this)),
      m_goods(new QPlainTextEdit(this)),
      m_waybillMark(new QPushButton(QStringLiteral("快递单"), this)),
      m_listMark(new QPushButton(QStringLiteral("发货单"), this)),
      m_split(new QPushButton(QStringLiteral("拆分"), this)),
      m_maskedMark(new QLabel(MaskedReceiver::kMark, this)),
      m_confirm(new QPushButton(QStringLiteral("核对"), this)),
      m_delete(new QPushButton(QStringLiteral("删除"), this)), m_sender(new QComboBox(this)),
      m_recognize(new QPushButton(QStringLiteral("识别"), this)),
      m_contents(new QPushButton(QStringLiteral("▼"), this)),
      m_courier(new CourierBox(folder, this)),
      m_pages(new PagedPreview(WaybillPreview::kCardSize, this)), m_preview(m_pages->page()) {
    setFrameShape(QFrame::StyledPanel);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_select->setAccessibleName(QStringLiteral("选中"));
    m_split->setToolTip(QStringLiteral("点击拆分订单"));
    m_maskedMark->setStyleSheet(QStringLiteral("color: rgb(192,0,0); font-weight: bold;"));
    m_maskedMark->setToolTip(
        QStringLiteral("网店隐藏了收件人的一部分：补全后才能打印快递单，发货单照常打印"));
    m_confirm->setToolTip(QStringLiteral("复制核对信息，发给买家确认"));
    m_recognize->setToolTip(
        QStringLiteral("把地址框里粘贴的“姓名，电话，电话，地址，邮编”分到各个框里"));
    m_contents->setToolTip(QStringLiteral("备选件名"));
    m_contents->setAccessibleName(QStringLiteral("备选件名"));
    m_contents->setFixedWidth(24);
    m_goods->setPlaceholderText(QStringLiteral("商品"));
    m_goods->setAccessibleName(QStringLiteral("商品"));
    m_goods->setTabChangesFocus(true);
    // Three goods lines show at once.
    m_goods->setFixedHeight(m_goods->fontMetrics().lineSpacing() * 3 + 14);
    for (QPushButton* button :
         {m_waybillMark, m_listMark, m_confirm, m_delete, m_split, m_recognize})
        button->setMaximumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 20);
    m_sender->setAccessibleName(QStringLiteral("我的ID"));
    m_sender->setToolTip(QStringLiteral("我的ID（发件人）"));
    m_sender->setMinimumWidth(130);

    // Four lines in reading order, each field as wide as a long text of its kind, so that a
    // card fits a 1024-pixel screen beside its waybill and shows every field whole there.
    auto* top = new QHBoxLayout;
    top->addWidget(m_select);
    top->addWidget(m_maskedMark);
    top->addWidget(addField(&Order::orderSign, QStringLiteral("订单编号"),
                            QStringLiteral("微信小店:3720241205123456789012")),
                   3);
    top->addWidget(m_sender, 2);
    top->addWidget(
        addField(&Order::buyId, QStringLiteral("买家ID"), QStringLiteral("xiaohong_lover_88")), 3);
    top->addWidget(
        addField(&Order::buyName, QStringLiteral("收货人"), QStringLiteral("欧阳小红红")), 1);
    top->addWidget(addField(&Order::buyZipcode, QStringLiteral("邮编"), QStringLiteral("5500250")));

    auto* place = new QHBoxLayout;
    place->addWidget(
        addField(&Order::buyPhone1, QStringLiteral("电话1"), QStringLiteral("138123456789")), 2);
    place->addWidget(
        addField(&Order::buyPhone2, QStringLiteral("电话2"), QStringLiteral("0851-85612345")), 2);
    place->addWidget(
        addField(&Order::buyAddressSheng, QStringLiteral("省"), QStringLiteral("新疆维吾尔自治区")),
        2);
    place->addWidget(
        addField(&Order::buyAddressShi, QStringLiteral("市"), QStringLiteral("伊犁哈萨克自治州")),
        2);
    place->addWidget(
        addField(&Order::buyAddressXian, QStringLiteral("县"), QStringLiteral("霍尔果斯市区")), 2);
    place->addWidget(addField(&Order::buyEnd, QStringLiteral("目的地"), QStringLiteral("乌鲁木齐")),
                     1);

    auto* address = new QHBoxLayout;
    address->addWidget(addField(&Order::buyAddress, QStringLiteral("地址"),
                                QStringLiteral("花溪大道北段218号贵州大学北区")),
                       5);
    address->addWidget(m_recognize);
    // The list's arrow takes about as much room as a line edit's frame and margins, twice.
    m_courier->setMinimumWidth(
        m_courier->fontMetrics().horizontalAdvance(QStringLiteral("中通快递")) + 40);
    m_fields.append({m_courier->lineEdit(), &Order::delivery});
    address->addWidget(m_courier, 1);
    address->addWidget(
        addField(&Order::wuliuCode, QStringLiteral("运单号"), QStringLiteral("YT40219374650123")),
        2);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_goods, 3);
    auto* notes = new QVBoxLayout;
    notes->addWidget(addField(&Order::buyLy, QStringLiteral("买家留言"),
                              QStringLiteral("请发圆通，周末也可以送，谢谢")));
    notes->addWidget(addField(&Order::sellerMem, QStringLiteral("卖家备注"),
                              QStringLiteral("请发圆通，周末也可以送，谢谢")));
    bottom->addLayout(notes, 2);
    auto* contents = new QHBoxLayout;
    contents->setSpacing(0);
    contents->addWidget(
        addField(&Order::buyNjpm, QStringLiteral("内件品名"), QStringLiteral("衣服鞋子")));
    contents->addWidget(m_contents);
    bottom->addLayout(contents);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    buttons->addWidget(m_waybillMark, 0, 0);
    buttons->addWidget(m_listMark, 0, 1);
    buttons->addWidget(m_confirm, 1, 0);
    buttons->addWidget(m_delete, 1, 1);
    buttons->addWidget(m_split, 2, 0, 1, 2);
    bottom->addLayout(buttons);

    auto* card = new QVBoxLayout;
    card->setSpacing(2);
    card->addLayout(top);
    card->addLayout(place);
    card->addLayout(address);
    card->addLayout(bottom);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addLayout(card, 1);
    layout->addWidget(m_pages, 0, Qt::AlignTop);
    m_pages->setPagingShown(false);
    setReadingTabOrder();

    // The waybill's right-button menu; other entries join it as further actions.
    m_preview->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* editTemplate = new QAction(QStringLiteral("修改此订单的快递单模版"), m_preview);
    connect(editTemplate, &QAction::triggered, this,
            [this] { emit templateEditRequested(m_order.id); });
    m_preview->addAction(editTemplate);
    auto* adjustOffsets = new QAction(QStringLiteral("快递单打印偏移调整"), m_preview);
    connect(adjustOffsets, &QAction::triggered, this,
            [this] { emit offsetAdjustmentRequested(m_order.id); });
    m_preview->addAction(adjustOffsets);
    auto* larger = new QAction(QStringLiteral("放大预览"), m_preview);
    connect(larger, &QAction::triggered, this, [this] { emit largerPreviewRequested(m_order.id); });
    m_preview->addAction(larger);

    connect(m_select, &QCheckBox::clicked, this,
            [this](bool ticked) { emit selectionToggled(m_order.id, ticked); });
    connect(m_waybillMark, &QPushButton::clicked, this,
            [this] { emit markClicked(m_order.id, OrderMarks::Mark::Waybill); });
    connect(m_listMark, &QPushButton::clicked, this,
            [this] { emit markClicked(m_order.id, OrderMarks::Mark::ShippingList); });
    connect(m_split, &QPushButton::clicked, this, [this] { emit splitClicked(m_order.id); });
    connect(m_confirm, &QPushButton::clicked, this, [this] { emit confirmClicked(m_order.id); });
    connect(m_delete, &QPushButton::clicked, this, [this] { emit deleteClicked(m_order.id); });
    connect(m_recognize, &QPushButton::clicked, this, &OrderRowWidget::recognize);
    connect(m_contents, &QPushButton::clicked, this, &OrderRowWidget::showContentsNames);
    connect(m_sender, &QComboBox::activated, this, &OrderRowWidget::chooseSender);
    connect(m_courier, &CourierBox::chosen, this, &OrderRowWidget::commitEdits);
    // The card is saved as a whole when the focus leaves it, so that one question covers an edit.
    connect(qApp, &QApplication::focusChanged, this, &OrderRowWidget::focusMoved);
}

void OrderRowWidget::setReadingTabOrder() {
    const QList<QWidget*> order{m_select,
                                field(&Order::orderSign),
                                m_sender,
                                field(&Order::buyId),
                                field(&Order::buyName),
                                field(&Order::buyZipcode),
                                field(&Order::buyPhone1),
                                field(&Order::buyPhone2),
                                field(&Order::buyAddressSheng),
                                field(&Order::buyAddressShi),
                                field(&Order::buyAddressXian),
                                field(&Order::buyEnd),
                                field(&Order::buyAddress),
                                m_recognize,
                                m_courier,
                                field(&Order::wuliuCode),
                                m_goods,
                                field(&Order::buyLy),
                                field(&Order::sellerMem),
                                field(&Order::buyNjpm),
                                m_contents,
                                m_waybillMark,
                                m_listMark,
                                m_confirm,
                                m_delete,
                                m_split};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

QLineEdit* OrderRowWidget::addField(QString Order::*member, const QString& placeholder,
                                    const QString& longText) {
    auto* field = new QLineEdit(this);
    field->setPlaceholderText(placeholder);
    field->setToolTip(placeholder);
    field->setAccessibleName(placeholder);
    // The line edit's frame and margins take about sixteen pixels besides the text.
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(longText) + 16);
    m_fields.append({field, member});
    return field;
}

QLineEdit* OrderRowWidget::field(QString Order::*member) const {
    for (const auto& [field, shown] : m_fields)
        if (shown == member)
            return field;
    return nullptr;
}

void OrderRowWidget::setSenders(const QStringList& senders) {
    QSignalBlocker block(m_sender);
    m_sender->clear();
    m_sender->addItems(senders);
    m_sender->addItem(kOtherSender);
    showOrder(m_order, m_select->isChecked());
}

void OrderRowWidget::showOrder(const Order& order, bool selected) {
    m_order = order;
    for (const auto& [field, member] : m_fields) {
        field->setText(order.*member);
        field->setCursorPosition(0);
    }
    m_goods->setPlainText(toEditorText(order.buyGoods));
    m_courier->showCourier(order.delivery);
    {
        QSignalBlocker block(m_sender);
        // An ID no profile answers to (a deleted sender) still shows as the order's.
        if (m_sender->findText(order.myId) < 0)
            m_sender->insertItem(0, order.myId);
        m_sender->setCurrentText(order.myId);
    }
    m_select->setChecked(selected);
    m_waybillMark->setStyleSheet(markStyle(order.kdSign));
    m_listMark->setStyleSheet(markStyle(order.fhSign));
    m_split->setVisible(order.djType > 0);
    m_maskedMark->setVisible(MaskedReceiver::isMasked(order));
}

QPushButton* OrderRowWidget::markButton(OrderMarks::Mark mark) const {
    return mark == OrderMarks::Mark::Waybill ? m_waybillMark : m_listMark;
}

Order OrderRowWidget::editedOrder() const {
    Order changed = m_order;
    for (const auto& [field, member] : m_fields)
        changed.*member = field->text();
    changed.buyGoods = fromEditorText(m_goods->toPlainText());
    return changed;
}

void OrderRowWidget::commitEdits() {
    if (m_committing || m_order.id == 0)
        return;
    const Order changed = editedOrder();
    bool same = changed.buyGoods == m_order.buyGoods;
    for (const auto& [field, member] : m_fields)
        same = same && changed.*member == m_order.*member;
    if (same)
        return;
    m_committing = true; // the question's own focus change must not ask again
    emit edited(changed);
    m_committing = false;
}

void OrderRowWidget::enterEvent(QEnterEvent* event) {
    QFrame::enterEvent(event);
    emit pointedAt();
}

void OrderRowWidget::focusMoved(QWidget* from, QWidget* to) {
    if (to && isAncestorOf(to) && !(from && isAncestorOf(from)))
        emit pointedAt();
    // A window losing activation (to == nullptr) keeps the edit open.
    if (from && to && isAncestorOf(from) && !isAncestorOf(to) && to->window() == window())
        commitEdits();
}

void OrderRowWidget::recognize() {
    if (!m_places)
        return;
    const PastedReceiver receiver = RecognizeReceiver(field(&Order::buyAddress)->text(), *m_places,
                                                      ErrorLog(m_folder.errorLogPath()));
    field(&Order::buyName)->setText(receiver.name);
    field(&Order::buyPhone1)->setText(receiver.phone1);
    field(&Order::buyPhone2)->setText(receiver.phone2);
    field(&Order::buyZipcode)->setText(receiver.zipcode);
    field(&Order::buyAddress)->setText(receiver.address);
    field(&Order::buyAddress)->setFocus();
    emit addressRecognized(editedOrder());
}

void OrderRowWidget::showPlace(const Order& placed) {
    for (QString Order::*member :
         {&Order::buyAddressSheng, &Order::buyAddressShi, &Order::buyAddressXian,
          &Order::buyAddress, &Order::buyEnd, &Order::delivery}) {
        field(member)->setText(placed.*member);
        field(member)->setCursorPosition(0);
    }
}

void OrderRowWidget::chooseSender(int index) {
    QString sender = m_sender->itemText(index);
    if (sender == kOtherSender) {
        SenderPicker picker(this);
        sender = picker.exec() == QDialog::Accepted ? picker.pickedId() : QString();
    }
    if (sender.isEmpty() || sender == m_order.myId) {
        QSignalBlocker block(m_sender);
        m_sender->setCurrentText(m_order.myId);
        return;
    }
    emit senderChosen(m_order.id, sender);
}

void OrderRowWidget::showContentsNames() {
    QLineEdit* name = field(&Order::buyNjpm);
    auto* panel = new ContentsNamesPanel(m_folder, m_order.myId, name->text(), this);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &ContentsNamesPanel::picked, this, [this, name](const QString& picked) {
        name->setText(picked);
        commitEdits();
    });
    connect(panel, &ContentsNamesPanel::saved, this, &OrderRowWidget::contentsNamesSaved);
    panel->move(name->mapToGlobal(QPoint(0, name->height())));
    panel->show();
}

} // namespace mldd
