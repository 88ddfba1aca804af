#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace mldd {

class ZipArchive;

/** Builds zip archives in memory with libzip, for a QSaveFile to put in place. */
namespace ZipWriter {

/** A new archive of these entries, in this order, packed. */
std::optional<QByteArray> create(const QList<std::pair<QString, QByteArray>>& entries);

/** A copy of `source` in which the named entries have new contents; every other entry is copied as
 * it is packed. */
std::optional<QByteArray> rewrite(const ZipArchive& source,
                                  const QHash<QString, QByteArray>& replaced);

} // namespace ZipWriter
} // namespace mldd
