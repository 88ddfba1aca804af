#include "OrderFilter.h"

#include "MaskedReceiver.h"

namespace mldd {

namespace {

struct PrintState {
    QString name;
    SqlCondition condition;
    QString captionWords;
};

const QList<PrintState>& printStateTable() {
    static const QList<PrintState> table{
        {OrderFilter::kAll, {}, {}},
        {QStringLiteral("快递单未打"), SqlCondition{QStringLiteral(" and kd_sign = 0"), {}},
         QStringLiteral("的快递单未打印")},
        {QStringLiteral("快递单已打"), SqlCondition{QStringLiteral(" and kd_sign = 1"), {}},
         QStringLiteral("的快递单已打印")},
        {QStringLiteral("待发货订单"),
         SqlCondition{
             QStringLiteral(" and kd_sign = 1 and kd_code<>'' and order_sign like '%淘宝:%'"), {}},
         QStringLiteral("的待发货订单")},
        {QStringLiteral("已发货订单"), SqlCondition{QStringLiteral(" and kd_sign = 2"), {}},
         QStringLiteral("的已发货订单")},
        {QStringLiteral("待短信通知"), SqlCondition{QStringLiteral(" and kd_sign = 2"), {}},
         QStringLiteral("的待短信通知")},
        {QStringLiteral("已短信通知"), SqlCondition{QStringLiteral(" and kd_sign = 3"), {}},
         QStringLiteral("的已短信通知")},
        {QStringLiteral("发货单未打"), SqlCondition{QStringLiteral(" and fh_sign = 0"), {}},
         QStringLiteral("的发货单未打印")},
        {QStringLiteral("发货单已打"), SqlCondition{QStringLiteral(" and fh_sign = 1"), {}},
         QStringLiteral("的发货单已打印")},
        {QStringLiteral("两单均未打"),
         SqlCondition{QStringLiteral(" and kd_sign = 0 and fh_sign = 0"), {}},
         QStringLiteral("的两单均未打印")},
        {QStringLiteral("两单均已打"),
         SqlCondition{QStringLiteral(" and kd_sign = 1 and fh_sign = 1"), {}},
         QStringLiteral("的两单均已打印")},
        // An export's tracking number on an order whose waybill was not printed here.
        {QStringLiteral("别处已发货"),
         SqlCondition{QStringLiteral(" and kd_sign = 0 and wuliu_code <> ''"), {}},
         QStringLiteral("的已在别处发货")},
        {MaskedReceiver::kMark, MaskedReceiver::condition(),
         QStringLiteral("的") + MaskedReceiver::kMark},
    };
    return table;
}

bool isAll(const QString& text) {
    return text.isEmpty() || text == OrderFilter::kAll;
}

} // namespace

OrderFilter OrderFilter::initial() {
    return fromLists(kAll, kAll, QStringLiteral("快递单未打"));
}

const QStringList& OrderFilter::printStates() {
    static const QStringList names = [] {
        QStringList list;
        for (const PrintState& state : printStateTable())
            list.append(state.name);
        return list;
    }();
    return names;
}

bool OrderFilter::isPrintState(const QString& state) {
    return printStates().contains(state);
}

OrderFilter OrderFilter::fromLists(const QString& sender, const QString& courier,
                                   const QString& printState) {
    OrderFilter filter;
    filter.caption = QStringLiteral("筛选:");
    if (!isAll(sender)) {
        filter.condition += {QStringLiteral(" and my_id = ?"), {sender}};
        filter.caption += QStringLiteral("ID为[") + sender + u']';
    }
    if (!isAll(courier)) {
        filter.condition += {QStringLiteral(" and delivery like ? escape '\\'"),
                             {SqlCondition::containsPattern(courier)}};
        filter.caption += QStringLiteral("单据为[") + courier + u']';
    }
    if (printState != kAll && filter.condition.isEmpty())
        filter.caption = QStringLiteral("筛选:所有");
    for (const PrintState& state : printStateTable()) {
        if (state.name == printState) {
            filter.condition += state.condition;
            filter.caption += state.captionWords;
            break;
        }
    }
    if (!filter.condition.isEmpty())
        filter.caption += QStringLiteral("的订单");
    else
        filter.caption = QStringLiteral("筛选:所有订单");
    return filter;
}

QString OrderFilter::informationLine(const QString& caption, qsizetype records, int pages, int page,
                                     bool complete) {
    // A list counted only in part shows "more than" its counted records and pages.
    const QString more = complete ? QString() : QStringLiteral("多");
    return caption + QStringLiteral("  总计") + QString::number(records) + more +
           QStringLiteral("条 共") + QString::number(pages) + more + QStringLiteral("页 第") +
           QString::number(page) + QStringLiteral("页");
}

} // namespace mldd
