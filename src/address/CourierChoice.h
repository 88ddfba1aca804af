#pragma once

#include "ExpressPlan.h"

#include "core/Notice.h"
#include "core/Order.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace mldd {

/** The courier template chosen for one order, or why none could be. */
struct CourierChoice {
    QString templateName;
    std::optional<Notice> notice;
    /** The plan is empty: the caller opens the plan panel after the notice. */
    bool openPlanPanel = false;
};

struct MainState;

/**
 * Chooses the template for an order from the plan. `templates` is the list of
 * installed templates in its shown order; `messages` is the buyer's message
 * followed by the seller's remark; `address` is province, city, county and
 * address joined. `senderCourier`, the sender's default courier, serves where
 * the plan has no courier for the address (or no plan is set), when it is installed.
 */
CourierChoice ChooseCourier(const ExpressPlan& plan, const QStringList& templates,
                            const QString& messages, const QString& address,
                            const QString& senderCourier = QString());

/** ChooseCourier for a stored or new order of `state`: its messages, address and sender. */
CourierChoice ChooseCourierFor(const MainState& state, const ExpressPlan& plan,
                               const Order& order);

} // namespace mldd
