#pragma once

#include "LabelSettings.h"

namespace mldd {

/**
 * The language a queue's printer most likely speaks, from what CUPS says of
 * it: the maker and model in its USB device URI or its driver's name, and
 * whether it is a raw queue (no driver, so no PDF it could print).
 */
LabelLanguage detectLabelLanguage(const QString& deviceUri, const QString& makeAndModel);

} // namespace mldd
