#pragma once

#include "core/DataFolder.h"

#include <QStringList>

namespace mldd {

/**
 * Reads the one message a browser's extension sends on standard input
 * ({"url": …, "text": …}), hands the page to the window of `folder` (starting
 * `mldd` with `mlddArguments` when none runs) and writes the answer
 * ({"ok": true} or {"ok": false, "message": …}) to standard output.
 */
int answerBrowser(const DataFolder& folder, const QString& mldd, const QStringList& mlddArguments);

} // namespace mldd
