#include "platform/memory_prefault.h"

#include <windows.h>

#include <algorithm>

void prefaultMemory(void* start, size_t bytes) {
    // Locking a range brings all of its pages in at once; it is let go at once, so nothing
    // stays pinned. The working set must be able to hold the range for the lock to be taken.
    HANDLE process = GetCurrentProcess();
    SIZE_T minimum = 0, maximum = 0;
    if (!GetProcessWorkingSetSize(process, &minimum, &maximum)) return;
    const SIZE_T wanted = static_cast<SIZE_T>(bytes) + minimum;
    const bool grew = wanted > minimum && SetProcessWorkingSetSize(process, wanted, std::max(maximum, wanted + (SIZE_T{64} << 20)));
    if (VirtualLock(start, bytes)) VirtualUnlock(start, bytes);
    if (grew) SetProcessWorkingSetSize(process, minimum, maximum);
}
