#pragma once

#include "core/Notice.h"
#include "core/Order.h"

#include <optional>

namespace mldd {

/**
 * Whether an order's receiver lets its waybill print: a receiver the
 * marketplace masked, or one not given at all, would send the parcel nowhere.
 * Shipping lists print either way.
 */
namespace WaybillRefusal {

/** Why the order's waybill is not printed, naming the order and what the seller can do. */
std::optional<Notice> of(const Order& order);

} // namespace WaybillRefusal

} // namespace mldd
