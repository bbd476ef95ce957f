#include "text/utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline bool isContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

// charLength for text of `room` bytes that need not be NUL-terminated: the end acts as the
// terminator. Only bytes that the previous tests proved to be continuations are stepped over,
// so a NUL-terminated text is never read past its terminator either.
int lengthAt(const unsigned char* p, size_t room) {
    auto at = [&](size_t i) -> unsigned char { return i < room ? p[i] : 0; };
    unsigned char b0 = at(0);
    if (b0 == 0) return 0;
    if (b0 < 0x80 || !isContinuation(at(1))) return 1;
    if (b0 <= 0xDF) return (b0 & 0x1E) ? 2 : 1;
    if (b0 <= 0xEF) {
        if (!isContinuation(at(2))) return 1;
        return ((b0 & 0x0F) || (at(1) & 0x20)) ? 3 : 1;
    }
    if (b0 <= 0xF7) {
        if (!isContinuation(at(2)) || !isContinuation(at(3))) return 1;
        return ((b0 & 0x07) || (at(1) & 0x30)) ? 4 : 1;
    }
    if (!isContinuation(at(2)) || !isContinuation(at(3)) || !isContinuation(at(4))) return 1;
    if (b0 <= 0xFB) return 5;
    return isContinuation(at(5)) ? 6 : 1;
}

// Plain ASCII is one character per byte, so runs of it are counted a block at a time; only
// bytes from 0x80 on are stepped character by character.
#if defined(__SSE2__)
inline unsigned highBits16(const unsigned char* p) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
}
inline bool ascii64(const unsigned char* p) {
    const auto* v = reinterpret_cast<const __m128i*>(p);
    __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(v), _mm_loadu_si128(v + 1)),
                               _mm_or_si128(_mm_loadu_si128(v + 2), _mm_loadu_si128(v + 3)));
    return _mm_movemask_epi8(any) == 0;
}
#else
inline unsigned highBits16(const unsigned char* p) {
    unsigned mask = 0;
    for (int i = 0; i < 16; ++i) mask |= static_cast<unsigned>(p[i] >> 7) << i;
    return mask;
}
inline bool ascii64(const unsigned char* p) {
    uint64_t any = 0;
    for (int i = 0; i < 8; ++i) {
        uint64_t word;
        std::memcpy(&word, p + 8 * i, 8);
        any |= word;
    }
    return (any & 0x8080808080808080ULL) == 0;
}
#endif

// Steps characters from byte pos while pos < limit and fewer than maxChars were stepped. The
// first `room` bytes of p are the text (a NUL among them is a character of one byte); limit <=
// room. A character may run past limit, never past room.
void walk(const unsigned char* p, size_t room, size_t limit, long long maxChars, size_t& pos, long long& chars) {
    while (pos < limit && chars < maxChars) {
        while (limit - pos >= 64 && maxChars - chars >= 64 && ascii64(p + pos)) {
            pos += 64;
            chars += 64;
        }
        if (limit - pos >= 16 && maxChars - chars >= 16) {
            unsigned high = highBits16(p + pos);
            // The ASCII bytes before the first byte from 0x80 on.
            size_t run = high ? static_cast<size_t>(std::countr_zero(high)) : 16;
            pos += run;
            chars += static_cast<long long>(run);
            if (run == 16) continue;
        }
        if (pos >= limit || chars >= maxChars) break;
        pos += p[pos] < 0x80 ? 1 : static_cast<size_t>(lengthAt(p + pos, room - pos));
        ++chars;
    }
}

// The bytes of a NUL-terminated text are measured a chunk at a time as a walk needs them, so
// a walk that stops early never reads the whole text, and a long one reads it once.
constexpr size_t kChunk = 1 << 14;
constexpr size_t kLookahead = 8;  // more than the longest character

// walk over a NUL-terminated text, stopping at byte limit or after maxChars characters.
void walkTerminated(const char* text, size_t limit, long long maxChars, size_t& pos, long long& chars) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    size_t known = strnlen(text, kChunk);
    bool atEnd = known < kChunk;
    for (;;) {
        size_t safe = atEnd ? known : known - kLookahead;
        walk(p, known, std::min(limit, safe), maxChars, pos, chars);
        if (atEnd || pos >= limit || chars >= maxChars) return;
        size_t more = strnlen(text + known, kChunk);
        known += more;
        atEnd = more < kChunk;
    }
}

}  // namespace

int charLength(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (p[0] < 0x80) return p[0] ? 1 : 0;
    return lengthAt(p, static_cast<size_t>(-1));
}

int charCount(const char* text, long long maxBytes) {
    if (!text || maxBytes <= 0) return 0;
    size_t pos = 0;
    long long count = 0;
    walkTerminated(text, static_cast<size_t>(maxBytes), LLONG_MAX, pos, count);
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

int charCount(std::string_view text) {
    size_t pos = 0;
    long long count = 0;
    walk(reinterpret_cast<const unsigned char*>(text.data()), text.size(), text.size(), LLONG_MAX, pos, count);
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

size_t byteOffset(const char* text, int column) {
    if (!text || column <= 0) return 0;
    size_t pos = 0;
    long long stepped = 0;
    walkTerminated(text, static_cast<size_t>(-1), column, pos, stepped);
    return pos;
}

ColumnPosition columnPosition(std::string_view text, int column) {
    if (column <= 0) return {0, 0};
    size_t pos = 0;
    long long stepped = 0;
    walk(reinterpret_cast<const unsigned char*>(text.data()), text.size(), text.size(), column, pos, stepped);
    return {pos, static_cast<int>(stepped)};
}

size_t byteOffset(std::string_view text, int column) { return columnPosition(text, column).byte; }

size_t previousCharStart(const char* text, size_t pos) {
    if (!text || pos == 0) return 0;
    // Characters are only known walking forward; a malformed byte is a character of its own.
    int column = charCount(text, static_cast<long long>(pos));
    return byteOffset(text, column - 1);
}

DecodedChar decode(const char* text, size_t room) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    int length = lengthAt(p, room);
    unsigned a = length ? p[0] : 0;
    switch (length) {
    case 0: return {0, 0};
    case 1: return {static_cast<int>(a), 1};
    case 2: return {static_cast<int>(((a & 0x1F) << 6) | (p[1] & 0x3F)), 2};
    case 3: return {static_cast<int>(((a & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F)), 3};
    case 4:
        return {static_cast<int>(((a & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F)), 4};
    default: return {'_', length};
    }
}

DecodedChar decode(const char* text) { return decode(text, static_cast<size_t>(-1)); }

char32_t displayCodePoint(const char* text, DecodedChar c) {
    auto lead = static_cast<unsigned char>(text[0]);
    if (c.length == 1) return lead < 0x80 ? lead : kReplacementCharacter;
    // Leads below 0xC2 are counted as two-byte characters but are not UTF-8.
    if (c.length > 4 || lead < 0xC2) return kReplacementCharacter;
    if (c.codePoint > 0x10FFFF || (c.codePoint >= 0xD800 && c.codePoint <= 0xDFFF)) return kReplacementCharacter;
    return static_cast<char32_t>(c.codePoint);
}

int encode(int codePoint, char* buffer, size_t room) {
    if (codePoint < 0 || codePoint > 0x1FFFFF) return -1;
    auto cp = static_cast<unsigned>(codePoint);
    int needed = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp <= 0xFFFF ? 3 : 4;
    if (room < static_cast<size_t>(needed)) return 0;
    auto put = [&](int i, unsigned v) { buffer[i] = static_cast<char>(v); };
    switch (needed) {
    case 1: put(0, cp); break;
    case 2:
        put(0, 0xC0 | (cp >> 6));
        put(1, 0x80 | (cp & 0x3F));
        break;
    case 3:
        put(0, 0xE0 | (cp >> 12));
        put(1, 0x80 | ((cp >> 6) & 0x3F));
        put(2, 0x80 | (cp & 0x3F));
        break;
    default:
        put(0, 0xF0 | (cp >> 18));
        put(1, 0x80 | ((cp >> 12) & 0x3F));
        put(2, 0x80 | ((cp >> 6) & 0x3F));
        put(3, 0x80 | (cp & 0x3F));
    }
    return needed;
}

void appendCodePoint(std::string& out, int codePoint) {
    char bytes[4];
    int n = encode(codePoint, bytes, sizeof bytes);
    if (n > 0)
        out.append(bytes, static_cast<size_t>(n));
    else
        out.push_back('_');
}

int utf8_kind(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size();
    int kind = 0;
    for (size_t i = 0; i < n;) {
        if (n - i >= 64 && ascii64(p + i)) {
            i += 64;
            continue;
        }
        unsigned a = p[i];
        if (a < 0x80) {
            ++i;
            continue;
        }
        int wanted = a >= 0xC2 && a <= 0xDF ? 2 : a >= 0xE0 && a <= 0xEF ? 3 : a >= 0xF0 && a <= 0xF7 ? 4 : 0;
        if (wanted == 0 || lengthAt(p + i, n - i) != wanted) return -1;
        kind = 1;
        i += static_cast<size_t>(wanted);
    }
    return kind;
}

int utf8_kind(const char* text) { return text ? utf8_kind(std::string_view(text)) : 0; }

size_t fitOnCharacterBoundary(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t pos = 0;
    for (;;) {
        int length = lengthAt(p + pos, text.size() - pos);
        if (length == 0 || pos + static_cast<size_t>(length) > maxBytes) return pos;
        pos += static_cast<size_t>(length);
    }
}

std::vector<int> codePointsOf(std::string_view text) {
    std::vector<int> out;
    for (size_t i = 0; i < text.size();) {
        DecodedChar c = decode(text.data() + i, text.size() - i);
        if (c.length == 0) c = {0, 1};  // a NUL byte
        out.push_back(c.codePoint);
        i += static_cast<size_t>(c.length);
    }
    return out;
}
