#pragma once

#include <QString>
#include <QStringList>

namespace mldd {

class ErrorLog;
struct PlaceTable;

/** One receiver read from a pasted text, and how sure the reading is. */
struct PastedReceiver {
    QString name;
    QString phone1;
    QString phone2;
    QString zipcode;
    QString address; // the whole address as written, on one line

    // The address split by the place table (full names), and what is left of it.
    QString province;
    QString city;
    QString county;
    QString rest;

    /** The boxes the reading is unsure of, in the seller's words (姓名, 电话, 地址). */
    QStringList unclear;
    /** A name, phone or address with part hidden (林**, 138****5678). */
    bool masked = false;

    /** Name, a phone and an address the table knows: enough to ship. */
    bool isWhole() const { return unclear.isEmpty(); }
    /** Why the reading is unsure, as one line for a row's mark or a message. */
    QString problem() const;
};

/**
 * Reads one receiver from a pasted block: labels before a colon (收货人, 手机号码,
 * 所在地区, 详细地址…), commas, spaces, tabs and line breaks between the parts, in
 * any order. Mobile numbers lose +86/86- and the spaces and dashes inside them;
 * a landline keeps its area code, a virtual number its extension. The address is
 * the piece the place table recognises, split into province, city and county. A
 * labelled part wins over an unlabelled one, then the usual order (name, phone,
 * address) decides. The comma-separated blocks of order pages, name first or
 * address first, are read as RecognizePastedAddress reads them.
 */
PastedReceiver RecognizeReceiver(const QString& text, const PlaceTable& table, const ErrorLog& log);

/** Splits the receiver's address again and judges it anew, after the seller changed it. */
void ReconsiderReceiver(PastedReceiver& receiver, const PlaceTable& table, const ErrorLog& log);

} // namespace mldd
