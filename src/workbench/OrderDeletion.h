#pragma once

#include "core/Notice.h"

namespace mldd {

struct MainState;

/** Deleting one order after the seller confirms, and deleting orders by age. */
namespace OrderDeletion {

/** The question asked before one order is deleted; `description` tells the order. */
Notice question(const QString& description);

/** Deletes one order and shows the list again; a message when it was already gone. */
std::optional<Notice> deleteOne(MainState& state, qint64 id);

/**
 * Asked a second time before deleting by age when `days` is 0, which deletes
 * every order, today's too.
 */
std::optional<Notice> everyOrderQuestion(int days);

/**
 * Deletes every order taken in at least `days` days ago, whatever its filter
 * or merge state, in one transaction; returns the message with the count.
 */
Notice deleteOlderThan(MainState& state, int days);

} // namespace OrderDeletion
} // namespace mldd
