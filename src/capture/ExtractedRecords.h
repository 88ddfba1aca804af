#pragma once

#include "core/Notice.h"

#include <QStringList>

namespace mldd {

struct MainState;

/** What storing the records of one capture did. */
struct CaptureCount {
    int newOrders = 0;
    int duplicates = 0;
    int alreadyCaptured = 0;
    /** The over-long fields, each "\r\n[column]超长" + length. */
    QString errorNote;
    /** A seller id that no sender profile answers to: nothing was stored, bind it first. */
    QString unboundSeller;
    /** That seller's field 0 as the page gave it: the binding is stored under this. */
    QString unboundCaptured;
    /** Why an order got no courier form (no templates, no plan). */
    std::optional<Notice> courierNotice;
    /** The express plan is empty: the window opens it, and its saving fills the couriers. */
    bool openPlanPanel = false;
    /** Addresses needed splitting but the place-name table is missing or empty. */
    bool placeTableMissing = false;
    bool stored = false;
    /** Why nothing was stored, in the seller's words (the database or a list was refused). */
    QString failure;
    /** The database was found damaged while storing. */
    bool damaged = false;

    /** The status line after a capture. */
    QString statusLine() const;
    /** The message when every order of the page had been captured before. */
    std::optional<Notice> alreadyCapturedNotice() const;
};

/** The shop-and-seller value of a record's field 0, with the shop type made one we know. */
QString shopAndSeller(const QString& field0);

/**
 * Stores the records text of a decode run as new orders, in one transaction:
 * orders captured before and duplicate order numbers are skipped, every field
 * follows the write rule, addresses are split and couriers chosen. Then the
 * list shows this sender's orders whose waybill is not printed.
 */
CaptureCount StoreExtractedRecords(MainState& state, const QString& recordsText);

} // namespace mldd
