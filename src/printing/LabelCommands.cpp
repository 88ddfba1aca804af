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

} // namespace mldd
