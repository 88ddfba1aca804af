#include "ManualEntryDialog.h"

#include "BatchPasteDialog.h"
#include "NoticeBox.h"

#include "address/AddressSplitter.h"
#include "address/PastedReceiver.h"
#include "capture/ManualOrder.h"
#include "core/MainState.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mldd {

namespace {

QPlainTextEdit* textBox(QWidget* parent, int lines, const QString& placeholder) {
    auto* box = new QPlainTextEdit(parent);
    box->setPlaceholderText(placeholder);
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * lines + 12);
    return box;
}

// Text boxes end lines with LF; orders keep CR LF.
QString storedLines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace

ManualEntryDialog::ManualEntryDialog(MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_sender(new QComboBox(this)),
      m_orderSign(new QLineEdit(this)), m_buyId(new QLineEdit(this)), m_name(new QLineEdit(this)),
      m_phone1(new QLineEdit(this)), m_phone2(new QLineEdit(this)), m_zipcode(new QLineEdit(this)),
      m_address(textBox(this, 3,
                        QStringLiteral("可以把买家的整段地址粘贴在这里，再点[自动识别]，例如：\n"
                                       "王小明，13800001111，，贵州省 贵阳市 南明区 花果园R1区8栋，"
                                       "550002"))),
      m_province(new QLineEdit(this)), m_city(new QLineEdit(this)), m_county(new QLineEdit(this)),
      m_wuliuCode(new QLineEdit(this)),
      m_goods(textBox(this, 4, QStringLiteral("一行一件商品：名称 规格 数量 单价"))),
      m_recognize(new QPushButton(QStringLiteral("自动识别"), this)),
      m_split(new QPushButton(QStringLiteral("识别省市县"), this)),
      m_batch(new QPushButton(QStringLiteral("批量粘贴"), this)),
      m_clear(new QPushButton(QStringLiteral("清空"), this)),
      m_saveClose(new QPushButton(QStringLiteral("保存并关闭"), this)),
      m_saveNext(new QPushButton(QStringLiteral("保存，再录一单"), this)),
      m_status(new QLabel(this)) {
    setWindowTitle(QStringLiteral("手工录入订单"));
    for (const SenderProfile& profile : state.profiles)
        m_sender->addItem(profile.myIdh);
    if (m_sender->findText(state.senderChoice) >= 0)
        m_sender->setCurrentText(state.senderChoice);
    m_recognize->setToolTip(QStringLiteral("把地址框里粘贴的整段文字分成姓名、电话、邮编和地址"));
    m_split->setToolTip(QStringLiteral("从地址里分出省、市、县"));
    m_batch->setToolTip(QStringLiteral("一次粘贴许多收件人，识别后一起保存"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("发件人"), m_sender);
    form->addRow(QStringLiteral("订单编号"), m_orderSign);
    form->addRow(QStringLiteral("买家ID"), m_buyId);
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(m_address, 1);
    auto* addressButtons = new QVBoxLayout;
    addressButtons->addWidget(m_recognize);
    addressButtons->addWidget(m_split);
    addressButtons->addWidget(m_batch);
    addressRow->addLayout(addressButtons);
    auto* addressLabel = new QLabel(QStringLiteral("收货地址"), this);
    addressLabel->setBuddy(m_address);
    form->addRow(addressLabel, addressRow);
    form->addRow(QStringLiteral("收货人姓名"), m_name);
    form->addRow(QStringLiteral("电话1"), m_phone1);
    form->addRow(QStringLiteral("电话2"), m_phone2);
    form->addRow(QStringLiteral("邮编"), m_zipcode);
    auto* places = new QHBoxLayout;
    for (auto [caption, box] :
         {std::pair{QStringLiteral("省"), m_province}, std::pair{QStringLiteral("市"), m_city},
          std::pair{QStringLiteral("县"), m_county}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        places->addWidget(label);
        places->addWidget(box);
    }
    auto* placesLabel = new QLabel(QStringLiteral("省市县（空着时保存时自动分）"), this);
    form->addRow(placesLabel, places);
    form->addRow(QStringLiteral("运单号"), m_wuliuCode);
    auto* goodsLabel = new QLabel(QStringLiteral("商品"), this);
    goodsLabel->setBuddy(m_goods);
    form->addRow(goodsLabel, m_goods);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_clear);
    buttons->addStretch();
    buttons->addWidget(m_saveNext);
    buttons->addWidget(m_saveClose);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(m_recognize, &QPushButton::clicked, this, &ManualEntryDialog::recognize);
    connect(m_split, &QPushButton::clicked, this, &ManualEntryDialog::splitPlaces);
    connect(m_batch, &QPushButton::clicked, this, &ManualEntryDialog::pasteMany);
    connect(m_clear, &QPushButton::clicked, this, &ManualEntryDialog::clearBoxes);
    connect(m_saveClose, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(m_saveNext, &QPushButton::clicked, this, [this] {
        if (save()) {
            clearBoxes();
            m_address->setFocus();
        }
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(680, 600);
}

void ManualEntryDialog::recognize() {
    if (!m_state.placeTable)
        return;
    const PastedReceiver receiver =
        RecognizeReceiver(m_address->toPlainText(), *m_state.placeTable, m_state.log);
    m_name->setText(receiver.name);
    m_phone1->setText(receiver.phone1);
    m_phone2->setText(receiver.phone2);
    m_zipcode->setText(receiver.zipcode);
    m_address->setPlainText(receiver.address);
}

void ManualEntryDialog::pasteMany() {
    BatchPasteDialog batch(m_state, this);
    batch.senderList()->setCurrentText(m_sender->currentText());
    connect(&batch, &BatchPasteDialog::ordersStored, this, [this] { emit orderInserted(0); });
    batch.exec();
}

void ManualEntryDialog::splitPlaces() {
    if (!m_state.placeTable)
        return;
    QString address = m_address->toPlainText().simplified();
    PlaceFields place;
    SplitAddress(*m_state.placeTable, place, address, m_state.log);
    m_province->setText(place.province);
    m_city->setText(place.city);
    m_county->setText(place.county);
    m_address->setPlainText(address);
}

void ManualEntryDialog::clearBoxes() {
    for (QLineEdit* box : {m_orderSign, m_buyId, m_name, m_phone1, m_phone2, m_zipcode, m_province,
                           m_city, m_county, m_wuliuCode})
        box->clear();
    m_address->clear();
    m_goods->clear();
}

Order ManualEntryDialog::orderFromBoxes() const {
    Order order;
    order.myId = m_sender->currentText();
    order.orderSign = m_orderSign->text().trimmed();
    order.buyId = m_buyId->text().trimmed();
    order.buyName = m_name->text().trimmed();
    order.buyPhone1 = m_phone1->text().trimmed();
    order.buyPhone2 = m_phone2->text().trimmed();
    order.buyZipcode = m_zipcode->text().trimmed();
    // The address is one line on the waybill, however it was typed.
    order.buyAddress = m_address->toPlainText().simplified();
    order.buyAddressSheng = m_province->text().trimmed();
    order.buyAddressShi = m_city->text().trimmed();
    order.buyAddressXian = m_county->text().trimmed();
    order.wuliuCode = m_wuliuCode->text().trimmed();
    order.buyGoods = storedLines(m_goods->toPlainText().trimmed());
    return order;
}

bool ManualEntryDialog::save() {
    const ManualOrderResult result = InsertManualOrder(m_state, orderFromBoxes());
    m_status->setText(result.status);
    if (result.inserted)
        emit orderInserted(result.id);
    for (const Notice& notice : result.notices)
        showNotice(this, notice);
    if (result.openPlanPanel)
        emit expressPlanWanted();
    return result.inserted;
}

} // namespace mldd
