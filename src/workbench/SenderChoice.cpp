#include "SenderChoice.h"

#include "OrderEditing.h"

#include "core/MainState.h"

namespace mldd::SenderChoice {

std::optional<Notice> firstUseQuestion(const MainState& state) {
    if (!state.profiles.isEmpty())
        return std::nullopt;
    return Notice{QStringLiteral(
                      "初次使用，您需要设置发件人信息！\r\n如果您现在设置，请点“是”，否则点“否”。"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

std::optional<Notice> checkPickedId(const QString& account) {
    if (!account.trimmed().isEmpty())
        return std::nullopt;
    return Notice{QStringLiteral("您的ID不能空，可以手动填!"), QStringLiteral("提示"),
                  Notice::Icon::Information};
}

Notice changeQuestion() {
    return Notice{QStringLiteral("确定要更改发件人吗?"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

std::optional<Notice> changeRowSender(MainState& state, qint64 orderId, const QString& senderId) {
    // A vanished order is reported by the save itself.
    Order changed = OrderStore(*state.database).byId(orderId).value_or(Order{});
    changed.id = orderId;
    changed.myId = senderId;
    std::optional<Notice> refused = OrderEditing::save(state, changed);
    state.requery();
    return refused;
}

} // namespace mldd::SenderChoice
