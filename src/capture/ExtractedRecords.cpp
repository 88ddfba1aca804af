#include "ExtractedRecords.h"

#include "OrderPlacement.h"
#include "SellerBindings.h"

#include "address/ExpressPlan.h"
#include "address/PlaceTable.h"
#include "core/CapturedNumbers.h"
#include "core/MainState.h"
#include "core/NumSign.h"

#include <QHash>

namespace mldd {

namespace {

constexpr int kFieldCount = 15;

const QStringList& knownShopTypes() {
    // The marketplaces of today and those older decode files still name.
    static const QStringList types{
        QStringLiteral("淘宝"),   QStringLiteral("天猫"),     QStringLiteral("拼多多"),
        QStringLiteral("抖店"),   QStringLiteral("京东"),     QStringLiteral("快手"),
        QStringLiteral("小红书"), QStringLiteral("微信小店"), QStringLiteral("1688"),
        QStringLiteral("阿里"),   QStringLiteral("拍拍"),     QStringLiteral("有啊"),
        QStringLiteral("意趣"),   QStringLiteral("1号店"),    QStringLiteral("当当")};
    return types;
}

QList<QStringList> recordsOf(const QString& recordsText) {
    QList<QStringList> records;
    const QStringList pieces = recordsText.split(QStringLiteral("{|D|}"));
    records.reserve(pieces.size());
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QStringList fields = pieces.at(i).split(QStringLiteral("{|B|}"));
        while (fields.size() < kFieldCount)
            fields.append(QString());
        // A record that found nothing but the shop (an empty page) is no order.
        const bool blank = std::all_of(fields.begin() + 1, fields.end(),
                                       [](const QString& field) { return field.isEmpty(); });
        if (!blank)
            records.append(fields);
    }
    return records;
}

bool hasProfile(const MainState& state, const QString& myId) {
    return std::any_of(state.profiles.begin(), state.profiles.end(),
                       [&](const SenderProfile& profile) { return profile.myIdh == myId; });
}

Order orderFrom(const QStringList& field, const QString& myId) {
    Order order;
    order.myId = myId;
    order.orderSign = field[1];
    order.numSign = numSignOf(field[1]);
    order.buyId = field[2];
    order.buyName = field[3];
    order.buyPhone1 = field[4];
    order.buyPhone2 = field[5];
    order.buyZipcode = field[6];
    order.wuliuCode = field[7];
    order.buyAddressSheng = field[8];
    order.buyAddressShi = field[9];
    order.buyAddressXian = field[10];
    order.buyAddress = field[11];
    order.buyGoods = field[12];
    order.buyLy = field[13];
    order.sellerMem = field[14];
    return order;
}

// The address needs splitting, but the place-name table came up empty.
bool unsplittable(const MainState& state, const Order& order) {
    return order.buyAddressSheng.isEmpty() && order.buyAddressShi.isEmpty() &&
           order.buyAddressXian.isEmpty() && state.placeTable && state.placeTable->isEmpty();
}

} // namespace

QString CaptureCount::statusLine() const {
    // Orders still in the list count as repeated, as the message about them says.
    const int repeated = duplicates + alreadyCaptured;
    return QStringLiteral("提示:本次提取订单%1个，重复订单%2个，有效订单%3个。  ")
        .arg(newOrders + repeated)
        .arg(repeated)
        .arg(newOrders);
}

std::optional<Notice> CaptureCount::alreadyCapturedNotice() const {
    if (newOrders > 0 || duplicates > 0 || alreadyCaptured == 0)
        return std::nullopt;
    return Notice{
        QStringLiteral("提取过的订单有[%1]个不能重复提取，请在软件界面的上部[筛选]里面查找，"
                       "找到后，勾选，打印！")
            .arg(alreadyCaptured),
        QStringLiteral("墨岚打单"), Notice::Icon::Information, Notice::Buttons::Ok};
}

QString shopAndSeller(const QString& field0) {
    const qsizetype colon = field0.indexOf(u':');
    const QString shop = colon < 0 ? QString() : field0.left(colon);
    const QString seller = colon < 0 ? field0 : field0.mid(colon + 1);
    return (knownShopTypes().contains(shop) ? shop : QStringLiteral("其他")) + u':' + seller;
}

CaptureCount StoreExtractedRecords(MainState& state, const QString& recordsText) {
    CaptureCount count;
    const QList<QStringList> records = recordsOf(recordsText);
    const SellerBindings bindings = SellerBindings::load(state.folder, state.log);
    OrderStore store(*state.database);
    QStringList numbers;
    for (const QStringList& field : records)
        numbers.append(field[1]);
    const QSet<QString> storedBefore = store.storedOrderNumbers(numbers);

    // Every seller must answer to a profile before anything is stored. Orders
    // are made ready here, outside the transaction, so that another program's
    // capture waits only for the writing.
    QList<Order> ready;
    QStringList sellers;
    ready.reserve(records.size());
    for (const QStringList& field : records) {
        const bool stored = !field[1].isEmpty() && storedBefore.contains(field[1]);
        const QString myId = shopAndSeller(bindings.resolve(field[0]));
        if (!stored && !hasProfile(state, myId)) {
            count.unboundSeller = myId;
            count.unboundCaptured = field[0];
            return count;
        }
        if (stored) {
            ++count.alreadyCaptured;
            continue;
        }
        ready.append(orderFrom(field, myId));
        sellers.append(myId);
    }
    const ExpressPlan plan = ExpressPlan::fromText(state.settings.selectKD);
    for (Order& order : ready) {
        count.placeTableMissing = count.placeTableMissing || unsplittable(state, order);
        CourierChoice courier = PlaceNewOrder(state, plan, order);
        if (courier.notice && !count.courierNotice)
            count.courierNotice = std::move(courier.notice);
        count.openPlanPanel = count.openPlanPanel || courier.openPlanPanel;
    }

    // Both checks run inside the write transaction: a second program capturing
    // the same page waits here, then finds the first one's orders stored. The
    // captured numbers land with their orders, or neither does.
    CapturedNumbers captured(*state.database);
    OrderWriteRule rule;
    QList<Order> orders;
    orders.reserve(ready.size());
    const bool stored = state.database->inTransaction([&] {
        QStringList candidates;
        QHash<QString, QStringList> pageNumbers;
        for (const Order& order : ready) {
            candidates.append(order.orderSign);
            pageNumbers[order.myId].append(order.orderSign);
        }
        const QSet<QString> storedNow = store.storedOrderNumbers(candidates);
        QHash<QString, QSet<QString>> capturedBefore;
        for (auto it = pageNumbers.cbegin(); it != pageNumbers.cend(); ++it)
            capturedBefore.insert(it.key(), captured.capturedOf(it.key(), it.value()));
        QHash<QString, QStringList> added;
        for (const Order& order : ready) {
            if (!order.orderSign.isEmpty() && storedNow.contains(order.orderSign)) {
                ++count.alreadyCaptured;
                continue;
            }
            // A number seen earlier on the same page is a duplicate too.
            QSet<QString>& seen = capturedBefore[order.myId];
            if (!order.orderSign.isEmpty() && seen.contains(order.orderSign)) {
                ++count.duplicates;
                continue;
            }
            if (!order.orderSign.isEmpty()) {
                seen.insert(order.orderSign);
                added[order.myId].append(order.orderSign);
            }
            orders.append(order);
        }
        for (auto it = added.cbegin(); it != added.cend(); ++it) {
            if (captured.add(it.key(), it.value()) < 0)
                return false;
        }
        return store.insertInTransaction(orders, rule);
    });
    if (!stored) {
        count.failure = state.database->failureText();
        count.damaged = state.database->corruptionFound();
        return count;
    }
    count.newOrders = int(orders.size());
    count.errorNote = rule.errors();
    count.stored = true;

    if (!sellers.isEmpty()) {
        state.senderChoice = sellers.first();
        state.courierChoice = OrderFilter::kAll;
        state.printStateChoice = QStringLiteral("快递单未打");
        state.filter =
            OrderFilter::fromLists(state.senderChoice, state.courierChoice, state.printStateChoice);
    }
    state.requery();
    return count;
}

} // namespace mldd
