#include "OrderSearch.h"

#include "core/MainState.h"
#include "core/OrderSearchIndex.h"

namespace mldd::OrderSearch {

const QList<Field>& fields() {
    static const QList<Field> list{
        {QStringLiteral("买家ID"), {QStringLiteral("buy_id")}},
        {QStringLiteral("我的ID"), {QStringLiteral("my_id")}},
        {QStringLiteral("物流公司"), {QStringLiteral("delivery")}},
        {QStringLiteral("订单标志"), {QStringLiteral("order_sign")}},
        {QStringLiteral("买家姓名"), {QStringLiteral("buy_name")}},
        {QStringLiteral("买家电话"), {QStringLiteral("buy_phone1"), QStringLiteral("buy_phone2")}},
        {QStringLiteral("买家邮编"), {QStringLiteral("buy_zipcode")}},
        {QStringLiteral("买家地址"),
         {QStringLiteral("buy_address"), QStringLiteral("buy_address_sheng"),
          QStringLiteral("buy_address_shi"), QStringLiteral("buy_address_xian")}},
        {QStringLiteral("商品内容"), {QStringLiteral("buy_goods")}},
    };
    return list;
}

std::optional<Notice> search(MainState& state, const QString& fieldCaption, const QString& key) {
    if (fieldCaption.isEmpty()) {
        state.filter =
            OrderFilter::fromLists(OrderFilter::kAll, OrderFilter::kAll, OrderFilter::kAll);
        state.currentPage = 1;
        state.requery();
        return Notice{QStringLiteral("条件不能为空，请选择！"), QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation, Notice::Buttons::Ok};
    }
    const QString trimmed = key.trimmed();
    QStringList columns{QStringLiteral("buy_id")};
    for (const Field& field : fields()) {
        if (field.caption == fieldCaption)
            columns = field.columns;
    }
    OrderFilter filter;
    // The index is brought up to date first, with what was stored since the last search.
    filter.condition = OrderSearchIndex::contains(
        columns, trimmed, state.database && OrderSearchIndex::catchUp(*state.database));
    filter.caption = u'[' + fieldCaption + QStringLiteral("]含[") + trimmed + u']';
    state.filter = filter;
    // The results are new: they are read from their first page, not the page the list was on.
    state.currentPage = 1;
    state.requery();
    return std::nullopt;
}

} // namespace mldd::OrderSearch
