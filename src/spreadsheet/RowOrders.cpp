#include "RowOrders.h"

#include "ExportCell.h"

#include "address/AddressSplitter.h"
#include "address/OfficialNames.h"
#include "core/MainState.h"
#include "core/NumSign.h"
#include "shiplist/DecimalText.h"
#include "shiplist/GoodsSku.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace mldd {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Cells keep their line breaks as goods lines, and so does the chosen goods separator.
QString goodsText(QString text, const QString& separator) {
    text.replace(kLineEnd, QStringLiteral("\n")).replace(u'\r', u'\n');
    if (!separator.isEmpty())
        text.replace(separator, QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(kLineEnd);
}

QString oneLine(QString text) {
    return text.replace(u'\r', u' ').replace(u'\n', u' ').trimmed();
}

// Slots of the import record, as ImportLayout::fields() numbers them.
constexpr int kGoods = 12;
constexpr int kQuantity = 16;
constexpr int kUnitPrice = 17;
constexpr int kTotal = 18;
constexpr int kSku = 19;
constexpr int kVariant = 20;
constexpr int kCourier = 21;
constexpr int kSlotCount = 22;

// "￥89.50", "89.5元", "1,299": the amount; none for a cell that holds no number.
std::optional<double> amountOf(QString text) {
    text.remove(u'￥').remove(u'¥').remove(u'元').remove(u',').remove(u' ');
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && value >= 0 ? std::optional<double>(value) : std::nullopt;
}

// "浙江省 杭州市 西湖区 文三路 1 号(310012)": the postcode in brackets at the end is the postcode.
void takePostcode(Order& order) {
    static const QRegularExpression postcode(QStringLiteral("\\s*[(（](\\d{6})[)）]$"));
    const QRegularExpressionMatch match = postcode.match(order.buyAddress);
    if (!match.hasMatch())
        return;
    if (order.buyZipcode.isEmpty())
        order.buyZipcode = match.captured(1);
    order.buyAddress.chop(match.capturedLength());
}

// Exports that give province, city and county in columns often repeat them in the address.
void dropRepeatedPlaces(Order& order) {
    for (const QString& place :
         {order.buyAddressSheng, order.buyAddressShi, order.buyAddressXian}) {
        if (!place.isEmpty() && order.buyAddress.startsWith(place))
            order.buyAddress = order.buyAddress.mid(place.size()).trimmed();
    }
}

} // namespace

RowOrders::RowOrders(const MainState& state, const SheetTable& sheet, const ImportLayout& layout,
                     const QString& workbookPath)
    : m_state(state), m_sheet(sheet), m_layout(layout),
      m_path(QFileInfo(workbookPath).absoluteFilePath()),
      m_goodsSeparator(state.importOptions.firstSeparatorChosen
                           ? state.importOptions.firstSeparator
                           : state.importOptions.secondSeparator),
      m_market(layout.marketFor(layout.sender)) {
    // An export writes an order of several goods as several rows of one order number.
    const ColumnExpression& number = layout.expressions.at(ImportLayout::OrderNumber);
    if (number.isEmpty())
        return;
    QHash<QString, int> firstRows;
    for (int row = layout.headerRow; row < sheet.rows.size(); ++row) {
        const QString key = ExportCell::clean(number.evaluate(sheet.rows.at(row)));
        if (key.isEmpty())
            continue;
        const auto first = firstRows.constFind(key);
        if (first == firstRows.constEnd()) {
            firstRows.insert(key, row);
            continue;
        }
        m_moreRows[*first].append(row);
        m_laterRows.insert(row);
    }
}

QString RowOrders::sourceOf(const QString& path, const QString& sheet, int row) {
    return QStringLiteral("|F|") + path + QStringLiteral("|S|") + sheet + QStringLiteral("|L|") +
           QString::number(row);
}

QString RowOrders::sourcePrefix() const {
    return sourceOf(m_path, m_sheet.name, 0).chopped(1);
}

QString RowOrders::receiverKey(const Order& order) {
    const QString address =
        order.buyAddressSheng + order.buyAddressShi + order.buyAddressXian + order.buyAddress;
    // Without a name and an address a row names no buyer to match.
    if (order.buyName.isEmpty() || address.isEmpty())
        return QString();
    return QStringList{order.buyName, order.buyAddressSheng, order.buyAddressShi,
                       order.buyAddressXian, order.buyAddress}
        .join(u'\n');
}

QList<QString> RowOrders::slotsOf(int row) const {
    const QStringList& cells = m_sheet.rows.at(row);
    QList<QString> slot(kSlotCount);
    for (int i = 0; i < ImportLayout::kFieldCount; ++i) {
        const int index = ImportLayout::fields().at(i).slot;
        if (index < 0)
            continue;
        // Columns joined into the goods stay words of their own.
        const QString separator = i == ImportLayout::Goods ? QStringLiteral(" ") : QString();
        QStringList texts;
        for (int column : m_layout.expressions.at(i).columns)
            texts.append(ExportCell::clean(cells.value(column)));
        texts.removeAll(QString());
        slot[index] = texts.join(separator);
    }
    return slot;
}

QString RowOrders::goodsOf(const QList<QString>& slot) const {
    const QString goods = goodsText(slot[kGoods], m_goodsSeparator);
    const bool figures =
        !(slot[kQuantity] + slot[kUnitPrice] + slot[kTotal] + slot[kSku] + slot[kVariant])
             .isEmpty();
    // Figures of a row belong to one article; a cell listing several keeps its own.
    if (!figures || goods.contains(kLineEnd))
        return goods;
    QStringList words{goods.simplified()};
    const QString variant = slot[kVariant].simplified();
    if (!variant.isEmpty() && !goods.contains(variant))
        words.append(variant);
    // The shipping list splits articles at ";": one in a name or its variant would cut the
    // line.
    for (QString& word : words)
        word.replace(u';', u' ').replace(u'；', u' ');
    words.append(GoodsSku::word(slot[kSku]));
    const std::optional<double> counted = amountOf(slot[kQuantity]);
    const double quantity = counted.value_or(1);
    const std::optional<double> price = amountOf(slot[kUnitPrice]);
    const std::optional<double> total = amountOf(slot[kTotal]);
    if (counted || price || total)
        words.append(shortestDecimalText(quantity));
    if (price) {
        words.append(shortestDecimalText(*price));
    } else if (total && quantity > 0) {
        // A file of line totals: the unit price in fen, rounded up, and what that gives too much
        // as the discount, so that the total stays the file's.
        const double unit = std::ceil(*total / quantity * 100 - 1e-6) / 100;
        words.append(shortestDecimalText(unit));
        const double discount = std::round((unit * quantity - *total) * 100) / 100;
        if (discount > 0.005)
            words << shortestDecimalText(discount) << shortestDecimalText(*total);
    }
    words.removeAll(QString());
    return words.join(u' ');
}

std::optional<Order> RowOrders::orderOf(int row) const {
    if (m_laterRows.contains(row))
        return std::nullopt;
    QList<QString> slot = slotsOf(row);
    QStringList goods{goodsOf(slot)};
    for (int later : m_moreRows.value(row)) {
        const QList<QString> more = slotsOf(later);
        for (int i = 0; i < kSlotCount; ++i)
            if (slot[i].isEmpty())
                slot[i] = more[i];
        goods.append(goodsOf(more));
    }
    goods.removeAll(QString());
    const bool any = std::any_of(slot.begin(), slot.end(),
                                 [](const QString& text) { return !text.trimmed().isEmpty(); });
    if (!any)
        return std::nullopt;

    Order order;
    order.myId = m_layout.sender;
    order.orderSign = oneLine(slot[1]);
    if (!m_market.isEmpty() && !order.orderSign.isEmpty() && !order.orderSign.contains(u':'))
        order.orderSign = m_market + u':' + order.orderSign;
    order.numSign = numSignOf(order.orderSign);
    order.buyId = oneLine(slot[2]);
    order.buyName = oneLine(slot[3]);
    order.buyPhone1 = oneLine(slot[4]);
    order.buyPhone2 = oneLine(slot[5]);
    order.buyZipcode = oneLine(slot[6]);
    order.wuliuCode = ExportCell::trackingNumber(slot[7]);
    order.buyAddressSheng = oneLine(slot[8]);
    order.buyAddressShi = oneLine(slot[9]);
    order.buyAddressXian = oneLine(slot[10]);
    order.buyAddress = oneLine(slot[11]);
    order.buyGoods = goods.join(kLineEnd);
    order.buyLy = slot[13].trimmed();
    order.delivery = oneLine(slot[14]);
    order.buyEnd = oneLine(slot[15]);
    order.deliveryCode = oneLine(slot[kCourier]);
    takePostcode(order);
    dropRepeatedPlaces(order);

    PlaceFields place;
    if (m_state.placeTable && order.buyAddressSheng.isEmpty() && order.buyAddressShi.isEmpty() &&
        order.buyAddressXian.isEmpty()) {
        SplitAddress(*m_state.placeTable, place, order.buyAddress, m_state.log);
        order.buyAddressSheng = place.province;
        order.buyAddressShi = place.city;
        order.buyAddressXian = place.county;
    } else if (m_state.placeTable) {
        useOfficialNames(*m_state.placeTable, order.buyAddressSheng, order.buyAddressShi,
                         order.buyAddressXian);
    }
    if (order.buyEnd.isEmpty())
        order.buyEnd = !place.destination.isEmpty() ? place.destination
                       : (!order.buyAddressXian.isEmpty() && !order.buyAddressXian.contains(u'区'))
                           ? order.buyAddressXian
                           : order.buyAddressShi;
    order.hbDjId = sourceOf(m_path, m_sheet.name, row + 1);
    return order;
}

QString RowOrders::damageOf(int row) const {
    const QStringList& cells = m_sheet.rows.at(row);
    const auto mapped = [&](int field) { return !m_layout.expressions.at(field).isEmpty(); };
    const auto empty = [&](int field) {
        return ExportCell::clean(m_layout.expressions.at(field).evaluate(cells)).isEmpty();
    };
    const QString line = QStringLiteral("第%1行").arg(row + 1);
    if (!m_layout.market.isEmpty() && mapped(ImportLayout::OrderNumber) &&
        empty(ImportLayout::OrderNumber))
        return line + QStringLiteral("没有订单编号");
    // A line cut short (a damaged file) ends before the cells its order needs.
    const int headerCells = int(m_sheet.rows.value(m_layout.headerRow - 1).size());
    if (cells.size() >= headerCells)
        return QString();
    QList<int> needed{ImportLayout::Goods};
    if (!m_laterRows.contains(row))
        needed << ImportLayout::BuyerName << ImportLayout::Address;
    for (int field : needed)
        if (mapped(field) && empty(field))
            return line + QStringLiteral("只有%1列，比表头少，缺了%2")
                              .arg(cells.size())
                              .arg(ImportLayout::fields().at(field).label());
    return QString();
}

} // namespace mldd
