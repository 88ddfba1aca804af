#include "OrderRowWidget.h"

#include "WaybillPreview.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mldd {

namespace {

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

// Saves the goods box when it loses the focus, as the line fields do.
class FocusOutFilter : public QObject {
public:
    FocusOutFilter(QObject* parent, std::function<void()> onFocusOut)
        : QObject(parent), m_onFocusOut(std::move(onFocusOut)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut)
            m_onFocusOut();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onFocusOut;
};

} // namespace

OrderRowWidget::OrderRowWidget(QWidget* parent)
    : QFrame(parent), m_select(new QCheckBox(this)), m_goods(new QPlainTextEdit(this)),
      m_waybillMark(new QPushButton(QStringLiteral("快递单"), this)),
      m_listMark(new QPushButton(QStringLiteral("发货单"), this)),
      m_split(new QPushButton(QStringLiteral("拆分"), this)),
      m_confirm(new QPushButton(QStringLiteral("核对"), this)),
      m_delete(new QPushButton(QStringLiteral("删除"), this)), m_preview(new WaybillPreview(this)) {
    setFrameShape(QFrame::StyledPanel);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_split->setToolTip(QStringLiteral("点击拆分订单"));
    m_confirm->setToolTip(QStringLiteral("复制核对信息，发给买家确认"));
    m_goods->setPlaceholderText(QStringLiteral("商品"));
    m_goods->setFixedHeight(46);
    m_goods->installEventFilter(new FocusOutFilter(this, [this] {
        if (m_goods->toPlainText() != toEditorText(m_order.buyGoods))
            emitEdited();
    }));

    auto* top = new QHBoxLayout;
    top->addWidget(m_select);
    top->addWidget(addField(&Order::orderSign, QStringLiteral("订单编号"), 120));
    top->addWidget(addField(&Order::myId, QStringLiteral("我的ID"), 80));
    top->addWidget(addField(&Order::buyId, QStringLiteral("买家ID"), 70));
    top->addWidget(addField(&Order::buyName, QStringLiteral("收货人"), 56));
    top->addWidget(addField(&Order::buyPhone1, QStringLiteral("电话1"), 84));
    top->addWidget(addField(&Order::buyPhone2, QStringLiteral("电话2"), 70));
    top->addWidget(addField(&Order::buyZipcode, QStringLiteral("邮编"), 50));
    top->addStretch();
    top->addWidget(m_waybillMark);
    top->addWidget(m_listMark);

    auto* middle = new QHBoxLayout;
    middle->addWidget(addField(&Order::buyAddressSheng, QStringLiteral("省"), 50));
    middle->addWidget(addField(&Order::buyAddressShi, QStringLiteral("市"), 56));
    middle->addWidget(addField(&Order::buyAddressXian, QStringLiteral("县"), 56));
    middle->addWidget(addField(&Order::buyAddress, QStringLiteral("地址"), 160), 1);
    middle->addWidget(addField(&Order::buyEnd, QStringLiteral("目的地"), 50));
    middle->addWidget(addField(&Order::delivery, QStringLiteral("快递单据"), 60));
    middle->addWidget(addField(&Order::wuliuCode, QStringLiteral("运单号"), 90));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_goods, 2);
    auto* notes = new QVBoxLayout;
    notes->addWidget(addField(&Order::buyLy, QStringLiteral("买家留言"), 110));
    notes->addWidget(addField(&Order::sellerMem, QStringLiteral("卖家备注"), 110));
    bottom->addLayout(notes, 1);
    bottom->addWidget(addField(&Order::buyNjpm, QStringLiteral("内件品名"), 60));
    bottom->addWidget(m_confirm);
    bottom->addWidget(m_delete);
    bottom->addWidget(m_split);

    auto* card = new QVBoxLayout;
    card->setSpacing(2);
    card->addLayout(top);
    card->addLayout(middle);
    card->addLayout(bottom);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addLayout(card, 1);
    layout->addWidget(m_preview);

    // The waybill's right-button menu; other entries join it as further actions.
    m_preview->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* editTemplate = new QAction(QStringLiteral("修改此订单的快递单模版"), m_preview);
    connect(editTemplate, &QAction::triggered, this,
            [this] { emit templateEditRequested(m_order.id); });
    m_preview->addAction(editTemplate);

    connect(m_select, &QCheckBox::clicked, this,
            [this](bool ticked) { emit selectionToggled(m_order.id, ticked); });
    connect(m_waybillMark, &QPushButton::clicked, this,
            [this] { emit markClicked(m_order.id, OrderMarks::Mark::Waybill); });
    connect(m_listMark, &QPushButton::clicked, this,
            [this] { emit markClicked(m_order.id, OrderMarks::Mark::ShippingList); });
    connect(m_split, &QPushButton::clicked, this, [this] { emit splitClicked(m_order.id); });
    connect(m_confirm, &QPushButton::clicked, this, [this] { emit confirmClicked(m_order.id); });
    connect(m_delete, &QPushButton::clicked, this, [this] { emit deleteClicked(m_order.id); });
}

QLineEdit* OrderRowWidget::addField(QString Order::*member, const QString& placeholder, int width) {
    auto* field = new QLineEdit(this);
    field->setPlaceholderText(placeholder);
    field->setToolTip(placeholder);
    field->setMinimumWidth(width);
    m_fields.append({field, member});
    connect(field, &QLineEdit::editingFinished, this, [this, field, member] {
        if (field->text() != m_order.*member)
            emitEdited();
    });
    return field;
}

void OrderRowWidget::showOrder(const Order& order, bool selected) {
    m_order = order;
    for (const auto& [field, member] : m_fields) {
        field->setText(order.*member);
        field->setCursorPosition(0);
    }
    m_goods->setPlainText(toEditorText(order.buyGoods));
    m_select->setChecked(selected);
    m_waybillMark->setStyleSheet(markStyle(order.kdSign));
    m_listMark->setStyleSheet(markStyle(order.fhSign));
    m_split->setVisible(order.djType > 0);
}

QPushButton* OrderRowWidget::markButton(OrderMarks::Mark mark) const {
    return mark == OrderMarks::Mark::Waybill ? m_waybillMark : m_listMark;
}

void OrderRowWidget::emitEdited() {
    Order changed = m_order;
    for (const auto& [field, member] : m_fields)
        changed.*member = field->text();
    changed.buyGoods = fromEditorText(m_goods->toPlainText());
    emit edited(changed);
}

} // namespace mldd
