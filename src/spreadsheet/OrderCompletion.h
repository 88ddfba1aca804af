#pragma once

#include "core/Order.h"

#include <QStringList>

namespace mldd {

/**
 * What a later file gives an order stored before under the same order number:
 * the receiver where the stored one is missing or masked, the goods lines with
 * their figures where the stored ones have none (the goods report of an orders
 * report), and the buyer id, message, tracking number and courier where the
 * stored order has none. Nothing the seller has is overwritten.
 */
namespace OrderCompletion {

/** The columns complete() may change. */
const QStringList& columns();

/** Completes `stored` from `later`; whether anything changed. */
bool complete(Order& stored, const Order& later);

} // namespace OrderCompletion

} // namespace mldd
