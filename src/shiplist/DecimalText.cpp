#include "DecimalText.h"

#include <cmath>

namespace mldd {

QString shortestDecimalText(double value) {
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0");
    // Round to 15 significant digits, then write the digits out in full.
    const double rounded = QString::number(value, 'g', 15).toDouble();
    const int magnitude = int(std::floor(std::log10(std::abs(rounded))));
    QString text = QString::number(rounded, 'f', std::max(0, 14 - magnitude));
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

} // namespace mldd
