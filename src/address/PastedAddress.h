#pragma once

#include <QString>

namespace mldd {

/**
 * The receiver boxes that automatic recognition fills. Recognition reads the
 * pasted block from `address` and overwrites only the boxes it finds a part
 * for; the others keep what they held.
 */
struct ReceiverBoxes {
    QString name;
    QString phone1;
    QString phone2;
    QString zipcode;
    QString address;
};

/** Splits the block pasted into the entry window's address box (name first or address first). */
void RecognizePastedAddress(ReceiverBoxes& boxes);

/**
 * The order card's recognition: the parts of a name-first block are told apart
 * by their shape (telephone numbers, a six-digit postcode, the rest is the
 * address) wherever they stand; an address-first block is read as the entry
 * window reads it. Every box takes what the block gives, empty where it gives
 * nothing, so no part of the old receiver stays behind.
 */
void RecognizeInCard(ReceiverBoxes& boxes);

/**
 * The edit panel's reduced recognition: name first only, no separator
 * normalisation. With exactly four parts the fourth becomes the address.
 */
void RecognizeInEditPanel(ReceiverBoxes& boxes);

} // namespace mldd
