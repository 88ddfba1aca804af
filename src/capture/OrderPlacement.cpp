#include "OrderPlacement.h"

#include "address/AddressSplitter.h"
#include "address/CourierChoice.h"
#include "address/OfficialNames.h"
#include "core/MainState.h"

namespace mldd {

namespace {

void splitWhenUnsplit(const MainState& state, Order& order) {
    if (!state.placeTable)
        return;
    if (!order.buyAddressSheng.isEmpty() || !order.buyAddressShi.isEmpty() ||
        !order.buyAddressXian.isEmpty()) {
        useOfficialNames(*state.placeTable, order.buyAddressSheng, order.buyAddressShi,
                         order.buyAddressXian);
        return;
    }
    PlaceFields place;
    SplitAddress(*state.placeTable, place, order.buyAddress, state.log);
    order.buyAddressSheng = place.province;
    order.buyAddressShi = place.city;
    order.buyAddressXian = place.county;
}

} // namespace

CourierChoice PlaceNewOrder(const MainState& state, const ExpressPlan& plan, Order& order) {
    splitWhenUnsplit(state, order);
    order.buyEnd = (!order.buyAddressXian.isEmpty() && !order.buyAddressXian.contains(u'区'))
                       ? order.buyAddressXian
                       : order.buyAddressShi;
    const CourierChoice courier = ChooseCourierFor(state, plan, order);
    order.delivery = courier.templateName;
    return courier;
}

CourierChoice PlaceOrderAgain(const MainState& state, Order& order) {
    order.buyAddressSheng.clear();
    order.buyAddressShi.clear();
    order.buyAddressXian.clear();
    const QString courier = order.delivery;
    const CourierChoice choice =
        PlaceNewOrder(state, ExpressPlan::fromText(state.settings.selectKD), order);
    // Without a plan to ask, the order keeps the courier it had.
    if (order.delivery.isEmpty())
        order.delivery = courier;
    return choice;
}

} // namespace mldd
