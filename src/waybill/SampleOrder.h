#pragma once

#include "core/Order.h"
#include "core/SenderProfile.h"

namespace mldd {

/** The order and sender the designer fills its boxes with when no real order is at hand. */
namespace SampleOrder {

Order order();
SenderProfile sender();

} // namespace SampleOrder
} // namespace mldd
