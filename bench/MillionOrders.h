#pragma once

#include "core/MainState.h"

#include <memory>

namespace mldd::bench {

/** A seller's database at scale: a million stored orders, four in ten still to print. */
constexpr int kMillion = 1'000'000;

/** The fixture's data folder, kept in the system's temp folder between runs. */
QString millionOrdersFolder();

/** A realistic order numbered `i`. */
Order sampleOrder(int i);

/** Starts the program on the fixture, building it the first time (about a minute). */
std::unique_ptr<MainState> startMillionOrders();

} // namespace mldd::bench
