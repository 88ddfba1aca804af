#pragma once

#include "address/ExpressPlan.h"
#include "core/Notice.h"
#include "core/Order.h"

#include <optional>

namespace mldd {

struct MainState;

/**
 * Gives a new order its place: province, city and county split off the address
 * when none was given, the destination, and the courier form the express plan
 * chooses. Returns why no courier could be chosen, if so. Capture and manual
 * entry place their orders alike.
 */
std::optional<Notice> PlaceNewOrder(const MainState& state, const ExpressPlan& plan, Order& order);

} // namespace mldd
