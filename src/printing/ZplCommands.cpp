#include "LabelCommands.h"

#include <algorithm>

namespace mldd {

namespace {

constexpr int kMaxRepeat = 400; // "z"

// ^GFA's repeat counts: g…z are 20…400 in steps of 20, G…Y are 1…19; then the digit.
void appendRun(QByteArray& out, char digit, int count) {
    while (count > 0) {
        const int now = std::min(count, kMaxRepeat);
        if (now >= 20)
            out += char('g' + now / 20 - 1);
        if (now % 20 > 0 && now > 1)
            out += char('G' + now % 20 - 1);
        out += digit;
        count -= now;
    }
}

// One row of hex digits compressed: runs counted, a row that ends in zeros (or F's) ended by
// "," (or "!"), a row like the one before it written as ":".
QByteArray compressedRow(const QByteArray& hex) {
    QByteArray out;
    int end = int(hex.size());
    char filler = 0;
    if (hex.endsWith('0') || hex.endsWith('F')) {
        filler = hex.back();
        while (end > 0 && hex[end - 1] == filler)
            --end;
    }
    for (int i = 0; i < end;) {
        int j = i + 1;
        while (j < end && hex[j] == hex[i])
            ++j;
        appendRun(out, hex[i], j - i);
        i = j;
    }
    if (filler)
        out += filler == '0' ? ',' : '!';
    return out;
}

} // namespace

QByteArray zplJob(const LabelSettings& settings, int, const QList<LabelBitmap>& labels) {
    // ~SD counts darkness 0–30, twice as finely as the others.
    QByteArray job = "~SD" + QByteArray::number(settings.darkness * 2).rightJustified(2, '0');
    for (const LabelBitmap& label : labels) {
        job += "\r\n^XA\r\n^PW" + QByteArray::number(label.width) + "\r\n^LL" +
               QByteArray::number(label.height) + "\r\n";
        job += settings.sensing == LabelSensing::BlackMark ? "^MNM" : "^MNY";
        job += "\r\n^PR" + QByteArray::number(settings.speed) + "\r\n^LH0,0\r\n";
        const int bytesPerRow = label.bytesPerRow();
        const QByteArray total = QByteArray::number(qsizetype(bytesPerRow) * label.height);
        job += "^FO0,0^GFA," + total + ',' + total + ',' + QByteArray::number(bytesPerRow) + ',';
        QByteArray previous;
        for (int y = 0; y < label.height; ++y) {
            const QByteArray hex =
                label.bits.mid(qsizetype(y) * bytesPerRow, bytesPerRow).toHex().toUpper();
            job += y > 0 && hex == previous ? QByteArray(":") : compressedRow(hex);
            previous = hex;
        }
        job += "^FS\r\n^PQ1\r\n^XZ";
    }
    job += "\r\n";
    return job;
}

} // namespace mldd
