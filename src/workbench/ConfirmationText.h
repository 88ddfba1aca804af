#pragma once

#include "core/Notice.h"
#include "core/Order.h"

namespace mldd {

/** The text the seller pastes into the chat so that the buyer confirms the shipping details. */
struct ConfirmationText {
    QString text;
    /** Why there is no text: the order has no courier form yet. */
    std::optional<Notice> refusal;

    /** Composes the text for one order; `siteAddress` is named in its second line. */
    static ConfirmationText compose(const Order& order, const QString& siteAddress);
};

} // namespace mldd
