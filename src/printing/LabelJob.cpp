#include "LabelJob.h"

#include "LabelCommands.h"

namespace mldd {

std::variant<QByteArray, QString> labelJobBytes(const LabelSettings& settings, int dotsPerInch,
                                                PrintPlacement placement,
                                                const QList<PageModel>& pages) {
    QList<LabelBitmap> labels;
    for (const PageModel& page : pages) {
        std::variant<LabelBitmap, QString> label =
            rasterLabel(page, settings.labelMm(), dotsPerInch, placement);
        if (const QString* why = std::get_if<QString>(&label))
            return *why;
        labels.append(std::move(std::get<LabelBitmap>(label)));
    }
    return labelJob(settings, dotsPerInch, labels);
}

} // namespace mldd
