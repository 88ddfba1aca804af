#pragma once

#include "core/Notice.h"

#include <optional>

namespace mldd {

struct MainState;

/** What filling the missing couriers did. */
struct CourierFill {
    int filled = 0;
    /** Why nothing was filled (no templates, no plan, a database failure). */
    std::optional<Notice> notice;
    bool openPlanPanel = false;
};

/**
 * Gives every order whose courier form is empty or blank the template the
 * express plan of `state` chooses, in one transaction, then runs the list
 * query again.
 */
CourierFill FillMissingCouriers(MainState& state);

} // namespace mldd
