#pragma once

#include "core/Notice.h"

namespace mldd {

/** The message when a page is captured before any sender profile exists: nothing is captured. */
Notice senderRequired();

} // namespace mldd
