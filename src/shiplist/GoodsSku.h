#pragma once

#include <QString>

namespace mldd::GoodsSku {

/**
 * An article's 商家编码 travels in its goods line as the last word of the name,
 * "编码:" and the code, right before the figures: the shipping list prints it
 * with the name, the picking list sorts and counts by it, and a code of digits
 * alone can never be taken for a quantity or a price.
 */

/** The word that carries `sku` in a goods line (spaces in the code are dropped); empty for none. */
QString word(const QString& sku);

/** An article's name and its code, read back from the name part of a goods line. */
struct NameAndSku {
    QString name;
    QString sku;
};
NameAndSku split(const QString& nameWithSku);

} // namespace mldd::GoodsSku
