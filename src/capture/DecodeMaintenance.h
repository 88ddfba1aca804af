#pragma once

#include "ServiceClient.h"

#include "core/Notice.h"

#include <QStringList>

#include <array>

namespace mldd {

struct MainState;

/** Keeping decode files current, and building one from a page by hand. */
namespace DecodeMaintenance {

/** What asking the service for a newer decode file gave. */
struct Refresh {
    bool updated = false;
    std::optional<Notice> notice;
};

/** The status line while the service is asked for a newer decode file. */
QString refreshProgress();

/** Asks the service for a newer version of a page key's decode file and stores it. */
Refresh refreshDecodeFile(MainState& state, const QString& pageKey, const ServiceClient& service);

/** Whether the maker's service answers: the program's online state. */
bool serviceOnline(const QString& serviceBase, const ServiceClient& service);

/** Deletes every decode file when the service answers, so that each is fetched anew. */
Notice repairExtraction(MainState& state, bool online);

/** The address of the service's list of current decode files, as the browser loads it. */
QString idListAddress(const QString& serviceBase, int secondsSinceMidnight);

/** The captions of the record fields 0–14, as the self-service editor labels its boxes. */
const QStringList& fieldLabels();

/** The values pasted for fields 0–14, each as it stands on the page (empty when not given). */
using PastedValues = std::array<QString, 15>;

/** The refusal for a pasted value that is not one contiguous piece of the page text. */
std::optional<Notice> checkPastedValue(const QString& pageText, const QString& value,
                                       const QString& fieldLabel);

/** A decode file built from pasted values, or why none could be. */
struct BuiltFile {
    QString decodeText;
    std::optional<Notice> refusal;
};

/**
 * Builds a decode file that cuts each pasted value out of the page by the
 * text just before and just after it; run over the same page it gives the
 * pasted values back in one record.
 */
BuiltFile buildDecodeFile(const QString& pageText, const PastedValues& values);

/**
 * The records a decode file makes of a page: each record's fifteen fields
 * (goods as the page has them). Shows the seller what a built file extracts.
 */
QList<QStringList> extractedRecords(const QString& pageText, const QString& decodeText);

/** Told when the editor's page address names no page, so no decode file belongs to it. */
Notice noPageNotice();

/** Stores a built decode file under the page key; the message to show. */
Notice saveBuiltDecodeFile(MainState& state, const QString& pageKey, const QString& decodeText);

/** What comparing the decode files with the service's list of current ones did. */
struct Check {
    bool ok = false;
    Notice notice;
};

/** Deletes every decode file when the service's list of current ones changed. */
Check checkDecodeFiles(MainState& state, const ServiceClient& service);

} // namespace DecodeMaintenance
} // namespace mldd
