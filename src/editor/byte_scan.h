#pragma once
// Finding every place of one byte value in a stretch of bytes, sixty-four bytes at a time
// where the processor allows: the line split of a load and the line walk of a save both
// go over the whole text this way.
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>
#include <cstddef>
#include <cstdint>

// Calls found(offset) for every byte equal to value in bytes [0, n), in order.
template <typename Found>
void forEachByte(const char* bytes, size_t n, char value, Found&& found) {
    size_t pos = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(value);
    for (; pos + 64 <= n; pos += 64) {
        const auto* v = reinterpret_cast<const __m128i*>(bytes + pos);
        auto bits = [wanted](__m128i block) {
            return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted))));
        };
        uint64_t mask = bits(_mm_loadu_si128(v)) | bits(_mm_loadu_si128(v + 1)) << 16 |
                        bits(_mm_loadu_si128(v + 2)) << 32 | bits(_mm_loadu_si128(v + 3)) << 48;
        while (mask) {
            found(pos + static_cast<size_t>(std::countr_zero(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; pos < n; ++pos)
        if (bytes[pos] == value) found(pos);
}
