#include "OrderListing.h"

namespace mldd::OrderListing {

namespace {
Notice information(const QString& text) {
    return Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Information, Notice::Buttons::Ok};
}
} // namespace

void applyFilter(MainState& state, bool reset) {
    if (reset) {
        state.senderChoice = OrderFilter::kAll;
        state.courierChoice = OrderFilter::kAll;
        state.printStateChoice = OrderFilter::kAll;
    }
    if (state.senderChoice.isEmpty())
        state.senderChoice = OrderFilter::kAll;
    if (state.courierChoice.isEmpty())
        state.courierChoice = OrderFilter::kAll;
    state.filter =
        OrderFilter::fromLists(state.senderChoice, state.courierChoice, state.printStateChoice);
    state.requery();
}

QList<Order> currentRows(const MainState& state) {
    return OrderStore(*state.database).byIds(state.cursor.pageIds(state.currentPage));
}

std::optional<Notice> nextPage(MainState& state) {
    if (state.cursor.clampPage(state.currentPage + 1) <= state.currentPage)
        return information(QStringLiteral("已经是最后一页了！"));
    ++state.currentPage;
    return std::nullopt;
}

std::optional<Notice> previousPage(MainState& state) {
    if (state.currentPage <= 1)
        return information(QStringLiteral("已经是第一页了！"));
    --state.currentPage;
    return std::nullopt;
}

void selectAllOrNone(MainState& state) {
    if (!state.selection.isEmpty()) {
        state.selection.clear();
        return;
    }
    for (qint64 id : state.cursor.pageIds(state.currentPage))
        state.selection.toggle(id, true);
}

void switchDisplayMode(MainState& state, MainState::DisplayMode mode) {
    state.displayMode = mode;
    const bool shippingList = mode == MainState::DisplayMode::ShippingList;
    if (state.selection.isEmpty()) {
        state.printStateChoice =
            shippingList ? QStringLiteral("发货单未打") : QStringLiteral("快递单未打");
        applyFilter(state);
        return;
    }
    OrderFilter selected;
    QStringList alternatives;
    for (qint64 id : state.selection.ids()) {
        alternatives.append(QStringLiteral("id = ?"));
        selected.condition.values.append(id);
    }
    selected.condition.sql =
        QStringLiteral(" and (") + alternatives.join(QStringLiteral(" or ")) + u')';
    selected.caption =
        shippingList ? QStringLiteral("您选择订单的发货单") : QStringLiteral("您选择订单的快递单");
    state.filter = selected;
    state.requery();
}

} // namespace mldd::OrderListing
