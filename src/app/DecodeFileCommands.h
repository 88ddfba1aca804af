#pragma once

class QLabel;
class QString;
class QWidget;

namespace mldd {

struct MainState;

/** The decode-file upkeep the settings menu and the self-service window both offer. */
namespace DecodeFileCommands {

/**
 * Asks the service for a newer decode file of the page at `address`, and tells
 * what came; `status`, when given, says that it is asking and then how it ended.
 */
void refresh(QWidget* parent, MainState& state, const QString& address, QLabel* status = nullptr);

/** Deletes every decode file when the service answers, so each is fetched anew. */
void repair(QWidget* parent, MainState& state);

/** Compares the decode files with the service's list of current ones. */
void check(QWidget* parent, MainState& state);

} // namespace DecodeFileCommands
} // namespace mldd
