#include "LabelCommands.h"

namespace mldd {

namespace {

QByteArray millimetres(double value) {
    return QByteArray::number(value, 'g', 6) + " mm";
}

} // namespace

QByteArray tsplJob(const LabelSettings& settings, int, const QList<LabelBitmap>& labels) {
    QByteArray job;
    job += "SIZE " + millimetres(settings.labelMm().width()) + ',' +
           millimetres(settings.labelMm().height()) + "\r\n";
    job += (settings.sensing == LabelSensing::BlackMark ? "BLINE " : "GAP ") +
           millimetres(settings.gapMm) + ",0 mm\r\n";
    // The label's top leaves the printer first, as the page is drawn.
    job += "DIRECTION 1\r\nREFERENCE 0,0\r\n";
    job += "DENSITY " + QByteArray::number(settings.darkness) + "\r\n";
    job += "SPEED " + QByteArray::number(settings.speed) + "\r\n";
    // Mode 0 of BITMAP: the dots overwrite the cleared label.
    return job + bitmapLabels(labels, {"CLS", "BITMAP 0,0,", ",0,", "PRINT 1,1"});
}

} // namespace mldd
