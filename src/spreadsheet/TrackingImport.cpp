#include "TrackingImport.h"

#include "Workbook.h"

#include "core/OrderStore.h"
#include "workbench/TrackingNumberRules.h"

#include <QFileInfo>
#include <QHash>

namespace mldd {

namespace {

// Headings the couriers' exports give the two columns, blanks removed.
const QStringList kOrderHeadings{QStringLiteral("订单号"),     QStringLiteral("订单编号"),
                                 QStringLiteral("订单标志"),   QStringLiteral("客户订单号"),
                                 QStringLiteral("商家订单号"), QStringLiteral("参考号"),
                                 QStringLiteral("交易订单号")};
const QStringList kNumberHeadings{QStringLiteral("运单号"),   QStringLiteral("快递单号"),
                                  QStringLiteral("运单编号"), QStringLiteral("物流单号"),
                                  QStringLiteral("面单号"),   QStringLiteral("快件单号"),
                                  QStringLiteral("单号")};

QString heading(const QString& cell) {
    return QString(cell).remove(u' ').remove(u'\u3000').trimmed();
}

int columnOf(const QStringList& row, const QStringList& headings) {
    for (int column = 0; column < row.size(); ++column)
        if (headings.contains(heading(row.at(column))))
            return column;
    return -1;
}

// The one listed order with this order number, given whole or without its marketplace word.
std::optional<qint64> orderWith(const OrderStore& store, const QString& orderNumber) {
    std::vector<qint64> ids =
        store.ids(QStringLiteral("select id from order_data where dj_type >= 0 and order_sign = ?"),
                  {orderNumber});
    if (ids.empty())
        for (const qint64 id : store.ids(QStringLiteral("select id from order_data where "
                                                        "dj_type >= 0 and order_sign like ?"),
                                         {QStringLiteral("%:") + orderNumber}))
            // LIKE knows wildcards and ignores case: only the exact number counts.
            if (const std::optional<Order> order = store.byId(id);
                order && order->orderSign.section(u':', 1) == orderNumber)
                ids.push_back(id);
    if (ids.size() != 1)
        return std::nullopt;
    return ids.front();
}

} // namespace

TrackingImport TrackingImport::read(const OrderStore& store, const QString& path) {
    std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(path);
    if (Notice* notice = std::get_if<Notice>(&opened))
        return {{}, {}, 0, *notice};
    const Workbook& workbook = *std::get<std::unique_ptr<Workbook>>(opened);
    const QStringList sheets = workbook.sheetNames();
    if (sheets.isEmpty())
        return {{}, {}, 0, WorkbookMessages::damaged(path)};
    std::variant<SheetTable, Notice> sheet = workbook.read(sheets.value(workbook.activeSheet()));
    if (Notice* notice = std::get_if<Notice>(&sheet))
        return {{}, {}, 0, *notice};
    return match(store, std::get<SheetTable>(sheet), path);
}

TrackingImport TrackingImport::match(const OrderStore& store, const SheetTable& sheet,
                                     const QString& path) {
    TrackingImport result;
    // The heading row is the first row that names both columns.
    int headingRow = -1;
    int orderColumn = -1;
    int numberColumn = -1;
    for (int row = 0; row < sheet.rows.size() && headingRow < 0; ++row) {
        orderColumn = columnOf(sheet.rows.at(row), kOrderHeadings);
        numberColumn = columnOf(sheet.rows.at(row), kNumberHeadings);
        if (orderColumn >= 0 && numberColumn >= 0)
            headingRow = row;
    }
    if (headingRow < 0) {
        result.refusal = Notice{
            QStringLiteral("%1里找不到订单号和运单号两列。\r\n请确认表头有“订单号”和“运单号”。")
                .arg(QFileInfo(path).fileName()),
            QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
        return result;
    }
    QHash<qint64, qsizetype> entryOf;
    for (int row = headingRow + 1; row < sheet.rows.size(); ++row) {
        const QString orderNumber = sheet.cell(row, orderColumn).trimmed();
        const QString number = TrackingNumberRules::normalized(sheet.cell(row, numberColumn));
        if (orderNumber.isEmpty() || number.isEmpty())
            continue;
        const std::optional<qint64> id = orderWith(store, orderNumber);
        if (!id || number.size() > TrackingNumberRules::kMaxLength) {
            result.unmatched.append(orderNumber);
            continue;
        }
        if (store.byId(*id)->wuliuCode == number) {
            ++result.unchanged;
            continue;
        }
        // A later row of the same order wins, as it would in the courier's own system.
        if (const auto at = entryOf.constFind(*id); at != entryOf.constEnd())
            result.entries[at.value()].number = number;
        else {
            entryOf.insert(*id, result.entries.size());
            result.entries.append({*id, number});
        }
    }
    if (result.entries.isEmpty() && result.unchanged == 0)
        result.refusal =
            Notice{QStringLiteral("%1里没有能对上订单的运单号。").arg(QFileInfo(path).fileName()),
                   QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    return result;
}

Notice TrackingImport::summary(qsizetype stored) const {
    QString text = QStringLiteral("已导入%1个运单号。").arg(stored);
    if (unchanged > 0)
        text += QStringLiteral("\r\n%1个订单已经是这个运单号。").arg(unchanged);
    if (!unmatched.isEmpty())
        text += QStringLiteral("\r\n%1行找不到订单：%2")
                    .arg(unmatched.size())
                    .arg(unmatched.mid(0, 10).join(QStringLiteral("、")) +
                         (unmatched.size() > 10 ? QStringLiteral("…") : QString()));
    return Notice{text};
}

} // namespace mldd
