#include "OrderEditing.h"

#include "core/MainState.h"

namespace mldd::OrderEditing {

std::optional<Notice> checkEdited(const Order& edited) {
    if (!edited.buyName.trimmed().isEmpty() && !edited.buyAddress.trimmed().isEmpty())
        return std::nullopt;
    return Notice{QStringLiteral("有些项目为空,请填完整再保存!"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

Notice changeQuestion() {
    return Notice{QStringLiteral("确定要更改记录吗?"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Exclamation, Notice::Buttons::YesNo};
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
