#include "LabelCommands.h"

namespace mldd {

QByteArray eplJob(const LabelSettings& settings, int dotsPerInch,
                  const QList<LabelBitmap>& labels) {
    const int gap = dotsOf(settings.gapMm, dotsPerInch);
    QByteArray job = "\r\n"; // ends whatever an earlier job left half-sent
    if (!labels.isEmpty()) {
        job += 'q' + QByteArray::number(labels.first().width) + "\r\n";
        job += 'Q' + QByteArray::number(labels.first().height) + ',' +
               (settings.sensing == LabelSensing::BlackMark ? "B" + QByteArray::number(gap) + "+0"
                                                            : QByteArray::number(gap)) +
               "\r\n";
    }
    job += 'D' + QByteArray::number(settings.darkness) + "\r\n";
    job += 'S' + QByteArray::number(settings.speed) + "\r\n";
    job += "ZT\r\n"; // the label's top is printed first
    return job + bitmapLabels(labels, {"N", "GW0,0,", ",", "P1"});
}

} // namespace mldd
