#include "PaperRecords.h"

#include "OffsetUnits.h"

#include <QStringList>

#include <cmath>

namespace mldd {

QString PaperRow::record(int copies) const {
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(name)
        .arg(widthMm)
        .arg(heightMm)
        .arg(widthTwips)
        .arg(heightTwips)
        .arg(copies);
}

namespace PaperRecords {

QList<PaperRow> standardPapers(Orientation orientation) {
    // The twips are the ones printers were always given: A4 is 11904 wide
    // upright but 11905 high across, and both stay as they are.
    static const QList<PaperRow> portrait = {
        {"A4", 210, 297, 11904, 16840},
        {"A5", 148, 210, 8390, 11905},
        {"A6", 105, 148, 5950, 8390},
        {"A7", 74, 105, 4195, 5950},
        {"A8", 52, 74, 2950, 4195},
        {"B5", 176, 250, 9980, 14175},
        {"B6", 125, 176, 7085, 9980},
        {"B7", 88, 125, 4990, 7085},
        {"B8", 62, 88, 3515, 4990},
        // Label printers are exact: their twips are the millimetres' own, not 56.6 to one.
        {"热敏76x130", 76, 130, 4309, 7370},
        {"热敏100x150", 100, 150, 5669, 8504},
        {"热敏100x180", 100, 180, 5669, 10205},
    };
    static const QList<PaperRow> landscape = {
        {"A4", 297, 210, 16840, 11905},
        {"A5", 210, 148, 11905, 8390},
        {"A6", 148, 105, 8390, 5950},
        {"A7", 105, 74, 5950, 4195},
        {"A8", 74, 52, 4195, 2950},
        {"B5", 250, 176, 14175, 9980},
        {"B6", 176, 125, 9980, 7085},
        {"B7", 125, 88, 7085, 4990},
        {"B8", 88, 62, 4990, 3515},
        {"热敏76x130", 130, 76, 7370, 4309},
        {"热敏100x150", 150, 100, 8504, 5669},
        {"热敏100x180", 180, 100, 10205, 5669},
    };
    return orientation == Orientation::Portrait ? portrait : landscape;
}

std::optional<PaperRow> continuousPaper(const QString& widthMm, const QString& heightMm) {
    bool widthOk = false;
    bool heightOk = false;
    const int width = widthMm.trimmed().toInt(&widthOk);
    const int height = heightMm.trimmed().toInt(&heightOk);
    if (!widthOk || !heightOk || width <= 0 || height <= 0 || width > 10000 || height > 10000)
        return std::nullopt;
    const auto twips = [](int mm) {
        return int(std::lround(mm * OffsetUnits::kTwipsPerMillimetre));
    };
    return PaperRow{kContinuousName, width, height, twips(width), twips(height)};
}

int copiesOf(const QString& record) {
    bool ok = false;
    const int copies = record.section(u'|', -1).trimmed().toInt(&ok);
    return ok && copies > 0 ? copies : 1;
}

} // namespace PaperRecords
} // namespace mldd
