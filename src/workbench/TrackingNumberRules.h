#pragma once

#include "core/Notice.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace mldd {

/** What one courier's tracking numbers look like, and how its paper forms are numbered. */
struct TrackingNumberRule {
    /** How the next form of a pad is numbered. */
    enum class Run {
        None,  // not numbered consecutively: every number is scanned
        Plain, // the number plus one, width kept
        S10,   // the serial plus one and its check digit recomputed (EMS)
    };

    /** A word the courier form's name contains ("圆通" matches "圆通快递"); empty for any other. */
    QString courier;
    /** A plausible number, the whole of it. */
    QString pattern;
    /** The rule in the seller's words, shown when a number does not fit it. */
    QString described;
    Run run = Run::None;
};

/** The tracking-number rules of the couriers, in one table, and what follows from them. */
namespace TrackingNumberRules {

/** The longest number the order's column holds. */
constexpr int kMaxLength = 20;

/** The rule of the courier form `delivery`; the general rule when no courier's word is in it. */
const TrackingNumberRule& ruleFor(const QString& delivery);

/** A scanned or typed number as stored: blanks removed, letters in upper case. */
QString normalized(const QString& number);

/** Why `number` does not look like a tracking number of `delivery`; nothing when it does. */
std::optional<QString> doubt(const QString& delivery, const QString& number);

/**
 * `count` numbers of consecutive forms of `delivery`, the first being `start`; or why there
 * are none (the courier's forms are not numbered consecutively, or `start` is no such number).
 */
std::variant<QStringList, Notice> run(const QString& delivery, const QString& start, int count);

} // namespace TrackingNumberRules

} // namespace mldd
