#include "CourierGroups.h"

#include <QHash>

namespace mldd {

QList<qint64> groupedByCourier(const QList<qint64>& ids, const QList<Order>& stored) {
    QHash<qint64, QString> courierOf;
    for (const Order& order : stored)
        courierOf.insert(order.id, order.delivery);
    QStringList couriers;
    QList<QList<qint64>> groups;
    qsizetype current = -1;
    for (const qint64 id : ids) {
        const QString courier = courierOf.value(id);
        if (!courier.isEmpty()) {
            current = couriers.indexOf(courier);
            if (current < 0) {
                current = couriers.size();
                couriers.append(courier);
                groups.emplaceBack();
            }
        } else if (current < 0) {
            // Before any courier: it goes first, where the run names what it lacks.
            current = 0;
            couriers.append(QString());
            groups.emplaceBack();
        }
        groups[current].append(id);
    }
    QList<qint64> grouped;
    grouped.reserve(ids.size());
    for (const QList<qint64>& group : groups)
        grouped += group;
    return grouped;
}

} // namespace mldd
