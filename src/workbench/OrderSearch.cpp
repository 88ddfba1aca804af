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

std::optional<QStringList> columnsOf(const QString& fieldCaption) {
    for (const Field& field : fields()) {
        if (field.caption == fieldCaption)
            return field.columns;
    }
    return std::nullopt;
}

SqlCondition condition(OrderDatabase* database, const QStringList& columns, const QString& key) {
    // What another program stored since the start is taken in first; a store
    // whose index is far behind is searched with LIKE alone until the start's catch-up.
    if (!database || !OrderSearchIndex::catchUp(*database))
        return OrderSearchIndex::contains(columns, key, std::nullopt);
    return OrderSearchIndex::searched(*database, columns, key);
}

std::optional<Notice> search(MainState& state, const QString& fieldCaption, const QString& key) {
    if (fieldCaption.isEmpty()) {
        state.filter =
            OrderFilter::fromLists(OrderFilter::kAll, OrderFilter::kAll, OrderFilter::kAll);
        state.currentPage = 1;
        state.requery(OrderCursor::Counting::Later);
        return Notice{QStringLiteral("条件不能为空，请选择！"), QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation, Notice::Buttons::Ok};
    }
    const QString trimmed = key.trimmed();
    const QStringList columns =
        columnsOf(fieldCaption).value_or(QStringList{QStringLiteral("buy_id")});
    OrderFilter filter;
    filter.condition = condition(state.database.get(), columns, trimmed);
    filter.caption = u'[' + fieldCaption + QStringLiteral("]含[") + trimmed + u']';
    state.filter = filter;
    // The results are new: they are read from their first page, not the page the list was on.
    state.currentPage = 1;
    state.requery(OrderCursor::Counting::Later);
    return std::nullopt;
}

} // namespace mldd::OrderSearch
