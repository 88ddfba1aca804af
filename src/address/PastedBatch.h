#pragma once

#include "PastedReceiver.h"

#include <QList>
#include <QString>

namespace mldd {

class ErrorLog;
struct PlaceTable;

/** One receiver block of a batch paste, read. */
struct PastedBlock {
    int firstLine = 0; // 1-based line of the pasted text where the block begins
    QString text;      // the block as pasted, numbering taken off
    PastedReceiver receiver;
    /** Why the block cannot be stored as an order; empty when it can. */
    QString refusal() const;
};

/**
 * Cuts a pasted text into receivers and reads each: blocks are separated by
 * blank lines, by lines of dashes (or of = * _ ~), by numbering at a line's
 * start ("1." "2、" "(3)"), and a block whose every line is a whole receiver
 * gives one receiver per line.
 */
QList<PastedBlock> RecognizeBatch(const QString& text, const PlaceTable& table,
                                  const ErrorLog& log);

} // namespace mldd
