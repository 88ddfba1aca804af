#include "GoodsLines.h"

#include <QStringList>

namespace mldd::GoodsLines {

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
}

int nonEmptyCount(const QString& goods) {
    return int(goods.split(kLineEnd, Qt::SkipEmptyParts).size());
}

QString firstNonEmpty(const QString& goods, int count) {
    return goods.split(kLineEnd, Qt::SkipEmptyParts).mid(0, count).join(kLineEnd);
}

} // namespace mldd::GoodsLines
