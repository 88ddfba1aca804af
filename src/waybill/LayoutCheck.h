#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace mldd {

struct ItemRecord;

/**
 * Whether a decoded layout text is a whole waybill template. A download cut
 * short still decodes when its length ends in the same digit, and an empty
 * file decodes to nothing: both would print waybills without a receiver.
 */
namespace LayoutCheck {

/** Why the layout is cut: its last record lacks fields or ends inside one; none when whole
 * or empty. */
std::optional<QString> cutShort(const QString& layout);

/** Why these items cannot address a parcel: none prints the receiver's name, phone or address. */
std::optional<QString> lacksReceiver(const QList<ItemRecord>& items);

} // namespace LayoutCheck
} // namespace mldd
