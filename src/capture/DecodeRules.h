#pragma once

#include <QString>

namespace mldd {

/** What one run of a decode file over a page gave. */
struct DecodeResult {
    /** The records text: per order "{|D|}" and fifteen fields separated by "{|B|}". */
    QString records;
    /** A goods program produced no line, so a record kept its goods text as it was. */
    bool goodsFallback = false;
    /** The rules outgrew the work or text size a run may use and were stopped. */
    bool cutShort = false;
};

/**
 * Runs a decode file over the text of a captured order page. The file's
 * physical lines are joined first (its line breaks mean nothing); the page's
 * CR LF pairs are significant. `withGoods` is the shipping-list print setting:
 * only then does each record's goods text pass through its goods program.
 */
DecodeResult RunDecodeRules(const QString& pageText, const QString& decodeFileText, bool withGoods);

/** The decode file text with its physical lines joined, without any separator. */
QString joinDecodeFileLines(const QString& fileText);

} // namespace mldd
