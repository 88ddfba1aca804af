#pragma once

#include "PrintDocuments.h"

#include "core/Notice.h"

#include <QList>

namespace mldd {

class OrderStore;

/**
 * The question before a run of the list: how many documents it prints and how
 * many of them were printed before, so that nothing prints twice unasked.
 */
struct PrintQuestion {
    QList<qint64> all;       // the orders the run would print, in order
    QList<qint64> unprinted; // of those, the ones not marked printed
    /** 是/否 when none was printed before; 是 all, 否 skip the printed, 取消 otherwise. */
    Notice question;

    static PrintQuestion about(const OrderStore& store, PrintDocuments::Kind kind,
                               const QList<qint64>& ids);
    /** The orders to print for the seller's answer; empty when the run is not wanted. */
    QList<qint64> chosen(Notice::Answer answer) const;
};

} // namespace mldd
