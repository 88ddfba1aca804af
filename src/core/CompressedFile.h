#pragma once

#include <QString>

namespace mldd {

/** Whole files packed with zstd, streamed so that a store of any size needs little memory. */
namespace CompressedFile {

/** The name ending of a packed file. */
inline const QString kSuffix = QStringLiteral(".zst");

/** Packs `from` into `to` (made anew); false with the reason in the system's words. */
bool pack(const QString& from, const QString& to, QString* error);

/** Unpacks `from` into `to` (made anew); false when it is no whole packed file. */
bool unpack(const QString& from, const QString& to, QString* error);

} // namespace CompressedFile
} // namespace mldd
