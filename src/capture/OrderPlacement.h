#pragma once

#include "address/CourierChoice.h"
#include "address/ExpressPlan.h"
#include "core/Notice.h"
#include "core/Order.h"

#include <optional>

namespace mldd {

struct MainState;

/**
 * Gives a new order its place: province, city and county split off the address
 * when none was given, the destination, and the courier form the express plan
 * chooses. Returns the courier choice, with why none could be chosen, if so.
 * Capture and manual entry place their orders alike.
 */
CourierChoice PlaceNewOrder(const MainState& state, const ExpressPlan& plan, Order& order);

/**
 * Places an order whose address the seller changed (a recognition in its card)
 * anew: province, city and county split again, the destination and the courier
 * the plan chooses now. The order is not stored.
 */
CourierChoice PlaceOrderAgain(const MainState& state, Order& order);

} // namespace mldd
