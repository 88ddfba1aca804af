#include "OrderDeletion.h"

#include "core/MainState.h"

namespace mldd::OrderDeletion {

Notice question(const QString& description) {
    return Notice{QStringLiteral("您要删除的单据内容如下：\r\n") + description +
                      QStringLiteral("确定要删除纪录吗?"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

std::optional<Notice> deleteOne(MainState& state, qint64 id) {
    const bool removed = OrderStore(*state.database).remove(id);
    state.selection.toggle(id, false);
    state.requery();
    if (removed)
        return std::nullopt;
    return Notice{QStringLiteral("这个订单已经不在了，可能已被删除。"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Information, Notice::Buttons::Ok};
}

std::optional<Notice> everyOrderQuestion(int days) {
    if (days > 0)
        return std::nullopt;
    return Notice{QStringLiteral("天数为0，将删除全部订单，包括今天提取的订单！\r\n确定要删除吗?"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

Notice deleteOlderThan(MainState& state, int days) {
    const int deleted = OrderStore(*state.database).deleteOlderThan(days);
    state.requery();
    return Notice{QStringLiteral("本次共删除订单") + QString::number(deleted) +
                      QStringLiteral("条!"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Information, Notice::Buttons::Ok};
}

} // namespace mldd::OrderDeletion
