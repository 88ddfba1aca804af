#pragma once

#include "LabelRaster.h"
#include "LabelSettings.h"

#include <QList>

namespace mldd {

/**
 * One job of labels in the printer's own language: the label size, sensing,
 * darkness and speed once, then each label as one bitmap the size of the label.
 * Lines end in CR LF, which every one of the three languages takes.
 */
QByteArray labelJob(const LabelSettings& settings, int dotsPerInch,
                    const QList<LabelBitmap>& labels);

/**
 * How EPL2 and TSPL put one label's bitmap at its corner and print it: the same steps in
 * their own words (clear, the bitmap's bytes per row and rows, its dots, print one).
 */
struct BitmapLabelWords {
    QByteArray clear;     // "N", "CLS"
    QByteArray bitmap;    // the command and the corner: "GW0,0,", "BITMAP 0,0,"
    QByteArray afterSize; // what comes between the rows and the dots: ",", ",0,"
    QByteArray print;     // "P1", "PRINT 1,1"
};

/** Each label as one bitmap in `words`; both languages print the dots whose bit is 0. */
QByteArray bitmapLabels(const QList<LabelBitmap>& labels, const BitmapLabelWords& words);

/** TSPL: SIZE, GAP or BLINE, DIRECTION, DENSITY, SPEED, then CLS, BITMAP, PRINT per label. */
QByteArray tsplJob(const LabelSettings& settings, int dotsPerInch,
                   const QList<LabelBitmap>& labels);

/** ZPL: one ^XA…^XZ format per label, its bitmap in ^GFA's compressed ASCII. */
QByteArray zplJob(const LabelSettings& settings, int dotsPerInch, const QList<LabelBitmap>& labels);

/** EPL2: q, Q, D, S, then N, GW, P per label. */
QByteArray eplJob(const LabelSettings& settings, int dotsPerInch, const QList<LabelBitmap>& labels);

} // namespace mldd
