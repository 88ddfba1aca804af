#pragma once

#include "SqlCondition.h"

#include <QStringList>

namespace mldd {

/** The list's filter: the condition added to the order query and the caption that tells it. */
struct OrderFilter {
    static inline const QString kAll = QStringLiteral("所有");

    SqlCondition condition;
    QString caption;

    /** What the list shows at start: every order whose waybill is not printed. */
    static OrderFilter initial();

    /** The print-state list, in its order; "快递单未打" is the initial choice. */
    static const QStringList& printStates();
    static bool isPrintState(const QString& state);

    /** The filter of the three filter lists (sender ID, courier form, print state). */
    static OrderFilter fromLists(const QString& sender, const QString& courier,
                                 const QString& printState);

    /** The information line under the list; `complete` is false for a list counted in part. */
    static QString informationLine(const QString& caption, qsizetype records, int pages, int page,
                                   bool complete = true);
};

} // namespace mldd
