#include "TrackingBatch.h"

#include "core/OrderDatabase.h"
#include "core/OrderStore.h"

#include <QHash>

namespace mldd {

namespace {

// Writes each order's number whose stored one is `expected` (any number when it has none);
// false when the update failed. `kept` counts orders changed by someone else meanwhile.
bool write(OrderDatabase& database, const QList<TrackingBatch::Entry>& numbers,
           const QHash<qint64, QString>& expected, QList<TrackingBatch::Entry>* before, int* kept) {
    OrderStore store(database);
    QList<qint64> ids;
    QHash<qint64, QString> wanted;
    for (const TrackingBatch::Entry& entry : numbers) {
        ids.append(entry.id);
        wanted.insert(entry.id, entry.number);
    }
    QList<Order> orders = store.byIds(ids);
    QList<Order> changed;
    for (Order& order : orders) {
        if (expected.contains(order.id) && expected.value(order.id) != order.wuliuCode) {
            ++*kept;
            continue;
        }
        if (before)
            before->append({order.id, order.wuliuCode});
        order.wuliuCode = wanted.value(order.id);
        changed.append(order);
    }
    return changed.isEmpty() || store.update(changed);
}

} // namespace

std::variant<TrackingBatch, Notice> TrackingBatch::store(OrderDatabase& database,
                                                         const QList<Entry>& entries) {
    TrackingBatch batch;
    int kept = 0;
    if (!write(database, entries, {}, &batch.m_before, &kept))
        return Notice{QStringLiteral("运单号没有保存：") + database.failureText(),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    QHash<qint64, QString> given;
    for (const Entry& entry : entries)
        given.insert(entry.id, entry.number);
    for (const Entry& entry : batch.m_before)
        batch.m_after.append({entry.id, given.value(entry.id)});
    return batch;
}

Notice TrackingBatch::undo(OrderDatabase& database) const {
    QHash<qint64, QString> written;
    for (const Entry& entry : m_after)
        written.insert(entry.id, entry.number);
    int kept = 0;
    if (!write(database, m_before, written, nullptr, &kept))
        return Notice{QStringLiteral("没有撤销：") + database.failureText(),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    QString text = QStringLiteral("已撤销%1个运单号。").arg(m_before.size() - kept);
    if (kept > 0)
        text += QStringLiteral("\r\n%1个订单的运单号后来又改过，没有撤销。").arg(kept);
    return Notice{text};
}

} // namespace mldd
