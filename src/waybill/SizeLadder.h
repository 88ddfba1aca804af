#pragma once

#include <QString>

namespace mldd {

/** The global waybill font size step applied to every item's size. */
namespace SizeLadder {

/** The step of a step name: "小一号" 1, "小二号" 2, "大一号" −1, "大二号" −2, else 0. */
int stepOf(const QString& name);

/** The size `sizeText` (points) adjusted by `step` on the ladder 9 … 24. */
double adjust(const QString& sizeText, int step);

} // namespace SizeLadder
} // namespace mldd
