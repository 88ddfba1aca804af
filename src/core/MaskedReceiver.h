#pragma once

#include "SqlCondition.h"

#include <QString>

namespace mldd {

struct Order;

/**
 * Receivers the marketplaces hand out with part hidden ("林**", "183****2807",
 * "****"). Such an order is kept and listed, but no waybill can carry it and no
 * merge may take it for another buyer's order; the mark is read from the
 * receiver itself, so completing the receiver clears it.
 */
namespace MaskedReceiver {

/** The caption of the mark, in the list, the filter and the messages. */
inline const QString kMark = QStringLiteral("收件人信息不全");

/** Whether a name, phone or address has a masking star (half or full width) in it. */
bool isMasked(const QString& text);

/** Whether the order's receiver (name, phones, address) is masked anywhere. */
bool isMasked(const Order& order);

/** The list condition that keeps only orders with a masked receiver. */
SqlCondition condition();

} // namespace MaskedReceiver

} // namespace mldd
