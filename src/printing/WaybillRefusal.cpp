#include "WaybillRefusal.h"

#include "core/MaskedReceiver.h"

namespace mldd::WaybillRefusal {

namespace {

QString named(const Order& order) {
    return order.orderSign.isEmpty() ? QStringLiteral("（编号%1）").arg(order.id) : order.orderSign;
}

Notice refusal(const QString& text) {
    return Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

} // namespace

std::optional<Notice> of(const Order& order) {
    if (MaskedReceiver::isMasked(order))
        return refusal(
            QStringLiteral("订单%1%2：网店隐藏了收件人的一部分（%3 %4 %5），快递单没有打印。"
                           "请在订单中补全收件人（或导入带完整收件人的表格），"
                           "或者用网店自己的打单工具打印这张快递单。")
                .arg(named(order), MaskedReceiver::kMark, order.buyName, order.buyPhone1,
                     order.buyAddress));
    return std::nullopt;
}

} // namespace mldd::WaybillRefusal
