#pragma once

#include "ComposeShippingList.h"

#include "core/SenderProfile.h"
#include "waybill/TextMetrics.h"

#include <QHash>

namespace mldd {

class OrderStore;

/**
 * Turns orders into shipping-list pages, each with the design of its own
 * sender profile (the default design when the profile has none), on the
 * shipping-list paper.
 */
class ShippingLists {
public:
    ShippingLists(const QList<SenderProfile>& senders, const QString& paperRecord, QDate today);
    ShippingLists(const QList<SenderProfile>& senders, ShippingPaper paper, QDate today);

    /** The order's pages, and why they stopped short when the paper cannot hold them. */
    ShippingListPages compose(const Order& order);

private:
    QHash<QString, FaHuoSet> m_designs; // by my_idh
    ShippingPaper m_paper;
    QDate m_today;
    TextMetrics m_metrics;
};

/** Marks orders as having their shipping list printed (fh_sign and fh_print 1), in one transaction.
 */
bool markShippingListsPrinted(OrderStore& store, QList<Order> orders);

} // namespace mldd
