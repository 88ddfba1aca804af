#include "TrackingQueue.h"

#include "TrackingNumberRules.h"

#include "core/MainState.h"
#include "core/OrderStore.h"

#include <algorithm>

namespace mldd {

TrackingQueue::TrackingQueue(OrderDatabase& database, QList<Order> orders)
    : m_database(&database), m_orders(std::move(orders)) {}

TrackingQueue TrackingQueue::ofList(MainState& state) {
    // The same orders in the same order as a print run takes them: the forms' order.
    QList<qint64> ids = state.selection.ids();
    if (ids.isEmpty())
        ids = QList<qint64>(state.cursor.ids().begin(), state.cursor.ids().end());
    QList<Order> waiting;
    for (Order& order : OrderStore(*state.database).byIds(ids))
        if (order.wuliuCode.trimmed().isEmpty())
            waiting.append(std::move(order));
    return TrackingQueue(*state.database, std::move(waiting));
}

const Order* TrackingQueue::current() const {
    for (const Order& order : m_orders)
        if (!m_given.contains(order.id) && !m_skipped.contains(order.id))
            return &order;
    return nullptr;
}

int TrackingQueue::position() const {
    const Order* waiting = current();
    return waiting ? int(waiting - m_orders.constData()) + 1 : size();
}

QString TrackingQueue::takenBy(const QString& number) const {
    for (auto given = m_given.constBegin(); given != m_given.constEnd(); ++given)
        if (given.value() == number)
            return QStringLiteral("%1刚才已经填给了另一个订单。").arg(number);
    const std::vector<qint64> stored =
        OrderStore(*m_database)
            .ids(QStringLiteral("select id from order_data where wuliu_code = ?"), {number});
    if (!stored.empty())
        if (const std::optional<Order> other = OrderStore(*m_database).byId(stored.front()))
            return QStringLiteral("%1已经是订单%2（%3）的运单号。")
                .arg(number, other->orderSign, other->buyName);
    return {};
}

TrackingQueue::Offer TrackingQueue::offer(const QString& typed, bool insist) {
    const Order* waiting = current();
    const QString number = TrackingNumberRules::normalized(typed);
    if (!waiting || number.isEmpty())
        return {};
    if (number.size() > TrackingNumberRules::kMaxLength)
        return {false, QStringLiteral("运单号最长%1位。").arg(TrackingNumberRules::kMaxLength)};
    if (!insist) {
        QString doubt = TrackingNumberRules::doubt(waiting->delivery, number).value_or(QString());
        doubt += takenBy(number);
        if (!doubt.isEmpty())
            return {false, doubt};
    }
    m_given.insert(waiting->id, number);
    m_givenOrder.append(waiting->id);
    return {true, {}};
}

void TrackingQueue::skip() {
    if (const Order* waiting = current())
        m_skipped.insert(waiting->id);
}

bool TrackingQueue::takeBack() {
    if (m_givenOrder.isEmpty())
        return false;
    const qint64 id = m_givenOrder.takeLast();
    m_given.remove(id);
    // Orders skipped after it wait again too: the seller goes back to that form.
    const qsizetype at = std::find_if(m_orders.begin(), m_orders.end(),
                                      [id](const Order& order) { return order.id == id; }) -
                         m_orders.begin();
    for (qsizetype i = at; i < m_orders.size(); ++i)
        m_skipped.remove(m_orders.at(i).id);
    return true;
}

std::optional<Notice> TrackingQueue::fillRun(const QString& start) {
    const Order* waiting = current();
    if (!waiting)
        return std::nullopt;
    const QString courier = waiting->delivery;
    QList<qint64> run;
    for (qsizetype i = waiting - m_orders.constData(); i < m_orders.size(); ++i) {
        const Order& order = m_orders.at(i);
        if (order.delivery == courier && !m_given.contains(order.id) &&
            !m_skipped.contains(order.id))
            run.append(order.id);
    }
    std::variant<QStringList, Notice> numbers =
        TrackingNumberRules::run(courier, TrackingNumberRules::normalized(start), int(run.size()));
    if (const Notice* refused = std::get_if<Notice>(&numbers))
        return *refused;
    const QStringList& given = std::get<QStringList>(numbers);
    for (qsizetype i = 0; i < run.size(); ++i) {
        m_given.insert(run.at(i), given.at(i));
        m_givenOrder.append(run.at(i));
    }
    return std::nullopt;
}

std::variant<TrackingBatch, Notice> TrackingQueue::save() {
    QList<TrackingBatch::Entry> entries;
    for (const qint64 id : m_givenOrder)
        entries.append({id, m_given.value(id)});
    std::variant<TrackingBatch, Notice> stored = TrackingBatch::store(*m_database, entries);
    if (std::holds_alternative<TrackingBatch>(stored)) {
        m_orders.removeIf([this](const Order& order) { return m_given.contains(order.id); });
        m_given.clear();
        m_givenOrder.clear();
    }
    return stored;
}

} // namespace mldd
