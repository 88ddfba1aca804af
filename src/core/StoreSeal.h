#pragma once

#include <QString>

namespace mldd {

/**
 * The store file as this program left it, its indexes found sound, when it
 * closed it or committed a batch: a note beside the file holds the identity
 * (device, inode, size, change and modification times) of the file and of its
 * write-ahead log while a connection holds it. The modification times are
 * stamped to the nanosecond when the note is made, so a write by any other
 * program after that, even in the same instant, leaves files that no longer
 * match. A store found as it was left needs no look at its indexes before a
 * batch, which at a million orders takes seconds: not at a start, nor when a
 * command and the window take turns with it.
 */
namespace StoreSeal {

/**
 * Stamps the store `path` (and its log) and notes their identity, unless they
 * are still as noted. Called right after this program's own write, while
 * nothing else can have written.
 */
void seal(const QString& path);

/**
 * Whether `path` and its log are as they were when sealed. A note that no
 * longer matches is left: it can never match again.
 */
bool intact(const QString& path);

} // namespace StoreSeal
} // namespace mldd
