#include "NumSign.h"

#include <cmath>

namespace mldd {

std::optional<double> numSignOf(const QString& orderNumber) {
    QByteArray digits;
    digits.reserve(orderNumber.size());
    for (QChar c : orderNumber) {
        if (c >= u'0' && c <= u'9')
            digits.append(char(c.unicode()));
    }
    if (digits.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = digits.toDouble(&ok);
    // Hundreds of digits overflow a double; such a key cannot sort, so it stays empty.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> numSignOf(const QString& pageNumber, const QString& orderSign) {
    if (const auto fromPage = numSignOf(pageNumber))
        return fromPage;
    return numSignOf(orderSign);
}

} // namespace mldd
