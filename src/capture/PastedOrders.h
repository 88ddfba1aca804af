#pragma once

#include "address/ExpressPlan.h"
#include "address/PastedReceiver.h"
#include "core/Notice.h"
#include "core/Order.h"

#include <QList>
#include <QString>

#include <optional>

namespace mldd {

class OrderDatabase;
struct MainState;

/** What the seller chooses once for every receiver of a batch paste. */
struct PasteChoices {
    QString sender;
    QString courier; // a template; empty: the express plan chooses for each order
    QString goods;
};

/** The receiver's own columns of an order: name, phones, postcode, the split address. */
Order ReceiverColumns(const PastedReceiver& receiver);

/**
 * Makes the new orders of pasted receivers: the split address, the chosen
 * sender with its contents name, the goods, the destination and the courier
 * (the chosen one, else the express plan's).
 */
class PastedOrderMaker {
public:
    PastedOrderMaker(const MainState& state, PasteChoices choices);

    /** `notice` gets why the plan could choose no courier, if so. */
    Order make(const PastedReceiver& receiver, std::optional<Notice>* notice = nullptr) const;

private:
    const MainState& m_state;
    PasteChoices m_choices;
    QString m_contentsName;
    ExpressPlan m_plan;
};

/** Why the order cannot be stored (a field too long for its column); empty when it can. */
QString PastedOrderProblem(const Order& order);

/**
 * Which orders repeat one already stored and not yet printed, or one before
 * them in the list: the same name, phone and split address.
 */
QList<bool> FindRepeatedReceivers(OrderDatabase& database, const QList<Order>& orders);

/** What storing a batch did. */
struct PasteStoreResult {
    bool stored = false;
    int count = 0;
    QString error; // in the seller's words, when nothing was stored
};

/**
 * Stores the orders in one transaction (all or none) and queries the list
 * again; their ids are filled in.
 */
PasteStoreResult StorePastedOrders(MainState& state, QList<Order>& orders);

} // namespace mldd
