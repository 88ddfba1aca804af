#pragma once

#include <QList>

namespace mldd {

struct MainState;

/** 打印发货单: the shipping lists that a waybill print brings after it. */
struct FollowingLists {
    /**
     * Of the orders whose waybills were just printed, those whose shipping list
     * was not printed before; none while 打印发货单 is off.
     */
    static QList<qint64> of(const MainState& state, const QList<qint64>& printedWaybills);
};

} // namespace mldd
