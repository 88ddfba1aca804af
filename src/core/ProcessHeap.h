#pragma once

namespace mldd::ProcessHeap {

/**
 * Keeps memory freed at the top of the heap for the next allocation instead
 * of handing it back at once. SQLite gives every statement with a subquery
 * (each search) a page cache of its own, about 90 KB, and frees it at the
 * statement's end; with the C library's defaults the heap then shrank and
 * grew again on every search, half a millisecond of page faults each time.
 * Called first thing in main().
 */
void keepFreedMemoryForReuse();

} // namespace mldd::ProcessHeap
