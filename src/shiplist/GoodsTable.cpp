#include "GoodsTable.h"

#include "CapitalAmount.h"
#include "DecimalText.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace mldd {

namespace {

enum Cell { NameCell, QuantityCell, PriceCell, DiscountCell, TotalCell, FreightCell };

std::optional<double> figure(const QStringList& cells, int index) {
    if (index >= cells.size())
        return std::nullopt;
    bool ok = false;
    const double value = cells[index].trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

const QStringList& GoodsTable::captions() {
    static const QStringList captions{
        QStringLiteral(" 序号 "),     QStringLiteral(" 宝贝名称及规格 "),
        QStringLiteral("  数量  "),   QStringLiteral(" 原价(元) "),
        QStringLiteral(" 优惠(元) "), QStringLiteral(" 总价(元) ")};
    return captions;
}

GoodsTable GoodsTable::fromGoods(const QString& goods) {
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    GoodsTable table;
    for (const QString& line : goods.split(lineBreak, Qt::SkipEmptyParts)) {
        const QStringList cells = line.split(u' ');
        const double quantity = figure(cells, QuantityCell).value_or(0);
        const double price = figure(cells, PriceCell).value_or(0);
        const double discount = figure(cells, DiscountCell).value_or(0);
        const bool hasTotal = cells.size() > TotalCell;
        const double total =
            hasTotal ? figure(cells, TotalCell).value_or(0) : quantity * price - discount;

        QStringList row{QString::number(table.rows.size() + 1), cells[NameCell]};
        for (int cell = QuantityCell; cell <= DiscountCell; ++cell)
            row.append(figure(cells, cell) ? cells[cell] : QStringLiteral("0"));
        row.append(hasTotal && figure(cells, TotalCell) ? cells[TotalCell]
                                                        : shortestDecimalText(total));
        table.rows.append(row);

        table.quantity += quantity;
        table.discount += discount;
        table.total += total;
        table.freight += figure(cells, FreightCell).value_or(0);
    }
    return table;
}

QString GoodsTable::summary() const {
    return QStringLiteral("数量：") + shortestDecimalText(quantity) + QStringLiteral("  优惠：") +
           shortestDecimalText(discount) + QStringLiteral("元  总价：") +
           shortestDecimalText(total) + QStringLiteral("元  运费：") +
           shortestDecimalText(freight) + QStringLiteral("元");
}

QString GoodsTable::capitalAmount() const {
    return ToCapitalAmount(total + freight);
}

} // namespace mldd
