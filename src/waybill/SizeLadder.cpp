#include "SizeLadder.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace mldd::SizeLadder {

namespace {

const QStringList kLadder{"9", "10", "10.5", "11", "12", "14", "16", "18", "20", "22", "24"};
constexpr int kSearched = 8; // only "9" … "18" are looked up

// Whole-number value with halves going to the even neighbour, so 10.5 counts as 10.
int wholeNumber(double value) {
    return int(std::nearbyint(value));
}

} // namespace

int stepOf(const QString& name) {
    if (name == u"小一号")
        return 1;
    if (name == u"小二号")
        return 2;
    if (name == u"大一号")
        return -1;
    if (name == u"大二号")
        return -2;
    return 0;
}

double adjust(const QString& sizeText, int step) {
    const double size = sizeText.trimmed().toDouble();
    if (step == 0 || wholeNumber(size) >= 19)
        return size;
    int position = int(kLadder.indexOf(sizeText.trimmed()));
    if (position < 0 || position >= kSearched)
        position = kSearched;
    position = std::clamp(position - step, 0, int(kLadder.size()) - 1);
    return wholeNumber(kLadder[position].toDouble());
}

} // namespace mldd::SizeLadder
