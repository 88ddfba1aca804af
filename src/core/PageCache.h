#pragma once

namespace mldd {

/**
 * The page cache of a connection to the store file: a batch of tens of thousands of
 * orders, or a look at the indexes, touches every index; with SQLite's default 2 MB it
 * rereads pages and slows down more than the store grows.
 */
inline constexpr const char* kPageCachePragma = "PRAGMA cache_size=-65536";

} // namespace mldd
