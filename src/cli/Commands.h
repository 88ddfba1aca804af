#pragma once

#include "CliContext.h"

namespace mldd::cli {

/** orders [--state NAME] [--page N] [--json]: one page of the order list. */
int runOrders(const CliContext& context, QStringList args);

/** split-address [--area FILE] ADDRESS...: one JSON object per address. */
int runSplitAddress(const CliContext& context, QStringList args);

/** recognize [--edit-panel] TEXT: the receiver fields found in a pasted block. */
int runRecognize(const CliContext& context, QStringList args);

/** profile save|delete|list: the sender profiles (my_data). */
int runProfile(const CliContext& context, QStringList args);

} // namespace mldd::cli
