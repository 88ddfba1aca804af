#include "BatchPasteDialog.h"

#include "BusyCursor.h"
#include "NoticeBox.h"

#include "capture/PastedOrders.h"
#include "core/MainState.h"
#include "core/MaskedReceiver.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace mldd {

namespace {

const QString kByPlan = QStringLiteral("按快递方案");
const QColor kUnclear(255, 214, 214);

// The receiver boxes a table column edits, and which unclear box it shows.
struct EditableColumn {
    BatchPasteDialog::Column column;
    QString PastedReceiver::*member;
    const char16_t* box;
};

constexpr std::array<EditableColumn, 5> kEditable{{
    {BatchPasteDialog::Name, &PastedReceiver::name, u"姓名"},
    {BatchPasteDialog::Phone1, &PastedReceiver::phone1, u"电话"},
    {BatchPasteDialog::Phone2, &PastedReceiver::phone2, nullptr},
    {BatchPasteDialog::Zipcode, &PastedReceiver::zipcode, nullptr},
    {BatchPasteDialog::Address, &PastedReceiver::address, u"地址"},
}};

Notice hint(const QString& text) {
    return Notice{text, QStringLiteral("提示"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

QTableWidgetItem* readOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    item->setToolTip(text);
    return item;
}

} // namespace

BatchPasteDialog::BatchPasteDialog(MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_paste(new QPlainTextEdit(this)),
      m_recognize(new QPushButton(QStringLiteral("识别"), this)),
      m_table(new QTableWidget(0, ColumnCount, this)), m_sender(new QComboBox(this)),
      m_courier(new QComboBox(this)), m_goods(new QLineEdit(this)), m_summary(new QLabel(this)),
      m_store(new QPushButton(QStringLiteral("全部保存"), this)) {
    setWindowTitle(QStringLiteral("批量粘贴收件人"));
    m_paste->setPlaceholderText(
        QStringLiteral("把许多收件人一起粘贴在这里，一个收件人一段（空行、一行横线或 1. 2. "
                       "这样的编号隔开），或者一行一个，再点[识别]"));
    m_paste->setAccessibleName(QStringLiteral("粘贴的收件人"));
    m_paste->setTabChangesFocus(true);
    m_table->setHorizontalHeaderLabels({QStringLiteral("姓名"), QStringLiteral("电话1"),
                                        QStringLiteral("电话2"), QStringLiteral("邮编"),
                                        QStringLiteral("地址"), QStringLiteral("省市县"),
                                        QStringLiteral("提示")});
    m_table->setAccessibleName(QStringLiteral("识别出的收件人"));
    m_table->horizontalHeader()->setSectionResizeMode(Address, QHeaderView::Stretch);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (const SenderProfile& profile : state.profiles)
        m_sender->addItem(profile.myIdh);
    if (m_sender->findText(state.senderChoice) >= 0)
        m_sender->setCurrentText(state.senderChoice);
    m_courier->addItem(kByPlan);
    m_courier->addItems(state.templates);
    m_goods->setPlaceholderText(QStringLiteral("每一单都发这些商品，可以空着"));

    auto* pasteRow = new QHBoxLayout;
    pasteRow->addWidget(m_paste, 1);
    pasteRow->addWidget(m_recognize, 0, Qt::AlignTop);
    auto* choices = new QFormLayout;
    choices->addRow(QStringLiteral("发件人"), m_sender);
    choices->addRow(QStringLiteral("快递"), m_courier);
    choices->addRow(QStringLiteral("商品"), m_goods);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_store);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pasteRow, 1);
    layout->addWidget(m_table, 3);
    layout->addLayout(choices);
    layout->addLayout(buttons);

    connect(m_recognize, &QPushButton::clicked, this, &BatchPasteDialog::recognize);
    connect(m_table, &QTableWidget::cellChanged, this, &BatchPasteDialog::rowEdited);
    connect(m_store, &QPushButton::clicked, this, &BatchPasteDialog::store);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_store->setEnabled(false);
    resize(960, 640);
}

void BatchPasteDialog::recognize() {
    if (!m_state.placeTable)
        return;
    const BusyCursor busy;
    m_blocks = RecognizeBatch(m_paste->toPlainText(), *m_state.placeTable, m_state.log);
    if (m_blocks.isEmpty()) {
        m_table->setRowCount(0);
        m_store->setEnabled(false);
        showNotice(this,
                   hint(QStringLiteral("没有可以识别的收件人，请先把收件人粘贴在上面的框里。")));
        return;
    }
    const QSignalBlocker quiet(m_table);
    m_table->setRowCount(int(m_blocks.size()));
    m_repeated.fill(false, m_blocks.size());
    for (int row = 0; row < m_table->rowCount(); ++row) {
        for (const EditableColumn& editable : kEditable)
            m_table->setItem(row, editable.column,
                             new QTableWidgetItem(m_blocks[row].receiver.*editable.member));
        showRow(row);
    }
    markRepeats();
    m_store->setEnabled(true);
}

// The split, the unclear boxes in colour and the row's mark.
void BatchPasteDialog::showRow(int row) {
    const QSignalBlocker quiet(m_table);
    const PastedBlock& block = m_blocks.at(row);
    const PastedReceiver& receiver = block.receiver;
    m_table->setItem(row, Places,
                     readOnlyItem(QStringList{receiver.province, receiver.city, receiver.county}
                                      .join(u' ')
                                      .simplified()));
    for (const EditableColumn& editable : kEditable) {
        const bool unclear =
            editable.box && receiver.unclear.contains(QString::fromUtf16(editable.box));
        m_table->item(row, editable.column)->setBackground(unclear ? QBrush(kUnclear) : QBrush());
    }
    QStringList marks;
    if (const QString why = block.refusal(); !why.isEmpty())
        marks.append(why);
    else if (!receiver.unclear.isEmpty())
        marks.append(receiver.problem());
    if (receiver.masked)
        marks.append(MaskedReceiver::kMark);
    if (m_repeated.value(row))
        marks.append(QStringLiteral("重复：已有这个收件人没打印的订单，不再保存"));
    m_table->setItem(row, Mark, readOnlyItem(marks.join(u'；')));
}

void BatchPasteDialog::rowEdited(int row, int column) {
    PastedReceiver& receiver = m_blocks[row].receiver;
    for (const EditableColumn& editable : kEditable) {
        if (editable.column == column)
            receiver.*editable.member = m_table->item(row, column)->text().simplified();
    }
    ReconsiderReceiver(receiver, *m_state.placeTable, m_state.log);
    markRepeats();
}

// Repeats are shown before anything is stored.
void BatchPasteDialog::markRepeats() {
    QList<Order> orders;
    for (const PastedBlock& block : m_blocks)
        orders.append(ReceiverColumns(block.receiver));
    m_repeated = FindRepeatedReceivers(*m_state.database, orders);
    int unclear = 0;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        showRow(row);
        unclear += !m_blocks.at(row).refusal().isEmpty();
    }
    m_summary->setText(QStringLiteral("识别出%1个收件人，%2个没有认全，%3个重复")
                           .arg(m_blocks.size())
                           .arg(unclear)
                           .arg(m_repeated.count(true)));
}

void BatchPasteDialog::store() {
    if (m_sender->currentText().isEmpty()) {
        showNotice(this, hint(QStringLiteral("请选择发件人ID，再保存!")));
        return;
    }
    markRepeats();
    const PasteChoices choices{m_sender->currentText(),
                               m_courier->currentText() == kByPlan ? QString()
                                                                   : m_courier->currentText(),
                               m_goods->text()};
    QList<Order> orders;
    QList<int> rows;
    std::optional<Notice> courierNotice;
    const PastedOrderMaker maker(m_state, choices);
    int left = 0;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (m_repeated.at(row))
            continue;
        const Order order = maker.make(m_blocks.at(row).receiver, &courierNotice);
        if (!m_blocks.at(row).refusal().isEmpty() || !PastedOrderProblem(order).isEmpty()) {
            ++left;
            continue;
        }
        orders.append(order);
        rows.append(row);
    }
    const int repeats = int(m_repeated.count(true));
    if (orders.isEmpty()) {
        showNotice(this, hint(QStringLiteral("没有可以保存的收件人：%1个没有认全，%2个重复。")
                                  .arg(left)
                                  .arg(repeats)));
        return;
    }
    const PasteStoreResult result = StorePastedOrders(m_state, orders);
    if (!result.stored) {
        showNotice(this, hint(result.error));
        return;
    }
    // Stored and repeated rows leave the table; what still needs the seller stays.
    for (int row = m_table->rowCount() - 1; row >= 0; --row) {
        if (rows.contains(row) || m_repeated.at(row)) {
            m_table->removeRow(row);
            m_blocks.removeAt(row);
        }
    }
    markRepeats();
    emit ordersStored(result.count);
    QString text = QStringLiteral("保存了%1单。").arg(result.count);
    if (repeats > 0)
        text += QStringLiteral("\n%1个收件人已有没打印的订单，没有再保存。").arg(repeats);
    if (left > 0)
        text += QStringLiteral("\n%1个收件人没有认全，留在表里，改好后再点[全部保存]。").arg(left);
    showNotice(
        this, Notice{text, QStringLiteral("提示"), Notice::Icon::Information, Notice::Buttons::Ok});
    if (courierNotice)
        showNotice(this, *courierNotice);
    m_store->setEnabled(m_table->rowCount() > 0);
}

} // namespace mldd
