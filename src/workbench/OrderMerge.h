#pragma once

#include "core/Notice.h"
#include "core/Order.h"

namespace mldd {

struct MainState;

/**
 * Merging the selected orders of one buyer into one shipment, and splitting
 * such a merge again. After a merge the target's first dj_type goods lines are
 * its own, every order named in its hb_dj_id is absorbed (dj_type -1), and no
 * absorbed order is a merge target any more.
 */
namespace OrderMerge {

/**
 * Asked before a merge whose selected orders are not all for one receiver
 * (name and address differ from the first selected order's).
 */
std::optional<Notice> differentBuyersQuestion(const MainState& state);

/**
 * Merges the selection into its first order, in one transaction; then clears
 * the selection, runs the list query again and shows the page holding the
 * target. Returns the message to show when nothing was merged.
 */
std::optional<Notice> mergeSelected(MainState& state);

/** Gives a merge target its own goods back and lists its absorbed orders again. */
std::optional<Notice> split(MainState& state, qint64 targetId);

/** Whether an order can take in a new order of its buyer: listed, unprinted, never split, with
 * goods, its receiver not masked. */
bool canAbsorb(const Order& target);

/**
 * Merges one stored order that is not a merge target into `target` (the
 * spreadsheet import's merge of a row that repeats an order): both are changed
 * here and the caller stores them.
 */
void absorb(Order& target, Order& newcomer);

/** Marks an order as taken in by the order `targetId` (the newcomer's part of absorb). */
void markAbsorbed(Order& newcomer, qint64 targetId);

} // namespace OrderMerge
} // namespace mldd
