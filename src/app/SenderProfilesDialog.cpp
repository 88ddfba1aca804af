#include "SenderProfilesDialog.h"

#include "ShippingListDesigner.h"
#include "NoticeBox.h"

#include "address/AddressSplitter.h"
#include "core/MainState.h"
#include "shiplist/FaHuoSet.h"
#include "workbench/ContentsNames.h"
#include "workbench/ProfileEditing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace mldd {

namespace {

const QString kNewProfile = QStringLiteral(" □ 增加新的发件人 ...");

QLineEdit* lineEdit(QWidget* parent, int maxLength) {
    auto* edit = new QLineEdit(parent);
    // The box stops a paste at the column's length, so nothing is cut off unseen when it saves.
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

SenderProfilesDialog::SenderProfilesDialog(MainState& state, QWidget* parent, const QString& presetId)
    : QDialog(parent), m_state(state), m_list(new QListWidget(this)),
      m_withMarket(new QCheckBox(QStringLiteral("ID前面加上平台"), this)),
      m_market(new QComboBox(this)), m_account(lineEdit(this, 50)), m_address(lineEdit(this, 255)),
      m_name(lineEdit(this, 50)), m_company(lineEdit(this, 50)), m_phone1(lineEdit(this, 50)),
      m_phone2(lineEdit(this, 50)), m_zipcode(lineEdit(this, 50)), m_handler(lineEdit(this, 50)),
      m_start(lineEdit(this, 50)), m_delivery(new QComboBox(this)),
      m_defaultName(lineEdit(this, 50)), m_candidates(new QLineEdit(this)),
      m_pickFromList(new QRadioButton(QStringLiteral("点选备选件名"), this)),
      m_defaultOnly(new QRadioButton(QStringLiteral("只用默认件名"), this)),
      m_save(new QPushButton(QStringLiteral("保存"), this)),
      m_delete(new QPushButton(QStringLiteral("删除"), this)),
      m_design(new QPushButton(QStringLiteral("发货单设置..."), this)) {
    setWindowTitle(QStringLiteral("发件人信息"));
    m_market->addItems(ProfileEditing::kMarketplaces);
    m_withMarket->setChecked(true);
    connect(m_withMarket, &QCheckBox::toggled, m_market, &QWidget::setEnabled);
    // Picked, not typed: only an installed template can print.
    m_delivery->addItem(QStringLiteral("不指定"), QString());
    for (const QString& name : m_state.templates)
        m_delivery->addItem(name, name);
    m_delivery->setToolTip(
        QStringLiteral("快递方案里没有订单所在省份的快递时，这个发件人的订单用这个快递"));
    m_account->setPlaceholderText(QStringLiteral("QQ、旺旺或店铺的ID"));
    m_candidates->setPlaceholderText(QStringLiteral("用空格分开，例如：衣服 鞋 包"));
    m_pickFromList->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow(QString(), m_withMarket);
    form->addRow(QStringLiteral("平台"), m_market);
    form->addRow(QStringLiteral("发件人QQ/旺旺/ID"), m_account);
    form->addRow(QStringLiteral("发件人地址或其他信息"), m_address);
    form->addRow(QStringLiteral("发件人姓名"), m_name);
    form->addRow(QStringLiteral("公司名称"), m_company);
    form->addRow(QStringLiteral("电话1"), m_phone1);
    form->addRow(QStringLiteral("电话2"), m_phone2);
    form->addRow(QStringLiteral("邮编"), m_zipcode);
    form->addRow(QStringLiteral("经办人"), m_handler);
    form->addRow(QStringLiteral("始发地"), m_start);
    form->addRow(QStringLiteral("默认快递"), m_delivery);

    auto* contents = new QGroupBox(QStringLiteral("内件品名（打印在快递单上的物品名称）"), this);
    auto* contentsForm = new QFormLayout(contents);
    contentsForm->addRow(QStringLiteral("默认件名"), m_defaultName);
    contentsForm->addRow(QStringLiteral("备选件名"), m_candidates);
    auto* options = new QHBoxLayout;
    options->addWidget(m_pickFromList);
    options->addWidget(m_defaultOnly);
    options->addStretch();
    contentsForm->addRow(QStringLiteral("订单里"), options);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_design);
    buttons->addStretch();
    buttons->addWidget(m_delete);
    buttons->addWidget(m_save);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addWidget(close);

    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addWidget(contents);
    right->addStretch();
    right->addLayout(buttons);

    auto* listLabel = new QLabel(QStringLiteral("发件人"), this);
    listLabel->setBuddy(m_list);
    m_list->setAccessibleName(listLabel->text());
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(m_list);
    m_list->setMinimumWidth(200);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, &SenderProfilesDialog::showProfile);
    connect(m_save, &QPushButton::clicked, this, &SenderProfilesDialog::save);
    connect(m_delete, &QPushButton::clicked, this, &SenderProfilesDialog::remove);
    connect(m_design, &QPushButton::clicked, this, &SenderProfilesDialog::editDesign);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    fillList(QString());
    if (!presetId.isEmpty())
        showId(presetId);
    resize(760, 560);
}

void SenderProfilesDialog::fillList(const QString& select) {
    QSignalBlocker block(m_list);
    m_list->clear();
    m_list->addItem(kNewProfile);
    int selected = 0;
    for (const SenderProfile& profile : m_state.profiles) {
        m_list->addItem(profile.myIdh);
        if (profile.myIdh == select)
            selected = m_list->count() - 1;
    }
    m_list->setCurrentRow(selected);
    showProfile(selected);
}

void SenderProfilesDialog::showId(const QString& id) {
    const qsizetype colon = id.indexOf(u':');
    const QString market = colon < 0 ? QString() : id.left(colon);
    // "阿里:x" from a page is the editor's 阿里巴巴; a prefix it does not list stays in the ID.
    const QString listed = market == QStringLiteral("阿里") ? QStringLiteral("阿里巴巴") : market;
    const bool known = ProfileEditing::kMarketplaces.contains(listed);
    m_withMarket->setChecked(known);
    if (known)
        m_market->setCurrentText(listed);
    m_account->setText(known ? id.mid(colon + 1) : id);
}

void SenderProfilesDialog::showProfile(int row) {
    const SenderProfile profile =
        row >= 1 && row <= m_state.profiles.size() ? m_state.profiles.at(row - 1) : SenderProfile();
    if (profile.myIdh.isEmpty()) {
        m_withMarket->setChecked(true);
        m_market->setCurrentIndex(0);
        m_account->clear();
    } else {
        showId(profile.myIdh);
    }
    m_address->setText(profile.address);
    m_name->setText(profile.name);
    m_company->setText(profile.company);
    m_phone1->setText(profile.phone1);
    m_phone2->setText(profile.phone2);
    m_zipcode->setText(profile.zipcode);
    m_handler->setText(profile.handler);
    m_start->setText(profile.start);
    // A stored courier whose template is gone still shows, and stays unless another is picked.
    if (m_delivery->findData(profile.delivery) < 0)
        m_delivery->addItem(profile.delivery, profile.delivery);
    m_delivery->setCurrentIndex(m_delivery->findData(profile.delivery));
    const ContentsNames names = ContentsNames::load(m_state.folder, profile.myIdh);
    m_defaultName->setText(names.defaultName);
    m_candidates->setText(names.candidates.join(u' '));
    (names.firstOption ? m_pickFromList : m_defaultOnly)->setChecked(true);
    m_delete->setEnabled(!profile.myIdh.isEmpty());
    m_design->setEnabled(!profile.myIdh.isEmpty());
}

QString SenderProfilesDialog::chosenMarketplace() const {
    return m_withMarket->isChecked() ? m_market->currentText() : QString();
}

QString SenderProfilesDialog::builtId() const {
    return ProfileEditing::senderId(chosenMarketplace(), m_account->text());
}

SenderProfile SenderProfilesDialog::profileFromBoxes() const {
    SenderProfile profile;
    profile.myIdh = m_account->text();
    profile.address = m_address->text();
    profile.name = m_name->text();
    profile.company = m_company->text();
    profile.phone1 = m_phone1->text();
    profile.phone2 = m_phone2->text();
    profile.zipcode = m_zipcode->text();
    profile.handler = m_handler->text();
    profile.start = m_start->text();
    profile.delivery = m_delivery->currentData().toString();
    if (m_state.placeTable) {
        // The parts go beside the address, which stays whole as the seller typed it.
        QString rest = profile.address.trimmed();
        PlaceFields place;
        SplitAddress(*m_state.placeTable, place, rest, m_state.log);
        profile.province = place.province;
        profile.city = place.city;
        profile.county = place.county;
    }
    return profile;
}

void SenderProfilesDialog::save() {
    const QString id = builtId();
    if (const auto refused = ProfileEditing::save(m_state, chosenMarketplace(), profileFromBoxes(),
                                                  DefaultFaHuoSet)) {
        showNotice(this, *refused);
        return;
    }
    ContentsNames names;
    names.firstOption = m_pickFromList->isChecked();
    names.defaultName = m_defaultName->text().trimmed();
    names.candidates = ContentsNames::candidatesFromText(m_candidates->text());
    const bool hadNames = QFile::exists(ContentsNames::filePath(m_state.folder, id));
    if (hadNames || !names.defaultName.isEmpty() || !names.candidates.isEmpty()) {
        if (const auto failed = names.save(m_state.folder, id))
            showNotice(this, *failed);
    }
    emit profilesChanged();
    fillList(id);
}

void SenderProfilesDialog::remove() {
    const QString id = builtId();
    if (!showNotice(this, ProfileEditing::removeQuestion(id)))
        return;
    if (const auto refused = ProfileEditing::remove(m_state, chosenMarketplace(), m_account->text(),
                                                    DefaultFaHuoSet))
        showNotice(this, *refused);
    emit profilesChanged();
    fillList(QString());
}

void SenderProfilesDialog::editDesign() {
    const int row = m_list->currentRow();
    if (row < 1 || row > m_state.profiles.size())
        return;
    ShippingListDesigner design(m_state, m_state.profiles.at(row - 1).myIdh, this);
    // A design is part of the profile: what shows of it is stale too.
    connect(&design, &ShippingListDesigner::saved, this, &SenderProfilesDialog::profilesChanged);
    design.exec();
}

} // namespace mldd
