#pragma once

#include <QString>

namespace mldd {

/**
 * The store file as this program left it when it closed it with its indexes
 * found sound: a note beside the file holds the file's identity (device,
 * inode, size, change and modification times). The modification time is
 * stamped to the nanosecond at closing, so a write by any other program after
 * that, even in the same instant, leaves a file that no longer matches. A store
 * found as it was left needs no look at its indexes before its first batch,
 * which at a million orders takes seconds of every start and every command.
 */
namespace StoreSeal {

/**
 * Stamps the closed store `path` and notes its identity, unless it is still as
 * noted. Nothing is noted while another connection still holds the file (its
 * write-ahead log is there).
 */
void seal(const QString& path);

/**
 * Whether `path` is as it was when sealed, with no write-ahead log beside it. A
 * note that no longer matches is left: it can never match again.
 */
bool intact(const QString& path);

} // namespace StoreSeal
} // namespace mldd
