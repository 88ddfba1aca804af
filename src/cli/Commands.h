#pragma once

#include "CliContext.h"

namespace mldd::cli {

/** orders [--state NAME] [--page N] [--json]: one page of the order list. */
int runOrders(const CliContext& context, QStringList args);

/** split-address [--area FILE] ADDRESS...: one JSON object per address. */
int runSplitAddress(const CliContext& context, QStringList args);

/** recognize [--edit-panel] TEXT: the receiver fields found in a pasted block. */
int runRecognize(const CliContext& context, QStringList args);

/** add --paste FILE [--sender ID] [--goods TEXT]: stores the receivers pasted in a text. */
int runAdd(const CliContext& context, QStringList args);
/** codec encode|decode TEXT: the layout codec's encoded or decoded text. */
int runCodec(const CliContext& context, QStringList args);

/** code128 TEXT: the Code 128 symbol values, start to stop. */
int runCode128(const CliContext& context, QStringList args);

/**
 * print waybill --ids … (--pdf OUT | --printer NAME), print shiplist --ids … --pdf OUT:
 * prints the orders' waybills or shipping lists and marks them; print picking: their
 * picking list, marking nothing.
 */
int runPrint(const CliContext& context, QStringList args);
/** decode --rules FILE --page FILE [--goods]: the records text a decode file makes of a page. */
int runDecode(const CliContext& context, QStringList args);

/** goods --program FILE --text FILE: a goods text reshaped by a goods program. */
int runGoods(const CliContext& context, QStringList args);

/** profile save|delete|list: the sender profiles (my_data). */
int runProfile(const CliContext& context, QStringList args);

/** decode-files refresh --url URL | repair | check: keeping the decode files current. */
int runDecodeFiles(const CliContext& context, QStringList args);

/** plan TEMPLATE [PROVINCE=TEMPLATE ...]: the express plan, then the missing couriers filled. */
int runPlan(const CliContext& context, QStringList args);

/** capture --url URL --page FILE [--bind SELLER=PROFILE]: stores the orders of a page. */
int runCapture(const CliContext& context, QStringList args);

/** import --file F --layout NAME …: stores the orders of a workbook's sheet through a layout. */
int runImport(const CliContext& context, QStringList args);

/** writeback --file F --layout NAME [--sheet S]: tracking numbers and couriers into the workbook.
 */
int runWriteBack(const CliContext& context, QStringList args);

/** capital AMOUNT: the amount in Chinese capital numerals. */
int runCapital(const CliContext& context, QStringList args);

/** captured list | clear (--shop ID | --all): the captured-number lists of the shops. */
int runCaptured(const CliContext& context, QStringList args);

/** tracking import --file F | run --from NUMBER --ids …: tracking numbers for many orders at once.
 */
int runTracking(const CliContext& context, QStringList args);

/** db backup | list | restore [FILE] | check: the order database's backups and daily check. */
int runDb(const CliContext& context, QStringList args);

/** printer set|show --printer NAME …: a printer's language and labels. */
int runPrinter(const CliContext& context, QStringList args);

} // namespace mldd::cli
