#pragma once

#include <QList>
#include <QStringList>

namespace mldd {

/**
 * The goods table of a shipping list: one row per article of the order's
 * goods text, with its row number, name, quantity, unit price, discount and
 * total, and the sums of the summary line.
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
     * Reads goods text as pages give it: articles one a line or joined by "；"
     * or ";". Each article is read from its end: the numbers there are
     * quantity, unit price, discount, total and freight, as far as it has
     * them, and what stands before them, spaces and all, is the name. A count
     * may be typed "x2" or "×2", money "￥89" or "89元"; a price marked so
     * before a marked count ("￥89 x2") is read as the price. When
     * the numbers would make the total negative the first of them is part
     * of the name ("iPhone 15 1 5999"). A missing discount prints as 0, a
     * missing total is quantity × price − discount; an article without
     * numbers, or with a negative one among them ("T恤 -5 59.00"), is a name
     * with empty figures.
     */
    static GoodsTable fromGoods(const QString& goods);

    /** "数量：… 优惠：…元  总价：…元  运费：…元". */
    QString summary() const;
    /** 总价 in capital numerals; beyond what capitals write, why there are none. */
    QString capitalAmount() const;
};

} // namespace mldd
