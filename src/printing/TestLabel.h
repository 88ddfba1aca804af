#pragma once

#include "LabelSettings.h"

#include "waybill/PageModel.h"

namespace mldd {

/** The number the test label's barcode carries. */
inline const QString kTestLabelCode = QStringLiteral("MLDD2026TEST01");

/**
 * The test label of a label printer: a frame on the label's edges, millimetre
 * rulers along the top and the left (numbered every centimetre), a Code 128
 * barcode across, and the settings it was printed with, so that a seller sees
 * at once whether size, position and darkness are right.
 */
PageModel testLabel(const LabelSettings& settings, int dotsPerInch);

} // namespace mldd
