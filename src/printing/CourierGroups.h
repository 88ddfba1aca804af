#pragma once

#include "core/Order.h"

#include <QList>

namespace mldd {

/**
 * A run's orders grouped by courier form, so that the seller changes paper
 * once per courier: the groups in the order their first order is listed,
 * list order inside a group. An order without a courier (or no longer in
 * `stored`) stays after the order listed before it, as it would print on
 * that form.
 */
QList<qint64> groupedByCourier(const QList<qint64>& ids, const QList<Order>& stored);

} // namespace mldd
