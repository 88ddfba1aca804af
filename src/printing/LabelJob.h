#pragma once

#include "LabelSettings.h"

#include "waybill/PagePainter.h"

#include <variant>

namespace mldd {

/**
 * `pages` as one job in the label printer's language, each page one label
 * drawn at the printer's dots; or why a page does not fit the label, before
 * anything is sent.
 */
std::variant<QByteArray, QString> labelJobBytes(const LabelSettings& settings, int dotsPerInch,
                                                PrintPlacement placement,
                                                const QList<PageModel>& pages);

} // namespace mldd
