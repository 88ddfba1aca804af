#pragma once

#include <QString>

#include <optional>

namespace mldd {

/**
 * The reversible text form of layout files, print files and printer offset
 * file names: every character's signed code page 936 code in decimal, each
 * followed by "/", then every character shifted by an amount that depends on
 * the length.
 */
namespace LayoutCodec {

QString encode(const QString& text);

/** The text back, or none when `stored` is not text of this form. */
std::optional<QString> decode(const QString& stored);

/** The shift amount k for a coded text of `length` characters (5, 4, … 1, −1, … −5). */
int shiftFor(qsizetype length);

} // namespace LayoutCodec
} // namespace mldd
