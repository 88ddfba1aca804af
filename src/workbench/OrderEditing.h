#pragma once

#include "core/Notice.h"
#include "core/Order.h"

namespace mldd {

struct MainState;

/** Saving an order row that the seller edited in the list. */
namespace OrderEditing {

/** Why an edited order may not be saved: its name or address is empty. */
std::optional<Notice> checkEdited(const Order& edited);

/** Asked before an edited order is written back; it names each box that changed, old and new. */
Notice changeQuestion(const Order& stored, const Order& edited);

/**
 * Writes the edited order back under the write rule: a field too long for its
 * column keeps its stored value and the complaint is returned.
 */
std::optional<Notice> save(MainState& state, Order edited);

} // namespace OrderEditing
} // namespace mldd
