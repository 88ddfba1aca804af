#pragma once

namespace mldd {
struct MainState;
}

namespace mldd::cli {

/**
 * Starts the program on the state's data folder as mldd does, the place table and
 * the default shipping-list design included. On failure the reason goes to
 * standard error and the answer is false.
 */
bool startProgram(MainState& state);

} // namespace mldd::cli
