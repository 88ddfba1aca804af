#pragma once

class QLabel;
class QWidget;

namespace mldd {

struct MainState;
class OrderListPanel;

/** What the main window's command classes act on: the state, the window, its list and status. */
struct CommandContext {
    MainState& state;
    /** The parent of the dialogs and messages. */
    QWidget* window;
    OrderListPanel* list;
    QLabel* status;
};

} // namespace mldd
