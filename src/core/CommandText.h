#pragma once

#include "Notice.h"

#include <QString>

#include <optional>

namespace mldd {

struct MainState;

/** What a command text asks the program to do. */
struct CommandAction {
    enum class Kind {
        None,             // an empty text
        OpenWaybillFile,  // a printed-waybill file (.mlk)
        OpenShipListFile, // a printed shipping-list file (.mlf)
        Capture,          // a page to capture; the capture timer takes it from here
    };

    Kind kind = Kind::None;
    QString text;
    /** The hint that capture inside the program works better, shown the first time. */
    std::optional<Notice> hint;
    /** The user guide's page (with its section) to open with the hint. */
    QString helpPage;
};

/** Where a command text came from: the start-up command line, or a request from mldd-do. */
enum class CommandSource { StartUp, Request };

/** The text before the first `mark`, or all of it. */
QString cutBefore(const QString& text, QChar mark);

/**
 * Dispatches a command text. A request is cut before its first "!" and "?"
 * and clears the filter caption; a start-up text arrives cut before "!".
 * A capture counts the hint in program option 1 and saves the options.
 */
CommandAction handleCommandText(MainState& state, const QString& text, CommandSource source);

} // namespace mldd
