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

/** TSPL: SIZE, GAP or BLINE, DIRECTION, DENSITY, SPEED, then CLS, BITMAP, PRINT per label. */
QByteArray tsplJob(const LabelSettings& settings, int dotsPerInch,
                   const QList<LabelBitmap>& labels);

/** ZPL: one ^XA…^XZ format per label, its bitmap in ^GFA's compressed ASCII. */
QByteArray zplJob(const LabelSettings& settings, int dotsPerInch, const QList<LabelBitmap>& labels);

/** EPL2: q, Q, D, S, then N, GW, P per label. */
QByteArray eplJob(const LabelSettings& settings, int dotsPerInch, const QList<LabelBitmap>& labels);

} // namespace mldd
