#pragma once

#include "FaHuoSet.h"
#include "ShippingPaper.h"

#include "core/Notice.h"
#include "core/Order.h"
#include "waybill/PageModel.h"

#include <QDate>

#include <optional>

namespace mldd {

class TextMetrics;

/** A shipping list laid out on pages, with the height each page leaves unused (twips). */
struct ShippingListPages {
    QList<PageModel> pages;
    QList<double> spareHeights;
    /** Why composing stopped before the end; the pages hold what was laid out until then. */
    std::optional<Notice> stopped;
};

/** The cell store of one composition holds at most this many cells. */
inline constexpr int kMaxShippingListCells = 1998;

/**
 * Lays out the shipping list of `order` with `design` on pages of `paper`:
 * every shown item, the goods table whose rows are never cut between pages,
 * the summary line, the total in capitals and the two barcodes. Paper too
 * small for the list stops the composition with its notice.
 */
ShippingListPages ComposeShippingList(const Order& order, const FaHuoSet& design,
                                      const ShippingPaper& paper, QDate today,
                                      TextMetrics& metrics);

/** "您好，发货单纸张小，内容打不下，设置大一点的纸张。" behind the number of the place it stopped.
 */
Notice paperTooSmall(int place);

} // namespace mldd
