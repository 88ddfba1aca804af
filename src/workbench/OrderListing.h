#pragma once

#include "core/MainState.h"
#include "core/Notice.h"

namespace mldd {

/** The list's filter, pages, selection and display mode, acting on the shared state. */
namespace OrderListing {

/** Applies the three filter lists (after setting all three to "所有" when `reset`). */
void applyFilter(MainState& state, bool reset = false);

/** The orders on the current page, in list order (at most ten). */
QList<Order> currentRows(const MainState& state);

/** Moves one page on or back; at the end the message that says so. */
std::optional<Notice> nextPage(MainState& state);
std::optional<Notice> previousPage(MainState& state);

/** Clears a non-empty selection, else selects every order of the current page. */
void selectAllOrNone(MainState& state);

/**
 * Switches between waybill and shipping-list mode: the selected orders when
 * there are any, else the orders still to print in that mode.
 */
void switchDisplayMode(MainState& state, MainState::DisplayMode mode);

} // namespace OrderListing
} // namespace mldd
