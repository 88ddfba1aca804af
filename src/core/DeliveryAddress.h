#pragma once

#include "Order.h"

#include <QString>

namespace mldd {

/** An address as waybills, shipping lists and listings write it: each place named once. */
struct DeliveryAddress {
    /**
     * Whether the city repeats the province: a city that is a province of its own
     * (上海市 in 上海市, or 上海市 after 上海) is filed under both names.
     */
    static bool cityRepeatsProvince(const Order& order);

    /** Province, city and county, the city left out where it repeats the province. */
    static QString region(const Order& order);

    /** The region followed by the street; the street alone when it already begins with the
     * province. */
    static QString full(const Order& order);
    /** The same for places kept apart from the street, as a sender profile keeps them. */
    static QString joined(const QString& province, const QString& city, const QString& county,
                          const QString& street);
};

} // namespace mldd
