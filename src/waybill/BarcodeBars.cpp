#include "BarcodeBars.h"

namespace mldd {

QList<BarcodeBars::Run> BarcodeBars::runs() const {
    QList<Run> found;
    for (qsizetype m = 0; m < modules.size();) {
        if (modules[m] != u'b') {
            ++m;
            continue;
        }
        qsizetype end = m;
        while (end < modules.size() && modules[end] == u'b')
            ++end;
        found.append(Run{int(m), int(end - m), end < modules.size()});
        m = end;
    }
    return found;
}

QList<QRectF> BarcodeBars::bars() const {
    QList<QRectF> rects;
    for (const Run& run : runs()) {
        const double width = module * run.length - (run.narrowed ? module / 2 : 0);
        rects.append(QRectF(left + module * run.first, top, width, height));
    }
    return rects;
}

} // namespace mldd
