#include "OrderCommands.h"

#include "BusyCursor.h"
#include "NoticeBox.h"
#include "OrderListPanel.h"

#include "core/MainState.h"
#include "workbench/ConfirmationText.h"
#include "workbench/OrderDeletion.h"
#include "workbench/OrderEditing.h"
#include "workbench/OrderMerge.h"
#include "workbench/SenderChoice.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>

namespace mldd {

OrderCommands::OrderCommands(const CommandContext& context, QObject* parent)
    : QObject(parent), m_context(context) {}

void OrderCommands::toggleMark(qint64 id, OrderMarks::Mark mark) {
    OrderStore store(*m_context.state.database);
    OrderMarks::toggle(store, id, mark);
    m_context.state.requery();
    m_context.list->showPage();
}

void OrderCommands::split(qint64 id) {
    m_context.list->showResult(OrderMerge::split(m_context.state, id));
}

void OrderCommands::confirm(qint64 id) {
    const std::optional<Order> order = OrderStore(*m_context.state.database).byId(id);
    if (!order)
        return;
    const ConfirmationText confirmation = ConfirmationText::compose(
        *order, m_context.state.serviceBase + QStringLiteral("/mldd/"));
    if (confirmation.refusal) {
        showNotice(m_context.window, *confirmation.refusal);
        return;
    }
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(confirmation.text);
    m_context.status->setText(QStringLiteral("核对信息已复制，可以粘贴给买家。"));
}

void OrderCommands::deleteOne(qint64 id) {
    const std::optional<Order> order = OrderStore(*m_context.state.database).byId(id);
    if (!order)
        return;
    const QString description = order->orderSign + u' ' + order->buyName + u' ' +
                                order->buyAddressSheng + order->buyAddressShi +
                                order->buyAddressXian + order->buyAddress + QStringLiteral("\r\n");
    if (showNotice(m_context.window, OrderDeletion::question(description)))
        m_context.list->showResult(OrderDeletion::deleteOne(m_context.state, id));
}

void OrderCommands::saveEdited(const Order& order) {
    if (const auto refused = OrderEditing::checkEdited(order)) {
        showNotice(m_context.window, *refused);
        return;
    }
    const std::optional<Order> stored = OrderStore(*m_context.state.database).byId(order.id);
    if (stored && !showNotice(m_context.window, OrderEditing::changeQuestion(*stored, order))) {
        m_context.list->showPage();
        return;
    }
    m_context.list->showResult(OrderEditing::save(m_context.state, order));
}

void OrderCommands::changeSender(qint64 id, const QString& senderId) {
    if (!showNotice(m_context.window, SenderChoice::changeQuestion())) {
        m_context.list->showPage();
        return;
    }
    m_context.list->showResult(SenderChoice::changeRowSender(m_context.state, id, senderId));
}

void OrderCommands::mergeSelected() {
    if (const auto question = OrderMerge::differentBuyersQuestion(m_context.state);
        question && !showNotice(m_context.window, *question))
        return;
    m_context.list->showResult(OrderMerge::mergeSelected(m_context.state));
}

void OrderCommands::deleteOld() {
    bool ok = false;
    const int days = QInputDialog::getInt(m_context.window, QStringLiteral("删除旧订单"),
                                          QStringLiteral("删除多少天以前的订单："), 30, 0, 36500,
                                          1, &ok);
    if (!ok)
        return;
    if (const auto again = OrderDeletion::everyOrderQuestion(days);
        again && !showNotice(m_context.window, *again))
        return;
    // A year's orders take seconds to clear; the answer comes after the cursor is back.
    const Notice deleted = [&] {
        const BusyCursor busy;
        return OrderDeletion::deleteOlderThan(m_context.state, days);
    }();
    m_context.list->showResult(deleted);
}

} // namespace mldd
