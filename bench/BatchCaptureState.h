#pragma once

#include "core/MainState.h"

#include <QTemporaryDir>

namespace mldd::bench {

/**
 * The data folder of a seller's store of `orders` orders, built by capturing
 * batch pages (bench_seller_store builds it), kept in the temp folder between runs.
 */
QString sellerStoreFolder(int orders);

/** A started program whose data folder holds the batch page's decode file and one sender. */
struct BatchCaptureState {
    static inline const QString kAddress =
        QStringLiteral("https://trade.taobao.com/trade/batch_send.htm");

    BatchCaptureState();
    /** The same on a data folder that is kept, as it was left (`dataPath`). */
    explicit BatchCaptureState(const QString& dataPath);

    /** Forgets the stored orders and their captured numbers, for the next round. */
    void clearOrders();

    QTemporaryDir dir;
    MainState state;
};

} // namespace mldd::bench
