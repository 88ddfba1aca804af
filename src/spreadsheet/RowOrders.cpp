#include "RowOrders.h"

#include "address/AddressSplitter.h"
#include "core/MainState.h"
#include "core/NumSign.h"

#include <QFileInfo>

#include <array>

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

} // namespace

RowOrders::RowOrders(const MainState& state, const SheetTable& sheet, const ImportLayout& layout,
                     const QString& workbookPath)
    : m_state(state), m_sheet(sheet), m_layout(layout),
      m_path(QFileInfo(workbookPath).absoluteFilePath()),
      m_goodsSeparator(state.importOptions.firstSeparatorChosen
                           ? state.importOptions.firstSeparator
                           : state.importOptions.secondSeparator) {}

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

std::optional<Order> RowOrders::orderOf(int row) const {
    const QStringList& cells = m_sheet.rows.at(row);
    std::array<QString, 16> slot;
    bool any = false;
    for (int i = 0; i < ImportLayout::kFieldCount; ++i) {
        const int index = ImportLayout::fields().at(i).slot;
        if (index < 0)
            continue;
        slot[index] = m_layout.expressions.at(i).evaluate(cells);
        any = any || !slot[index].trimmed().isEmpty();
    }
    if (!any)
        return std::nullopt;

    Order order;
    order.myId = m_layout.sender;
    order.orderSign = oneLine(slot[1]);
    order.numSign = numSignOf(order.orderSign);
    order.buyId = oneLine(slot[2]);
    order.buyName = oneLine(slot[3]);
    order.buyPhone1 = oneLine(slot[4]);
    order.buyPhone2 = oneLine(slot[5]);
    order.buyZipcode = oneLine(slot[6]);
    order.wuliuCode = oneLine(slot[7]);
    order.buyAddressSheng = oneLine(slot[8]);
    order.buyAddressShi = oneLine(slot[9]);
    order.buyAddressXian = oneLine(slot[10]);
    order.buyAddress = oneLine(slot[11]);
    order.buyGoods = goodsText(slot[12], m_goodsSeparator);
    order.buyLy = slot[13].trimmed();
    order.delivery = oneLine(slot[14]);
    order.buyEnd = oneLine(slot[15]);

    PlaceFields place;
    if (m_state.placeTable && order.buyAddressSheng.isEmpty() && order.buyAddressShi.isEmpty() &&
        order.buyAddressXian.isEmpty()) {
        SplitAddress(*m_state.placeTable, place, order.buyAddress, m_state.log);
        order.buyAddressSheng = place.province;
        order.buyAddressShi = place.city;
        order.buyAddressXian = place.county;
    }
    if (order.buyEnd.isEmpty())
        order.buyEnd = !place.destination.isEmpty() ? place.destination
                       : (!order.buyAddressXian.isEmpty() && !order.buyAddressXian.contains(u'区'))
                           ? order.buyAddressXian
                           : order.buyAddressShi;
    order.hbDjId = sourceOf(m_path, m_sheet.name, row + 1);
    return order;
}

} // namespace mldd
