#include "OrderMarks.h"

namespace mldd::OrderMarks {

Colour colourOf(int sign) {
    switch (sign) {
    case 0:
        return Colour::Green;
    case 1:
        return Colour::Silver;
    default:
        return Colour::White;
    }
}

std::optional<int> toggle(OrderStore& store, qint64 id, Mark mark) {
    std::optional<Order> order = store.byId(id);
    if (!order)
        return std::nullopt;
    int& sign = mark == Mark::Waybill ? order->kdSign : order->fhSign;
    if (sign != 0 && sign != 1)
        return sign;
    sign = 1 - sign;
    if (!store.update({*order}))
        return std::nullopt;
    return sign;
}

} // namespace mldd::OrderMarks
