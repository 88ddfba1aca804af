#pragma once

#include "core/Notice.h"

class QWidget;

namespace mldd {

/** Shows a library's notice as a message box; true when the seller answered Yes (or OK). */
bool showNotice(QWidget* parent, const Notice& notice);
/** Shows a question and gives the seller's answer; closing the box answers 取消 (or 否). */
Notice::Answer askNotice(QWidget* parent, const Notice& notice);

} // namespace mldd
