#pragma once

#include "ImportLayout.h"
#include "SheetTable.h"

#include "core/Order.h"

#include <optional>

namespace mldd {

struct MainState;

/**
 * Turns the data rows of a sheet into orders through a layout: the mapped
 * cells into their fields, the goods into lines, the address split when the
 * sheet gives no province, city or county, the destination, and the row's
 * source in hb_dj_id. The import stores them; write-back finds them again.
 */
class RowOrders {
public:
    RowOrders(const MainState& state, const SheetTable& sheet, const ImportLayout& layout,
              const QString& workbookPath);

    /** The order of a row (from 0); none for a row whose mapped cells are all empty. */
    std::optional<Order> orderOf(int row) const;

    /** The source of a row (numbered from 1) as kept in hb_dj_id. */
    static QString sourceOf(const QString& path, const QString& sheet, int row);
    /** What every source of this sheet begins with. */
    QString sourcePrefix() const;

    /** Name and split address, which tell one receiver; empty when either is missing. */
    static QString receiverKey(const Order& order);

private:
    const MainState& m_state;
    const SheetTable& m_sheet;
    const ImportLayout& m_layout;
    QString m_path;
    QString m_goodsSeparator;
};

} // namespace mldd
