#include "LabelCommands.h"

namespace mldd {

QByteArray labelJob(const LabelSettings& settings, int dotsPerInch,
                    const QList<LabelBitmap>& labels) {
    switch (settings.language) {
    case LabelLanguage::Tspl:
        return tsplJob(settings, dotsPerInch, labels);
    case LabelLanguage::Zpl:
        return zplJob(settings, dotsPerInch, labels);
    case LabelLanguage::Epl:
        return eplJob(settings, dotsPerInch, labels);
    case LabelLanguage::Driver:
        break;
    }
    return {};
}

QByteArray bitmapLabels(const QList<LabelBitmap>& labels, const BitmapLabelWords& words) {
    QByteArray commands;
    for (const LabelBitmap& label : labels) {
        commands += words.clear + "\r\n" + words.bitmap + QByteArray::number(label.bytesPerRow()) +
                    ',' + QByteArray::number(label.height) + words.afterSize;
        commands += label.whiteOnes();
        commands += "\r\n" + words.print + "\r\n";
    }
    return commands;
}

} // namespace mldd
