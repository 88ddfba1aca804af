#include "OrderMerge.h"

#include "GoodsLines.h"

#include "core/MainState.h"
#include "core/MaskedReceiver.h"

#include <algorithm>

namespace mldd::OrderMerge {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

Notice information(const QString& text) {
    return Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Information, Notice::Buttons::Ok};
}

QList<qint64> idsOf(const QString& hbDjId) {
    QList<qint64> ids;
    for (const QString& part : hbDjId.split(u'|', Qt::SkipEmptyParts))
        ids.append(part.toLongLong());
    return ids;
}

QString idListText(const QList<qint64>& ids) {
    QString text;
    for (qint64 id : ids)
        text += u'|' + QString::number(id);
    return text;
}

void showPageOf(MainState& state, qint64 id) {
    if (const std::optional<int> page = state.cursor.pageOf(id))
        state.currentPage = *page;
}

// Who receives the parcel: orders of one buyer share name and full address.
QString receiverOf(const Order& order) {
    QString address =
        order.buyAddressSheng + order.buyAddressShi + order.buyAddressXian + order.buyAddress;
    return order.buyName.trimmed() + u'|' + address.remove(u' ');
}

// A merge joins the buyers' messages and the seller's memos after the target's own, in the
// order of its hb_dj_id, so that a split can take each one off again from the end.
const QString kNoteJoin = QStringLiteral("；");

void appendNote(QString& joined, const QString& note) {
    if (!note.isEmpty())
        joined += joined.isEmpty() ? note : kNoteJoin + note;
}

void removeLastNote(QString& joined, const QString& note) {
    if (note.isEmpty())
        return;
    if (joined == note)
        joined.clear();
    else if (joined.endsWith(kNoteJoin + note))
        joined.chop(kNoteJoin.size() + note.size());
}

void appendNotes(Order& target, const Order& absorbed) {
    appendNote(target.buyLy, absorbed.buyLy);
    appendNote(target.sellerMem, absorbed.sellerMem);
}

// A merge target's own notes: its absorbed orders' notes taken off, last first. A note the
// seller has since edited stays whole.
void keepOwnNotes(Order& target, const QList<Order>& absorbed) {
    for (auto it = absorbed.crbegin(); it != absorbed.crend(); ++it) {
        removeLastNote(target.buyLy, it->buyLy);
        removeLastNote(target.sellerMem, it->sellerMem);
    }
}

} // namespace

std::optional<Notice> differentBuyersQuestion(const MainState& state) {
    const QList<Order> orders = OrderStore(*state.database).byIds(state.selection.ids());
    const bool oneBuyer = std::all_of(orders.begin(), orders.end(), [&](const Order& order) {
        return receiverOf(order) == receiverOf(orders.first());
    });
    if (oneBuyer)
        return std::nullopt;
    return Notice{QStringLiteral("选中的订单不是同一个买家的（收货人或地址不同），合并后只打印一张"
                                 "快递单，寄到第一个选中订单的地址。\r\n确定要合并吗?"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

std::optional<Notice> mergeSelected(MainState& state) {
    const QList<qint64> selected = state.selection.ids();
    if (selected.isEmpty())
        return information(QStringLiteral("请先选择合并的订单！") + kLineEnd +
                           QStringLiteral("单据的商品信息将被合并到您第一个选中的单据中！"));
    if (selected.size() == 1)
        return information(QStringLiteral("至少选中两个订单，才能合并！"));

    OrderStore store(*state.database);
    QList<Order> orders = store.byIds(selected);
    const bool allListed = std::all_of(orders.begin(), orders.end(),
                                       [](const Order& order) { return order.djType >= 0; });
    if (orders.size() != selected.size() || !allListed)
        return information(QStringLiteral("选中的订单有的已经被删除或合并，这次没有合并。"
                                          "请重新选择订单。"));
    Order target = orders.takeFirst();
    // With no goods line of its own the target could never be split again.
    if (target.djType < 1 && GoodsLines::nonEmptyCount(target.buyGoods) == 0)
        return information(QStringLiteral("第一个选中的订单没有商品内容，不能作为合并的目标。"
                                          "请先选中有商品的订单。"));

    QString collectedGoods;
    QList<qint64> absorbedIds = target.djType > 0 ? idsOf(target.hbDjId) : QList<qint64>();
    QList<Order> changed;
    for (Order& order : orders) {
        collectedGoods += kLineEnd + order.buyGoods;
        if (order.djType > 0) {
            // Orders it had absorbed now belong to the new target.
            const QList<Order> earlierOrders = store.byIds(idsOf(order.hbDjId));
            for (Order earlier : earlierOrders) {
                earlier.hbDjId = QString::number(target.id);
                absorbedIds.append(earlier.id);
                appendNotes(target, earlier);
                changed.append(earlier);
            }
            order.buyGoods = GoodsLines::firstNonEmpty(order.buyGoods, order.djType);
            keepOwnNotes(order, earlierOrders);
        }
        absorbedIds.append(order.id);
        appendNotes(target, order);
        order.djType = -1;
        order.hbDjId = QString::number(target.id);
        changed.append(order);
    }
    if (target.djType < 1)
        target.djType = GoodsLines::nonEmptyCount(target.buyGoods);
    target.buyGoods += kLineEnd + collectedGoods;
    target.buyGoods.replace(kLineEnd + kLineEnd, kLineEnd);
    target.hbDjId = idListText(absorbedIds);
    changed.append(target);

    if (!store.update(changed))
        return information(QStringLiteral("订单合并失败，订单没有改动。"));
    state.selection.clear();
    state.requery();
    showPageOf(state, target.id);
    return std::nullopt;
}

std::optional<Notice> split(MainState& state, qint64 targetId) {
    OrderStore store(*state.database);
    std::optional<Order> target = store.byId(targetId);
    if (!target || target->djType <= 0)
        return information(QStringLiteral("这个订单不是合并的订单，不用拆分。"));

    const QList<Order> absorbedOrders = store.byIds(idsOf(target->hbDjId));
    keepOwnNotes(*target, absorbedOrders);
    QList<Order> changed;
    for (Order absorbed : absorbedOrders) {
        if (absorbed.djType != -1)
            continue;
        absorbed.djType = 0;
        absorbed.cfSign = 1;
        absorbed.hbDjId.clear();
        changed.append(absorbed);
    }
    target->buyGoods = GoodsLines::firstNonEmpty(target->buyGoods, target->djType);
    target->hbDjId.clear();
    target->djType = 0;
    target->cfSign = 1;
    changed.append(*target);

    if (!store.update(changed))
        return information(QStringLiteral("订单拆分失败，订单没有改动。"));
    state.requery();
    return std::nullopt;
}

bool canAbsorb(const Order& target) {
    // A masked receiver may be another buyer of the same masked name: never merged by itself.
    return target.djType >= 0 && target.kdSign == 0 && target.cfSign == 0 &&
           !MaskedReceiver::isMasked(target) &&
           (target.djType > 0 || GoodsLines::nonEmptyCount(target.buyGoods) > 0);
}

void absorb(Order& target, Order& newcomer) {
    if (target.djType < 1) {
        target.djType = GoodsLines::nonEmptyCount(target.buyGoods);
        target.hbDjId.clear();
    }
    target.buyGoods += kLineEnd + newcomer.buyGoods;
    target.buyGoods.replace(kLineEnd + kLineEnd, kLineEnd);
    target.hbDjId += idListText({newcomer.id});
    appendNotes(target, newcomer);
    markAbsorbed(newcomer, target.id);
}

void markAbsorbed(Order& newcomer, qint64 targetId) {
    newcomer.djType = -1;
    newcomer.hbDjId = QString::number(targetId);
}

} // namespace mldd::OrderMerge
