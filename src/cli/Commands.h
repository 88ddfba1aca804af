#pragma once

#include "CliContext.h"

namespace mldd::cli {

/** orders [--state NAME] [--page N] [--json]: one page of the order list. */
int runOrders(const CliContext& context, QStringList args);

} // namespace mldd::cli
