#include "CourierFill.h"

#include "CourierChoice.h"

#include "core/MainState.h"

namespace mldd {

namespace {

// Orders are read in slices so that the bound id list stays well under SQLite's limit.
constexpr qsizetype kSlice = 500;

} // namespace

CourierFill FillMissingCouriers(MainState& state) {
    CourierFill result;
    if (!state.database)
        return result;
    OrderStore store(*state.database);
    const std::vector<qint64> ids = store.withoutCourier();
    const ExpressPlan plan = ExpressPlan::fromText(state.settings.selectKD);
    const bool done = ids.empty() || state.database->inTransaction([&] {
        for (size_t from = 0; from < ids.size(); from += kSlice) {
            const QList<qint64> slice(ids.begin() + from,
                                      ids.begin() + qMin(ids.size(), from + kSlice));
            for (const Order& order : store.byIds(slice)) {
                const CourierChoice choice = ChooseCourierFor(state, plan, order);
                if (choice.notice) {
                    // The same answer for every order: say it once, change nothing.
                    result.notice = choice.notice;
                    result.openPlanPanel = choice.openPlanPanel;
                    return false;
                }
                if (!store.setDelivery(order.id, choice.templateName))
                    return false;
                ++result.filled;
            }
        }
        return true;
    });
    if (!done) {
        result.filled = 0;
        if (!result.notice)
            result.notice = Notice{
                (QStringLiteral("设置快递失败，订单没有改动。\r\n") + state.database->failureText())
                    .trimmed(),
                QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    }
    state.requery();
    return result;
}

} // namespace mldd
