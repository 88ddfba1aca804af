#include "GoodsSku.h"

namespace mldd::GoodsSku {

namespace {

const QString kPrefix = QStringLiteral("编码:");

} // namespace

QString word(const QString& sku) {
    QString code = sku.simplified();
    code.remove(u' ');
    return code.isEmpty() ? QString() : kPrefix + code;
}

NameAndSku split(const QString& nameWithSku) {
    const qsizetype space = nameWithSku.lastIndexOf(u' ');
    const qsizetype start = space + 1;
    if (nameWithSku.mid(start, kPrefix.size()) != kPrefix ||
        nameWithSku.size() == start + kPrefix.size())
        return {nameWithSku, {}};
    return {nameWithSku.left(std::max<qsizetype>(space, 0)),
            nameWithSku.mid(start + kPrefix.size())};
}

} // namespace mldd::GoodsSku
