#include "TrackingNumberDialog.h"

#include "FileChooser.h"
#include "NoticeBox.h"

#include "core/MainState.h"
#include "spreadsheet/TrackingImport.h"
#include "spreadsheet/Workbook.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>

namespace mldd {

namespace {

QLabel* bigLabel(int pointSize, bool bold, QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* button(const QString& caption, QWidget* parent) {
    auto* pushButton = new QPushButton(caption, parent);
    // Enter belongs to the number box: a scanner ends every number with it.
    pushButton->setAutoDefault(false);
    return pushButton;
}

} // namespace

TrackingNumberDialog::TrackingNumberDialog(MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_queue(TrackingQueue::ofList(state)),
      m_progress(new QLabel(this)), m_courier(bigLabel(20, true, this)),
      m_receiver(bigLabel(20, true, this)), m_address(bigLabel(15, false, this)),
      m_goods(bigLabel(14, false, this)), m_number(new QLineEdit(this)), m_hint(new QLabel(this)),
      m_given(new QListWidget(this)), m_skip(button(QStringLiteral("跳过这单"), this)),
      m_takeBack(button(QStringLiteral("退回上一单"), this)),
      m_run(button(QStringLiteral("连号填写"), this)),
      m_import(button(QStringLiteral("导入快递公司表格…"), this)),
      m_save(button(QStringLiteral("保存"), this)), m_undo(button(QStringLiteral("撤销"), this)),
      m_close(button(QStringLiteral("关闭"), this)) {
    setWindowTitle(QStringLiteral("填写运单号"));

    auto* card = new QFrame(this);
    card->setFrameShape(QFrame::StyledPanel);
    card->setStyleSheet(QStringLiteral("QFrame { background: #fffef4; }"));
    auto* cardLayout = new QVBoxLayout(card);
    for (QLabel* label : {m_courier, m_receiver, m_address, m_goods})
        cardLayout->addWidget(label);
    cardLayout->addStretch();

    auto* numberLabel = new QLabel(QStringLiteral("运单号(&N)"), this);
    numberLabel->setBuddy(m_number);
    m_number->setAccessibleName(QStringLiteral("运单号"));
    m_number->setMaxLength(40);
    QFont numberFont = m_number->font();
    numberFont.setPointSize(20);
    m_number->setFont(numberFont);
    m_number->setPlaceholderText(QStringLiteral("扫描或输入运单号，回车"));
    m_hint->setWordWrap(true);
    m_given->setAccessibleName(QStringLiteral("已填写的运单号"));
    // A long order number or name wraps; the tracking number comes first and is never cut.
    m_given->setWordWrap(true);
    m_given->setTextElideMode(Qt::ElideNone);
    m_given->setMinimumWidth(
        m_given->fontMetrics().horizontalAdvance(QStringLiteral("SF1234567890123456789")) +
        m_given->verticalScrollBar()->sizeHint().width() + 12);

    auto* left = new QVBoxLayout;
    left->addWidget(m_progress);
    left->addWidget(card, 1);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(numberLabel);
    numberRow->addWidget(m_number, 1);
    left->addLayout(numberRow);
    left->addWidget(m_hint);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* pushButton : {m_skip, m_takeBack, m_run, m_import})
        buttons->addWidget(pushButton);
    buttons->addStretch();
    left->addLayout(buttons);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("已填写："), this));
    right->addWidget(m_given, 1);
    for (QPushButton* pushButton : {m_save, m_undo, m_close})
        right->addWidget(pushButton);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 1);

    connect(m_number, &QLineEdit::returnPressed, this, &TrackingNumberDialog::take);
    connect(m_skip, &QPushButton::clicked, this, &TrackingNumberDialog::skip);
    connect(m_takeBack, &QPushButton::clicked, this, &TrackingNumberDialog::takeBack);
    connect(m_run, &QPushButton::clicked, this, &TrackingNumberDialog::fillRun);
    connect(m_import, &QPushButton::clicked, this, &TrackingNumberDialog::importFile);
    connect(m_save, &QPushButton::clicked, this, &TrackingNumberDialog::save);
    connect(m_undo, &QPushButton::clicked, this, &TrackingNumberDialog::undo);
    connect(m_close, &QPushButton::clicked, this, &TrackingNumberDialog::reject);

    resize(900, 480);
    showWaiting();
    tell(m_queue.size() > 0
             ? QStringLiteral(
                   "扫描运单号，或输入后按回车。连号的快递单：输入第一张的运单号，点连号填写。")
             : QStringLiteral("列表里的订单都有运单号了。可以导入快递公司的表格。"));
    m_number->setFocus();
}

void TrackingNumberDialog::tell(const QString& text, bool warning) {
    m_hint->setStyleSheet(warning ? QStringLiteral("color: #c00000; font-weight: bold;")
                                  : QString());
    m_hint->setText(text);
}

void TrackingNumberDialog::showWaiting() {
    const Order* waiting = m_queue.current();
    m_progress->setText(
        waiting ? QStringLiteral("第%1单，共%2单；已填%3个未保存")
                      .arg(m_queue.position())
                      .arg(m_queue.size())
                      .arg(m_queue.givenCount())
                : QStringLiteral("没有等运单号的订单了；已填%1个未保存").arg(m_queue.givenCount()));
    m_courier->setText(waiting ? QStringLiteral("%1　　订单号 %2")
                                     .arg(waiting->delivery.isEmpty() ? QStringLiteral("（无快递）")
                                                                      : waiting->delivery,
                                          waiting->orderSign)
                               : QString());
    m_receiver->setText(waiting
                            ? QStringList{waiting->buyName, waiting->buyPhone1, waiting->buyPhone2}
                                  .filter(QRegularExpression(QStringLiteral("\\S")))
                                  .join(QStringLiteral("　"))
                            : QString());
    m_address->setText(waiting ? waiting->buyAddressSheng + waiting->buyAddressShi +
                                     waiting->buyAddressXian + waiting->buyAddress
                               : QString());
    m_goods->setText(
        waiting ? QString(waiting->buyGoods).replace(QStringLiteral("\r\n"), QStringLiteral("；"))
                : QString());
    m_number->setEnabled(waiting != nullptr);
    m_skip->setEnabled(waiting != nullptr);
    m_run->setEnabled(waiting != nullptr);
    m_takeBack->setEnabled(m_queue.givenCount() > 0);
    m_save->setEnabled(m_queue.givenCount() > 0);
    // Numbers given since the last save are saved or taken back before that save is undone.
    m_undo->setEnabled(m_lastBatch.has_value() && m_queue.givenCount() == 0);
}

void TrackingNumberDialog::take() {
    const Order* waiting = m_queue.current();
    if (!waiting || m_number->text().trimmed().isEmpty())
        return;
    const Order order = *waiting;
    const QString typed = m_number->text();
    const TrackingQueue::Offer offer = m_queue.offer(typed, typed == m_doubted);
    if (!offer.taken) {
        // Kept and selected: the same number entered again is taken, a new scan replaces it.
        m_doubted = typed;
        tell(offer.doubt + QStringLiteral("\r\n没错就再按一次回车；不对就重新扫描。"), true);
        m_number->selectAll();
        return;
    }
    m_doubted.clear();
    showGiven(order);
    m_given->scrollToBottom();
    m_number->clear();
    tell(QStringLiteral("%1 的运单号：%2").arg(order.buyName, m_queue.givenTo(order.id)));
    // The last order got its number: the batch is stored at once, 撤销 takes it back.
    if (!m_queue.current())
        save();
    showWaiting();
}

void TrackingNumberDialog::showGiven(const Order& order) {
    m_given->addItem(QStringLiteral("%1\n%2　%3")
                         .arg(m_queue.givenTo(order.id), order.orderSign, order.buyName));
}

void TrackingNumberDialog::skip() {
    m_queue.skip();
    m_doubted.clear();
    m_number->clear();
    tell(QStringLiteral("跳过了一单，它留在列表里等以后填写。"));
    showWaiting();
    m_number->setFocus();
}

void TrackingNumberDialog::takeBack() {
    if (m_queue.takeBack())
        delete m_given->takeItem(m_given->count() - 1);
    tell(QStringLiteral("退回了上一单，请重新扫描它的运单号。"));
    showWaiting();
    m_number->setFocus();
}

void TrackingNumberDialog::fillRun() {
    const Order* waiting = m_queue.current();
    if (!waiting)
        return;
    if (m_number->text().trimmed().isEmpty()) {
        tell(QStringLiteral("先输入这一单（第一张快递单）的运单号，再点连号填写。"), true);
        m_number->setFocus();
        return;
    }
    const QString courier = waiting->delivery;
    const int before = m_queue.givenCount();
    QSet<qint64> given;
    for (const Order& order : m_queue.orders())
        if (!m_queue.givenTo(order.id).isEmpty())
            given.insert(order.id);
    if (const std::optional<Notice> refused = m_queue.fillRun(m_number->text())) {
        tell(refused->text, true);
        m_number->selectAll();
        m_number->setFocus();
        return;
    }
    for (const Order& order : m_queue.orders())
        if (!m_queue.givenTo(order.id).isEmpty() && !given.contains(order.id))
            showGiven(order);
    const int filled = m_queue.givenCount() - before;
    m_number->clear();
    if (save())
        tell(QStringLiteral("已连号填写%1个%2的运单号并保存。不对可以撤销。")
                 .arg(filled)
                 .arg(courier));
    showWaiting();
    m_number->setFocus();
}

void TrackingNumberDialog::importFile() {
    // Numbers given by hand are kept as a batch of their own first.
    if (m_queue.givenCount() > 0 && !save())
        return;
    const QString path = FileChooser::openFile(this, QStringLiteral("选择快递公司导出的运单号表格"),
                                               QString(), Workbook::fileFilter());
    if (path.isEmpty())
        return;
    const TrackingImport read = TrackingImport::read(OrderStore(*m_state.database), path);
    if (read.refusal) {
        showNotice(this, *read.refusal);
        return;
    }
    std::variant<TrackingBatch, Notice> stored =
        TrackingBatch::store(*m_state.database, read.entries);
    if (const Notice* failed = std::get_if<Notice>(&stored)) {
        showNotice(this, *failed);
        return;
    }
    m_lastBatch = std::get<TrackingBatch>(std::move(stored));
    m_queue = TrackingQueue::ofList(m_state);
    m_given->clear();
    tell(read.summary(m_lastBatch->size()).text + QStringLiteral("\r\n不对可以撤销。"));
    showWaiting();
}

bool TrackingNumberDialog::save() {
    if (m_queue.givenCount() == 0)
        return true;
    std::variant<TrackingBatch, Notice> stored = m_queue.save();
    if (const Notice* failed = std::get_if<Notice>(&stored)) {
        showNotice(this, *failed);
        return false;
    }
    m_lastBatch = std::get<TrackingBatch>(std::move(stored));
    tell(QStringLiteral("已保存%1个运单号。不对可以撤销。").arg(m_lastBatch->size()));
    showWaiting();
    return true;
}

void TrackingNumberDialog::undo() {
    if (!m_lastBatch)
        return;
    const Notice told = m_lastBatch->undo(*m_state.database);
    if (told.icon != Notice::Icon::Information) {
        showNotice(this, told);
        return;
    }
    m_lastBatch.reset();
    // The orders wait for their numbers again.
    m_queue = TrackingQueue::ofList(m_state);
    m_given->clear();
    tell(told.text);
    showWaiting();
    m_number->setFocus();
}

void TrackingNumberDialog::reject() {
    if (m_queue.givenCount() > 0) {
        const Notice::Answer answer = askNotice(
            this,
            Notice{QStringLiteral("还有%1个运单号没有保存，保存吗？").arg(m_queue.givenCount()),
                   QStringLiteral("墨岚打单"), Notice::Icon::Exclamation,
                   Notice::Buttons::YesNoCancel});
        if (answer == Notice::Answer::Cancel || (answer == Notice::Answer::Yes && !save()))
            return;
    }
    QDialog::reject();
}

} // namespace mldd
