#include "platform/memory_prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

void prefaultMemory(void* start, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    // Whole pages inside the range only: the hint must not reach memory beyond it.
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t from = (reinterpret_cast<uintptr_t>(start) + page - 1) & ~(page - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(page - 1);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)bytes;
#endif
}
