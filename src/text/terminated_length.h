#pragma once
// The length of a NUL-terminated string, sixteen bytes at a time where the processor allows.
// The document's lines are measured this way over and over (ten million of them in a big
// file), and under Wine the system library's own strlen goes a byte at a time.
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
// An aligned sixteen-byte block never reaches into another page, so reading the whole block
// that holds the terminator is safe, though the sanitizer cannot know it.
__attribute__((no_sanitize_address)) inline unsigned zeroBytesOfBlock(const char* block) {
    const __m128i bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(block));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())));
}

inline size_t terminatedLength(const char* text) {
    const uintptr_t skip = reinterpret_cast<uintptr_t>(text) & 15;
    const char* block = text - skip;
    if (unsigned mask = zeroBytesOfBlock(block) >> skip) return static_cast<size_t>(std::countr_zero(mask));
    for (;;) {
        block += 16;
        if (unsigned mask = zeroBytesOfBlock(block)) return static_cast<size_t>(block - text) + static_cast<size_t>(std::countr_zero(mask));
    }
}
#else
inline size_t terminatedLength(const char* text) { return std::strlen(text); }
#endif
