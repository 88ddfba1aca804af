#include "OrderPlacement.h"

#include "address/AddressSplitter.h"
#include "address/CourierChoice.h"
#include "core/MainState.h"

namespace mldd {

namespace {

void splitWhenUnsplit(const MainState& state, Order& order) {
    if (!state.placeTable || !order.buyAddressSheng.isEmpty() || !order.buyAddressShi.isEmpty() ||
        !order.buyAddressXian.isEmpty())
        return;
    PlaceFields place;
    SplitAddress(*state.placeTable, place, order.buyAddress, state.log);
    order.buyAddressSheng = place.province;
    order.buyAddressShi = place.city;
    order.buyAddressXian = place.county;
}

} // namespace

std::optional<Notice> PlaceNewOrder(const MainState& state, const ExpressPlan& plan, Order& order) {
    splitWhenUnsplit(state, order);
    order.buyEnd = (!order.buyAddressXian.isEmpty() && !order.buyAddressXian.contains(u'区'))
                       ? order.buyAddressXian
                       : order.buyAddressShi;
    const CourierChoice courier = ChooseCourier(
        plan, state.templates, order.buyLy + order.sellerMem,
        order.buyAddressSheng + order.buyAddressShi + order.buyAddressXian + order.buyAddress);
    order.delivery = courier.templateName;
    return courier.notice;
}

} // namespace mldd
