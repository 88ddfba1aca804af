#pragma once

#include <QString>

#include <optional>

namespace mldd {

/** The set-up's units: offsets shown in millimetres, kept in twips; the vertical factor's text. */
namespace OffsetUnits {

/** The set-up counts 56.6 twips to the millimetre, not 56.69; stored values depend on it. */
inline constexpr double kTwipsPerMillimetre = 56.6;

/** Millimetres (as typed; empty counts as 0) in whole twips; none when the text is no number. */
std::optional<int> twipsFromMillimetres(const QString& millimetres);

/** Twips shown in millimetres, at most two decimals, never starting with ".". */
QString millimetresFromTwips(int twips);

/** A typed millimetre text as the set-up shows it: ".5" → "0.5", "-.5" → "-0.5". */
QString withLeadingZero(const QString& millimetres);

/** The vertical factor as stored: two decimals, a leading "0" below 1. */
QString factorText(double factor);

/** The stored factor; "1.00" for anything that is no positive number. */
double factorFromText(const QString& text);

/** The factor after the view's line spacing was set to `percent` (100 keeps it). */
double adjustedFactor(double factor, int percent);

} // namespace OffsetUnits
} // namespace mldd
