#include "platform/Heap.h"

#include <malloc.h>

namespace platform {

void KeepHeapSmall() {
    constexpr int kBigBlockBytes = 128 * 1024;
    (void)mallopt(M_ARENA_MAX, 1);
    // A fixed threshold: left to itself the library raises it after each big block freed,
    // and later big blocks stay in the heap for good.
    (void)mallopt(M_MMAP_THRESHOLD, kBigBlockBytes);
    // The walk frees and takes back about a page's worth of small blocks at every step: the
    // heap's free top is handed back to the system only past this size, not after each step.
    constexpr int kKeptTopBytes = 512 * 1024;
    (void)mallopt(M_TRIM_THRESHOLD, kKeptTopBytes);
}

void ReturnFreeHeap() { (void)malloc_trim(0); }

}  // namespace platform
