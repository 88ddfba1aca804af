#include "OffsetUnits.h"

#include <cmath>

namespace mldd::OffsetUnits {

std::optional<int> twipsFromMillimetres(const QString& millimetres) {
    const QString text = millimetres.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > 10000)
        return std::nullopt;
    return int(std::lround(value * kTwipsPerMillimetre));
}

QString millimetresFromTwips(int twips) {
    const double millimetres = std::round(twips / kTwipsPerMillimetre * 100) / 100;
    return withLeadingZero(QString::number(millimetres));
}

QString withLeadingZero(const QString& millimetres) {
    if (millimetres.startsWith(u'.'))
        return u'0' + millimetres;
    if (millimetres.startsWith(QStringLiteral("-.")))
        return QStringLiteral("-0") + millimetres.mid(1);
    return millimetres;
}

QString factorText(double factor) {
    return QString::number(factor, 'f', 2);
}

double factorFromText(const QString& text) {
    bool ok = false;
    const double factor = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(factor) && factor > 0 ? factor : 1.0;
}

double adjustedFactor(double factor, int percent) {
    if (percent <= 0)
        return factor;
    return std::round(factor * 100.0 / percent * 100) / 100;
}

} // namespace mldd::OffsetUnits
