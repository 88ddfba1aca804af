#pragma once

#include "ImportLayout.h"
#include "SheetTable.h"

#include "core/Order.h"

#include <QHash>
#include <QSet>

#include <optional>

namespace mldd {

struct MainState;

/**
 * Turns the data rows of a sheet into orders through a layout: the mapped
 * cells into their fields, the goods into lines, the address split when the
 * sheet gives no province, city or county, the destination, and the row's
 * source in hb_dj_id. Rows of one order number (an export's goods lines) make
 * one order with a goods line each. The import stores them; write-back finds
 * them again.
 */
class RowOrders {
public:
    RowOrders(const MainState& state, const SheetTable& sheet, const ImportLayout& layout,
              const QString& workbookPath);

    /**
     * The order of a row (from 0); none for a row whose mapped cells are all
     * empty and for a later row of an order number, which the order of its
     * first row takes in.
     */
    std::optional<Order> orderOf(int row) const;
    /** The later rows (goods lines) of the order whose first row this is. */
    QList<int> laterRowsOf(int row) const { return m_moreRows.value(row); }
    /**
     * Why a row cannot be an order (it ends before the cells an order needs, or
     * has no order number where the others have one); empty when it can.
     */
    QString damageOf(int row) const;

    /** The source of a row (numbered from 1) as kept in hb_dj_id. */
    static QString sourceOf(const QString& path, const QString& sheet, int row);
    /** What every source of this sheet begins with. */
    QString sourcePrefix() const;

    /** Name and split address, which tell one receiver; empty when either is missing. */
    static QString receiverKey(const Order& order);

private:
    /** The mapped texts of one row by import slot, export guards removed. */
    QList<QString> slotsOf(int row) const;
    /** The goods line of a row: name, variant (size, colour), code and figures. */
    QString goodsOf(const QList<QString>& slots) const;

    const MainState& m_state;
    const SheetTable& m_sheet;
    const ImportLayout& m_layout;
    QString m_path;
    QString m_goodsSeparator;
    QString m_market;                  // the word before each order number
    QHash<int, QList<int>> m_moreRows; // an order's first row → its later rows
    QSet<int> m_laterRows;
};

} // namespace mldd
