#pragma once

#include "core/Order.h"

#include <QList>
#include <QStringList>

namespace mldd {

/**
 * 拣货单: the goods of the chosen orders, each item once with its total
 * quantity and the number of orders that hold it, so that the seller walks
 * the shelves once for the day. Goods are read as the shipping list reads
 * them; an absorbed order's goods travel in the order it was merged into.
 */
struct PickingList {
    /** One item to fetch: the same name and 商家编码. */
    struct Item {
        QString sku; // 商家编码, empty when the goods line has none
        QString name;
        double quantity = 0;
        int orders = 0;
    };
    /** The items of one courier's parcels, or of all when the list is not grouped. */
    struct Group {
        QString courier;
        QList<Item> items; // by 商家编码, then name; items without a code last
        double quantity = 0;
    };

    QList<Group> groups;
    double quantity = 0;
    int kinds = 0;   // distinct items over all groups
    int orders = 0;  // as the buyers placed them, merged ones counted each
    int parcels = 0; // orders that go out as a parcel: merged ones count once

    /**
     * The list of `orders`; `byCourier` gives one group per courier form in
     * the order the couriers first appear. An article without figures counts
     * as one.
     */
    static PickingList of(const QList<Order>& orders, bool byCourier = false);
};

} // namespace mldd
