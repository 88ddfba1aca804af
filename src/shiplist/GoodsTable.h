#pragma once

#include <QList>
#include <QStringList>

namespace mldd {

/**
 * The goods table of a shipping list: one row per article line of the
 * order's goods text, with its row number, name, quantity, unit price,
 * discount and total, and the sums of the summary line.
 */
struct GoodsTable {
    /** The six column captions of the header row. */
    static const QStringList& captions();

    /** The rows as printed: number, name, quantity, price, discount, total. */
    QList<QStringList> rows;
    double quantity = 0;
    double discount = 0;
    double total = 0;
    double freight = 0;

    /**
     * Reads goods text of one article per line, parts separated by single
     * spaces (name, quantity, price, discount, total, freight). A figure that
     * is missing or no number counts and prints as 0; a line without a total
     * gets quantity × price − discount.
     */
    static GoodsTable fromGoods(const QString& goods);

    /** "数量：… 优惠：…元  总价：…元  运费：…元". */
    QString summary() const;
    /** Total and freight in capital numerals. */
    QString capitalAmount() const;
};

} // namespace mldd
