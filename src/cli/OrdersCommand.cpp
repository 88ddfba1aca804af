#include "Commands.h"
#include "ProgramStart.h"

#include "core/MainState.h"
#include "workbench/OrderSearch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mldd::cli {

namespace {

QJsonObject toJson(const Order& order) {
    QJsonObject object;
    object.insert(QStringLiteral("id"), order.id);
    for (const auto& column : kOrderIntColumns)
        object.insert(QLatin1String(column.name), order.*column.member);
    object.insert(QStringLiteral("NumSign"),
                  order.numSign ? QJsonValue(*order.numSign) : QJsonValue());
    object.insert(QStringLiteral("time_get"), order.timeGet);
    for (const auto& column : kOrderTextColumns)
        object.insert(QLatin1String(column.name), order.*column.member);
    return object;
}

QString toLine(const Order& order) {
    return tabbedLine(
        {QString::number(order.id), order.orderSign, order.buyName, order.buyPhone1,
         order.buyAddressSheng + order.buyAddressShi + order.buyAddressXian + order.buyAddress,
         order.delivery, QString::number(order.kdSign), QString::number(order.fhSign)});
}

} // namespace

/** The search box's field and key of "FIELD=TEXT", or the usage message. */
std::optional<std::pair<QString, QString>> searchOf(const QString& text, QString* refusal) {
    const qsizetype equals = text.indexOf(u'=');
    const QString field = text.left(equals);
    if (equals < 0 || !OrderSearch::columnsOf(field)) {
        QStringList captions;
        for (const OrderSearch::Field& known : OrderSearch::fields())
            captions.append(known.caption);
        *refusal = QStringLiteral("搜索要写成 字段=内容，字段可选：%1").arg(captions.join(u'、'));
        return std::nullopt;
    }
    return std::pair{field, text.mid(equals + 1)};
}

int runOrders(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const std::optional<QString> stateOption =
        takeOption(args, QStringLiteral("state"), &missingValue);
    const QString stateName = stateOption.value_or(QStringLiteral("快递单未打"));
    const std::optional<QString> searchText =
        takeOption(args, QStringLiteral("search"), &missingValue);
    const std::optional<QString> pageText = takeOption(args, QStringLiteral("page"), &missingValue);
    const bool json = takeFlag(args, QStringLiteral("json"));
    if (missingValue || !args.isEmpty() || (stateOption && searchText))
        return fail(Usage, QStringLiteral("用法: mldd-cli [--data DIR] orders [--state NAME | "
                                          "--search 字段=内容] [--page N] [--json]"));
    if (!OrderFilter::isPrintState(stateName))
        return fail(Usage, QStringLiteral("没有这个打印状态：%1（可选：%2）")
                               .arg(stateName, OrderFilter::printStates().join(u'、')));
    QString refusal;
    const std::optional<std::pair<QString, QString>> search =
        searchText ? searchOf(*searchText, &refusal) : std::nullopt;
    if (!refusal.isEmpty())
        return fail(Usage, refusal);
    bool pageOk = true;
    const int page = pageText ? pageText->toInt(&pageOk) : 1;
    if (!pageOk || page < 1)
        return fail(Usage, QStringLiteral("页码必须是正整数：%1").arg(*pageText));

    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;

    // A search replaces the print-state filter, as the window's search box does.
    if (search) {
        OrderSearch::search(state, search->first, search->second);
        // A script reads the whole count at once, where the window shows the page first.
        state.cursor.countAhead(page);
    } else {
        state.filter = OrderFilter::fromLists(OrderFilter::kAll, OrderFilter::kAll, stateName);
        state.requery();
    }
    if (page > state.cursor.clampPage(page))
        return fail(Failed,
                    QStringLiteral("没有第%1页，共%2页。").arg(page).arg(state.cursor.pageCount()));
    state.currentPage = page;

    const QList<Order> orders = OrderStore(*state.database).byIds(state.cursor.pageIds(page));
    // A walk cut short by a damaged page must not pass for a shorter list.
    if (state.database->corruptionFound())
        return fail(Failed, state.database->failureText());
    if (json) {
        QJsonArray rows;
        for (const Order& order : orders)
            rows.append(toJson(order));
        const QJsonObject result{{QStringLiteral("information"), state.informationLine()},
                                 {QStringLiteral("records"), state.cursor.recordCount()},
                                 {QStringLiteral("pages"), state.cursor.pageCount()},
                                 {QStringLiteral("counted_all"), state.cursor.countComplete()},
                                 {QStringLiteral("page"), state.currentPage},
                                 {QStringLiteral("orders"), rows}};
        writeOut(QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Compact)) + u'\n');
        return Success;
    }
    QString text = state.informationLine() + u'\n';
    for (const Order& order : orders)
        text += toLine(order) + u'\n';
    writeOut(text);
    return Success;
}

} // namespace mldd::cli
