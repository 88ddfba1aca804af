#pragma once

#include "waybill/PagePainter.h"

#include <QStringList>

namespace mldd {

/**
 * The text lines that land outside the page once the printer's placement
 * moved them, each as "text|left,top" (twips): a waybill still prints them,
 * and the log keeps them so a seller can find why a line went missing.
 */
QStringList linesBeyondPage(const PageModel& page, const PrintPlacement& placement);

} // namespace mldd
