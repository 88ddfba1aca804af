#include "PickingList.h"

#include "GoodsSku.h"
#include "GoodsTable.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace mldd {

namespace {

// Cells of the goods table's rows that hold an article's name and its quantity.
constexpr int kArticleCell = 1;
constexpr int kQuantityCell = 2;

bool pickedBefore(const PickingList::Item& a, const PickingList::Item& b) {
    // Items the seller gave a code sort by it; those without come after, by name.
    if (a.sku.isEmpty() != b.sku.isEmpty())
        return b.sku.isEmpty();
    if (a.sku != b.sku)
        return a.sku < b.sku;
    return a.name < b.name;
}

// One group as it is gathered: items found by code and name, each order counted once per item.
struct Gathering {
    PickingList::Group group;
    QHash<QString, qsizetype> itemAt;

    void add(const Order& order) {
        QSet<qsizetype> counted;
        for (const QStringList& row : GoodsTable::fromGoods(order.buyGoods).rows) {
            const GoodsSku::NameAndSku article = GoodsSku::split(row[kArticleCell]);
            const QString key = article.sku + u'\n' + article.name;
            qsizetype at = itemAt.value(key, -1);
            if (at < 0) {
                at = group.items.size();
                itemAt.insert(key, at);
                group.items.append({article.sku, article.name});
            }
            const QString& figure = row[kQuantityCell];
            const double quantity = figure.isEmpty() ? 1 : figure.toDouble();
            group.items[at].quantity += quantity;
            group.quantity += quantity;
            if (!counted.contains(at)) {
                counted.insert(at);
                ++group.items[at].orders;
            }
        }
    }
};

} // namespace

PickingList PickingList::of(const QList<Order>& orders, bool byCourier) {
    QList<Gathering> gatherings;
    QStringList couriers;
    PickingList list;
    for (const Order& order : orders) {
        if (order.djType < 0)
            continue;
        ++list.parcels;
        list.orders +=
            1 + (order.djType > 0 ? int(order.hbDjId.split(u'|', Qt::SkipEmptyParts).size()) : 0);
        const QString courier = byCourier ? order.delivery : QString();
        qsizetype at = couriers.indexOf(courier);
        if (at < 0) {
            at = couriers.size();
            couriers.append(courier);
            gatherings.append({Group{courier, {}, 0}, {}});
        }
        gatherings[at].add(order);
    }
    QSet<QString> kinds;
    for (Gathering& gathering : gatherings) {
        for (const QString& key : gathering.itemAt.keys())
            kinds.insert(key);
        std::sort(gathering.group.items.begin(), gathering.group.items.end(), pickedBefore);
        list.quantity += gathering.group.quantity;
        list.groups.append(std::move(gathering.group));
    }
    list.kinds = int(kinds.size());
    return list;
}

} // namespace mldd
