#include "LabelRaster.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace mldd {

namespace {

constexpr double kMillimetresPerInch = 25.4;

// A dot prints where the drawn grey is darker than half.
bool inked(QRgb pixel) {
    return qGreen(pixel) < 128;
}

// The size in dots the print needs, from the label's top-left corner: at least the label's.
QSize neededSize(const QImage& image, QSize label) {
    int right = label.width();
    int bottom = label.height();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        // Inside the label's height only what lies right of the widest print so far matters.
        const int from = y < label.height() ? right : 0;
        for (int x = image.width() - 1; x >= from; --x) {
            if (inked(row[x])) {
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
                break;
            }
        }
    }
    return {right, bottom};
}

QString refusal(QSize needed, QSizeF labelMm, int dotsPerInch) {
    const auto mm = [dotsPerInch](int dots) {
        return QString::number(std::ceil(dots * kMillimetresPerInch / dotsPerInch));
    };
    return QStringLiteral("内容放不下%1×%2毫米的标签，需要%3×%4毫米的标签：请在打印机设置中"
                          "选择合适的标签尺寸，或换用适合这种标签的模板。")
        .arg(QString::number(labelMm.width()), QString::number(labelMm.height()),
             mm(needed.width()), mm(needed.height()));
}

} // namespace

int dotsOf(double millimetres, int dotsPerInch) {
    return int(std::lround(millimetres * dotsPerInch / kMillimetresPerInch));
}

std::variant<LabelBitmap, QString> rasterLabel(const PageModel& page, QSizeF labelMm,
                                               int dotsPerInch, PrintPlacement placement) {
    const QSize label(dotsOf(labelMm.width(), dotsPerInch), dotsOf(labelMm.height(), dotsPerInch));
    const double dotsPerTwip = dotsPerInch / kTwipsPerInch;
    // Drawn over the page and the label both and half as much again, so that what falls off the
    // label can be told: bars of whole dots come out wider than modelled, offsets move the print.
    const QSize covered(std::max(label.width(), int(std::ceil(page.size.width() * dotsPerTwip))),
                        std::max(label.height(), int(std::ceil(page.size.height() * dotsPerTwip))));
    const QSize drawn = covered * 3 / 2;
    QImage image(drawn, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(dotsPerInch / kMillimetresPerInch * 1000));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        // Grey edges would only be cut at the threshold: the dots are decided here.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        PagePainter(dotsPerInch, placement, dotsPerInch).paint(painter, page);
    }
    if (const QSize needed = neededSize(image, label); needed != label)
        return refusal(needed, labelMm, dotsPerInch);

    LabelBitmap bitmap{label.width(), label.height(), {}};
    bitmap.bits = QByteArray(bitmap.bytesPerRow() * bitmap.height, '\0');
    auto* out = reinterpret_cast<uchar*>(bitmap.bits.data());
    for (int y = 0; y < bitmap.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* bytes = out + y * bitmap.bytesPerRow();
        for (int x = 0; x < bitmap.width; ++x) {
            if (inked(row[x]))
                bytes[x / 8] |= uchar(0x80 >> (x % 8));
        }
    }
    return bitmap;
}

} // namespace mldd
