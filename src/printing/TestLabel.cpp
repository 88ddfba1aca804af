#include "TestLabel.h"

#include "waybill/Code128.h"
#include "waybill/FontFaces.h"
#include "waybill/TextMetrics.h"

#include <algorithm>

namespace mldd {

namespace {

constexpr double kEdge = 20; // twips from the edge to the frame's middle: all of it on the label
constexpr double kMm = kTwipsPerMillimetre;

void addRule(PageModel& page, double x1, double y1, double x2, double y2, double width = 20) {
    page.rules.append(RuleLine{x1, y1, x2, y2, width});
}

} // namespace

PageModel testLabel(const LabelSettings& settings, int dotsPerInch) {
    PageModel page;
    const double width = settings.labelMm().width() * kMm;
    const double height = settings.labelMm().height() * kMm;
    page.size = QSizeF(width, height);
    const double right = width - kEdge;
    const double bottom = height - kEdge;
    addRule(page, kEdge, kEdge, right, kEdge);
    addRule(page, right, kEdge, right, bottom);
    addRule(page, right, bottom, kEdge, bottom);
    addRule(page, kEdge, bottom, kEdge, kEdge);

    const FontSpec small{FontFaces::kPrintingFace, 6};
    for (int mm = 1; mm < int(settings.labelMm().width()); ++mm) {
        const double length = (mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5) * kMm;
        addRule(page, mm * kMm, kEdge, mm * kMm, length);
        if (mm % 10 == 0)
            page.texts.append(TextLine{mm * kMm + 20, 4 * kMm, QString::number(mm / 10), small});
    }
    for (int mm = 1; mm < int(settings.labelMm().height()); ++mm) {
        const double length = (mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5) * kMm;
        addRule(page, kEdge, mm * kMm, length, mm * kMm);
        if (mm % 10 == 0)
            page.texts.append(TextLine{4.5 * kMm, mm * kMm - 60, QString::number(mm / 10), small});
    }

    const FontSpec text{FontFaces::kPrintingFace, 11, true};
    const double left = 10 * kMm;
    page.texts.append(TextLine{left, 10 * kMm, QStringLiteral("墨岚打单 测试标签"), text});
    const FontSpec detail{FontFaces::kPrintingFace, 9};
    page.texts.append(TextLine{left, 17 * kMm,
                               QStringLiteral("%1  %2 dpi  %3 毫米")
                                   .arg(LabelLanguages::name(settings.language))
                                   .arg(dotsPerInch)
                                   .arg(LabelLanguages::sizeText(settings.labelMm())),
                               detail});
    page.texts.append(TextLine{
        left, 22 * kMm,
        QStringLiteral("浓度 %1  速度 %2").arg(settings.darkness).arg(settings.speed), detail});
    TextMetrics metrics;
    Code128::Field field;
    field.left = left;
    field.top = 30 * kMm;
    // Modules of whole dots come out wider than modelled: room for that on the label.
    field.width = 0.6 * width;
    field.height = std::max(3 * kMm, std::min(15 * kMm, height - 40 * kMm));
    field.font = detail;
    Code128::draw(page, metrics, kTestLabelCode, field);
    return page;
}

} // namespace mldd
