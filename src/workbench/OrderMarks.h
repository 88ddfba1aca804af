#pragma once

#include "core/OrderStore.h"

namespace mldd {

/** The two print marks of an order row and their colours. */
namespace OrderMarks {

enum class Mark { Waybill, ShippingList };
enum class Colour { Green, Silver, White };

/** 0 (not printed) green, 1 (printed) silver, anything else white. */
Colour colourOf(int sign);

/**
 * Flips a mark clicked by hand between not printed and printed. A waybill
 * mark of a shipped or notified order (2, 3) stays as it is. Returns the
 * mark's value afterwards, or none when the order is no longer stored.
 */
std::optional<int> toggle(OrderStore& store, qint64 id, Mark mark);

} // namespace OrderMarks
} // namespace mldd
