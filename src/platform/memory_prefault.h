#pragma once
// Fresh memory is mapped in by the system one page at a time on its first touch, which on some
// systems costs more than the bytes that are then written there. Mapping a large block in one
// call beforehand is cheaper.
#include <cstddef>

// Asks the system to map in [start, start + bytes) now; a hint only: nothing is written, and
// where the system declines, the pages come in on first touch as usual.
void prefaultMemory(void* start, size_t bytes);
