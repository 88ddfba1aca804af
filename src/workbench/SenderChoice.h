#pragma once

#include "core/Notice.h"

#include <optional>

namespace mldd {

struct MainState;

/** Choosing senders outside the editor: the first-use question, the quick picker, a row's sender.
 */
namespace SenderChoice {

/** Asked at the first toolbar command while no profile exists; Yes opens the sender settings. */
std::optional<Notice> firstUseQuestion(const MainState& state);

/** The quick picker refuses an empty ID with this message; the picked ID is built as the editor
 * does. */
std::optional<Notice> checkPickedId(const QString& account);

/** Asked before a row's sender is changed. */
Notice changeQuestion();

/** Gives the order `orderId` the sender `senderId` and shows the current page again. */
std::optional<Notice> changeRowSender(MainState& state, qint64 orderId, const QString& senderId);

} // namespace SenderChoice
} // namespace mldd
