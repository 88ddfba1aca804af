#pragma once

#include "PickingList.h"

#include "core/SenderProfile.h"
#include "waybill/PageModel.h"

#include <QDate>

namespace mldd {

class TextMetrics;

/** What the head of a picking list says besides its counts. */
struct PickingListHead {
    QDate date;
    QString sender; // the senders of the orders, joined
};

/** A4 portrait: a picking list goes to the office printer, not the label printer. */
inline constexpr QSizeF kPickingListPaper{11904, 16840};

/**
 * Lays the picking list out on pages of `paper`: the head with date, sender
 * and counts, then the items as table rows (long names wrapped, a row never
 * cut between pages, the column captions repeated on every page), a heading
 * per courier when grouped, and the total line; each page numbered.
 */
QList<PageModel> pickingListPages(const PickingList& list, const PickingListHead& head,
                                  TextMetrics& metrics, QSizeF paper = kPickingListPaper);

/**
 * The picking list of `orders` dated `date`, laid out on `paper`; its head names the
 * orders' senders (shop, else the sender's name) from `profiles`.
 */
QList<PageModel> pickingListOf(const QList<Order>& orders, const QList<SenderProfile>& profiles,
                               QDate date, bool byCourier, TextMetrics& metrics,
                               QSizeF paper = kPickingListPaper);

} // namespace mldd
