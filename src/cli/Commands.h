#pragma once

#include "CliContext.h"

namespace mldd::cli {

/** orders [--state NAME] [--page N] [--json]: one page of the order list. */
int runOrders(const CliContext& context, QStringList args);

/** split-address [--area FILE] ADDRESS...: one JSON object per address. */
int runSplitAddress(const CliContext& context, QStringList args);

/** recognize [--edit-panel] TEXT: the receiver fields found in a pasted block. */
int runRecognize(const CliContext& context, QStringList args);
/** codec encode|decode TEXT: the layout codec's encoded or decoded text. */
int runCodec(const CliContext& context, QStringList args);

/** code128 TEXT: the Code 128 symbol values, start to stop. */
int runCode128(const CliContext& context, QStringList args);

/**
 * print waybill --ids … (--pdf OUT | --printer NAME), print shiplist --ids … --pdf OUT:
 * prints the orders' waybills or shipping lists and marks them.
 */
int runPrint(const CliContext& context, QStringList args);

/** capital AMOUNT: the amount in Chinese capital numerals. */
int runCapital(const CliContext& context, QStringList args);

} // namespace mldd::cli
