#pragma once

#include "ItemRecord.h"

#include <QRectF>
#include <QString>

#include <optional>

namespace mldd {

/**
 * Edits of one layout record's text: one field replaced, the others kept as
 * they stand, so that a record the seller did not touch is written back byte
 * for byte.
 */
namespace RecordFields {

inline constexpr int kPrintState = 0;
inline constexpr int kBold = 1;
inline constexpr int kSource = 2;
inline constexpr int kCaption = 3;
inline constexpr int kFace = 4;
inline constexpr int kSize = 5;
inline constexpr int kAlignment = 6;
inline constexpr int kBox = 7;
inline constexpr int kWrap = 8;
inline constexpr int kCount = 9;

QString field(const QString& record, int field);

/** The record with `field` replaced; fields 0 to 8 are joined, so a short record gains empty ones.
 */
QString withField(const QString& record, int field, const QString& value);

/** The box in whole twips behind the record's anchor code; a width wrap follows the new width. */
QString withBox(const QString& record, const QRectF& box);

/** The anchor `code` in front of the record's box. */
QString withAnchor(const QString& record, const QString& code);

/** The wrap field: "N^", "L^" and the box's width, or "M^" and a count of at least 2. */
QString wrapField(WrapMode mode, double width, int count = 0);

/** The characters per line of a typed text (its digits); none when not more than 1. */
std::optional<int> wrapCount(const QString& typed);

/** A new printed record of `source` in the default face and size at `box`. */
QString make(const QString& caption, const QString& source, const QRectF& box);

/** Codes of the print state, the alignment and the anchors, as the record stores them. */
inline const QString kPrinted = QStringLiteral("Y");
inline const QString kHidden = QStringLiteral("C");
inline const QString kNotPrinted = QStringLiteral("N");
QString alignmentCode(Alignment alignment);

} // namespace RecordFields
} // namespace mldd
