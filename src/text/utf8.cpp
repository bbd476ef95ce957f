#include "text/utf8.h"

#include <cstdint>
#include <cstring>

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

constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Eight bytes of plain ASCII: one character each. The range is known to hold no NUL.
inline bool asciiWord(const unsigned char* p) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    return (word & kHighBits) == 0;
}

inline size_t safeLength(const char* text, long long maxBytes) {
    size_t length = std::strlen(text);
    if (maxBytes < 0) return 0;
    return static_cast<unsigned long long>(maxBytes) < length ? static_cast<size_t>(maxBytes) : length;
}

}  // namespace

int charLength(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (p[0] < 0x80) return p[0] ? 1 : 0;
    return lengthAt(p, static_cast<size_t>(-1));
}

int charCount(const char* text, long long maxBytes) {
    if (!text) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    size_t full = std::strlen(text);
    size_t limit = safeLength(text, maxBytes);
    long long count = 0;
    size_t pos = 0;
    while (pos < limit) {
        if (limit - pos >= 8 && asciiWord(p + pos)) {
            pos += 8;
            count += 8;
            continue;
        }
        pos += p[pos] < 0x80 ? 1 : static_cast<size_t>(lengthAt(p + pos, full - pos));
        ++count;
    }
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

size_t byteOffset(const char* text, int column) {
    if (!text || column <= 0) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    size_t full = std::strlen(text);
    size_t pos = 0;
    long long left = column;
    while (left > 0 && pos < full) {
        if (left >= 8 && full - pos >= 8 && asciiWord(p + pos)) {
            pos += 8;
            left -= 8;
            continue;
        }
        pos += p[pos] < 0x80 ? 1 : static_cast<size_t>(lengthAt(p + pos, full - pos));
        --left;
    }
    return pos;
}

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
