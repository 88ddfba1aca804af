#pragma once

#include "core/Notice.h"
#include "core/Order.h"

#include <QList>

namespace mldd {

struct MainState;

/** What saving a typed-in order did. */
struct ManualOrderResult {
    bool inserted = false;
    qint64 id = 0;
    /** Messages to show in order: why nothing was saved, or why no courier could be chosen. */
    QList<Notice> notices;
    /** What the window's status line says after a save: no box to click for every order. */
    QString status;
    /** The express plan is empty: its panel is opened so that the order gets a courier. */
    bool openPlanPanel = false;
};

/**
 * Saves the order typed into the manual entry window as a new row: the sender
 * (`myId`) and the buyer's name and address are required, the contents name is
 * the sender's default, province, city and county are split off the address
 * when their boxes are empty, and the courier comes from the express plan. A
 * value too long for its column saves nothing. The list then shows the new
 * order's sender when it was filtered by one sender.
 */
ManualOrderResult InsertManualOrder(MainState& state, Order order);

} // namespace mldd
