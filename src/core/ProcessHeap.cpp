#include "ProcessHeap.h"

#include <malloc.h>

namespace mldd::ProcessHeap {

void keepFreedMemoryForReuse() {
    // Blocks under 1 MB come from the heap and go back to it; the heap gives the
    // system back what lies free at its top beyond 8 MB.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 8 * 1024 * 1024);
}

} // namespace mldd::ProcessHeap
