#include "ShippingPaper.h"

#include "waybill/PageModel.h"

#include <QStringList>

namespace mldd {

ShippingPaper ShippingPaper::fromRecord(const QString& record) {
    const QStringList fields = record.split(u'|');
    if (fields.size() < 5)
        return {};
    bool widthOk = false;
    bool heightOk = false;
    const double width = fields[3].trimmed().toDouble(&widthOk);
    const double height = fields[4].trimmed().toDouble(&heightOk);
    if (!widthOk || !heightOk || !isPosition(width) || !isPosition(height) || width <= 0 ||
        height <= 0)
        return {};
    return {QSizeF(width, height)};
}

} // namespace mldd
