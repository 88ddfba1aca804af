#include "OrderEditing.h"

#include "core/MainState.h"

#include <array>

namespace mldd::OrderEditing {

std::optional<Notice> checkEdited(const Order& edited) {
    if (!edited.buyName.trimmed().isEmpty() && !edited.buyAddress.trimmed().isEmpty())
        return std::nullopt;
    return Notice{QStringLiteral("有些项目为空,请填完整再保存!"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

Notice changeQuestion(const Order& stored, const Order& edited) {
    // The boxes of an order card, as the card names them.
    static const std::array<std::pair<QString Order::*, const char*>, 17> kBoxes{{
        {&Order::orderSign, "订单编号"},
        {&Order::buyId, "买家ID"},
        {&Order::buyName, "收货人"},
        {&Order::buyPhone1, "电话1"},
        {&Order::buyPhone2, "电话2"},
        {&Order::buyZipcode, "邮编"},
        {&Order::buyAddressSheng, "省"},
        {&Order::buyAddressShi, "市"},
        {&Order::buyAddressXian, "县"},
        {&Order::buyAddress, "地址"},
        {&Order::buyEnd, "目的地"},
        {&Order::delivery, "快递单据"},
        {&Order::wuliuCode, "运单号"},
        {&Order::buyGoods, "商品"},
        {&Order::buyLy, "买家留言"},
        {&Order::sellerMem, "卖家备注"},
        {&Order::buyNjpm, "内件品名"},
    }};
    QString text = QStringLiteral("确定要更改记录吗?");
    for (const auto& [member, caption] : kBoxes) {
        if (stored.*member == edited.*member)
            continue;
        const auto shown = [](QString value) {
            value.replace(QStringLiteral("\r\n"), QStringLiteral("；"));
            return value.isEmpty() ? QStringLiteral("（空）") : value;
        };
        text += QStringLiteral("\r\n") + QString::fromUtf8(caption) + QStringLiteral("：") +
                shown(stored.*member) + QStringLiteral(" → ") + shown(edited.*member);
    }
    return Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Exclamation,
                  Notice::Buttons::YesNo};
}

std::optional<Notice> save(MainState& state, Order edited) {
    OrderStore store(*state.database);
    const std::optional<Order> stored = store.byId(edited.id);
    if (!stored)
        return Notice{QStringLiteral("这个订单已经不在了，可能已被删除。"),
                      QStringLiteral("墨岚打单"), Notice::Icon::Information, Notice::Buttons::Ok};
    OrderWriteRule rule;
    // What did not fit is not written: the stored value stays rather than an empty field.
    for (const FieldLimit& field : rule.apply(edited))
        edited.*field.member = (*stored).*field.member;
    if (!store.update({edited})) {
        const bool changedElsewhere =
            state.database->lastFailure().kind == StoreFailure::Kind::ChangedElsewhere;
        return Notice{changedElsewhere ? state.database->failureText()
                                       : QStringLiteral("订单保存失败，订单没有改动。"),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
    }
    if (rule.hasErrors())
        return Notice{QStringLiteral("有的内容太长，没有保存：") + rule.errors(),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
    return std::nullopt;
}

} // namespace mldd::OrderEditing
