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
 * The edit panel's reduced recognition: name first only, no separator
 * normalisation. With exactly four parts the fourth becomes the address.
 */
void RecognizeInEditPanel(ReceiverBoxes& boxes);

} // namespace mldd
