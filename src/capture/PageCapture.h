#pragma once

#include "ExtractedRecords.h"
#include "ServiceClient.h"

namespace mldd {

struct MainState;

/** What capturing one order page did, and what to tell the seller. */
struct PageCaptureResult {
    enum class Outcome {
        Ignored,              // an address too short to name a page
        EmptyPage,            // the page has no text
        FirstUse,             // the address "FIRST": the welcome and the help page
        NoDecodeFile,         // the service has no decode file for this kind of page yet
        Blocked,              // this kind of page holds no buyer addresses
        ServiceFailed,        // no decode file on disk and none from the service
        DecodeFileUnreadable, // the decode file on disk is too big or no regular file
        NeedsBinding,         // a seller id answers to no sender profile; nothing stored
        Stored,               // the records were stored (possibly none of them new)
        StoreFailed,          // the database refused the batch; nothing stored
    };

    Outcome outcome = Outcome::Ignored;
    /** The progress line while the decode file is looked for, and after "[NO]". */
    QString progress;
    /** Messages to show, in order. */
    QList<Notice> notices;
    /** After "[NO]" on a page that names no province: ask whether it holds orders. */
    std::optional<Notice> question;
    /** A help page to open (first use). */
    QString helpPage;
    CaptureCount count;
    /** Said in the status line in place of the counts (a message not shown in a box again). */
    QString statusNote;

    /** The status line once the capture is over: the counts, or why nothing was taken. */
    QString statusLine() const;
};

/**
 * Captures one order page: makes its text ready for the rules, finds its
 * decode file (downloading it the first time), runs it over the page text and
 * stores the records. Every capture source (browser, clipboard, launcher,
 * mldd-cli) comes in here. Goods texts are reshaped by the goods programs only
 * when shipping lists are printed (the 打印发货单 setting), whoever captures.
 */
PageCaptureResult capturePage(MainState& state, const QString& address, const QString& pageText,
                              const ServiceClient& service);
/** The same with the goods programs run or not whatever the setting says. */
PageCaptureResult capturePage(MainState& state, const QString& address, const QString& pageText,
                              const ServiceClient& service, bool withGoods);

} // namespace mldd
