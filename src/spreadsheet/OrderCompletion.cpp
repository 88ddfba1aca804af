#include "OrderCompletion.h"

#include "core/MaskedReceiver.h"
#include "shiplist/GoodsTable.h"

namespace mldd::OrderCompletion {

namespace {

// A value the stored order lacks, or only has masked where the later file gives it in full.
bool better(const QString& stored, const QString& later) {
    if (later.isEmpty())
        return false;
    return stored.isEmpty() ||
           (MaskedReceiver::isMasked(stored) && !MaskedReceiver::isMasked(later));
}

bool fillEmpty(QString& stored, const QString& later) {
    if (!stored.isEmpty() || later.isEmpty())
        return false;
    stored = later;
    return true;
}

bool hasFigures(const QString& goods) {
    return GoodsTable::fromGoods(goods).quantity > 0;
}

} // namespace

const QStringList& columns() {
    static const QStringList columns{QStringLiteral("buy_id"),
                                     QStringLiteral("buy_name"),
                                     QStringLiteral("buy_phone1"),
                                     QStringLiteral("buy_phone2"),
                                     QStringLiteral("buy_zipcode"),
                                     QStringLiteral("buy_address"),
                                     QStringLiteral("buy_address_sheng"),
                                     QStringLiteral("buy_address_shi"),
                                     QStringLiteral("buy_address_xian"),
                                     QStringLiteral("buy_end"),
                                     QStringLiteral("buy_goods"),
                                     QStringLiteral("buy_ly"),
                                     QStringLiteral("wuliu_code"),
                                     QStringLiteral("Delivery_code")};
    return columns;
}

bool complete(Order& stored, const Order& later) {
    bool changed = false;
    for (QString Order::*member : {&Order::buyName, &Order::buyPhone1, &Order::buyPhone2}) {
        if (better(stored.*member, later.*member)) {
            stored.*member = later.*member;
            changed = true;
        }
    }
    // The address goes with its split parts and destination.
    if (better(stored.buyAddress, later.buyAddress)) {
        stored.buyAddress = later.buyAddress;
        stored.buyAddressSheng = later.buyAddressSheng;
        stored.buyAddressShi = later.buyAddressShi;
        stored.buyAddressXian = later.buyAddressXian;
        stored.buyEnd = later.buyEnd;
        stored.buyZipcode = later.buyZipcode.isEmpty() ? stored.buyZipcode : later.buyZipcode;
        changed = true;
    }
    for (QString Order::*member : {&Order::buyId, &Order::buyZipcode, &Order::buyLy,
                                   &Order::wuliuCode, &Order::deliveryCode})
        changed = fillEmpty(stored.*member, later.*member) || changed;
    // A merge target's goods lines are counted by the merge: they stay as they are.
    const bool ownGoods = stored.djType == 0;
    if (ownGoods && !later.buyGoods.isEmpty() && later.buyGoods != stored.buyGoods &&
        (stored.buyGoods.isEmpty() ||
         (!hasFigures(stored.buyGoods) && hasFigures(later.buyGoods)))) {
        stored.buyGoods = later.buyGoods;
        changed = true;
    }
    return changed;
}

} // namespace mldd::OrderCompletion
