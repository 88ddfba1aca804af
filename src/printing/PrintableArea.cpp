#include "PrintableArea.h"

namespace mldd {

QStringList linesBeyondPage(const PageModel& page, const PrintPlacement& placement) {
    QStringList beyond;
    for (const TextLine& line : page.texts) {
        const double left = placement.x(line.left);
        const double top = placement.y(line.top);
        if (left < 0 || top < 0 || left >= page.size.width() || top >= page.size.height())
            beyond.append(
                QStringLiteral("%1|%2,%3").arg(line.text).arg(qRound(left)).arg(qRound(top)));
    }
    return beyond;
}

} // namespace mldd
