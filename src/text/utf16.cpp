#include "text/utf16.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "text/utf8.h"

namespace {

inline bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }
inline bool isHighSurrogate(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool isLowSurrogate(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Length of the well-formed (shortest-form, non-surrogate, at most U+10FFFF) sequence at
// text[i], or 0.
size_t wellFormedLength(std::string_view text, size_t i) {
    auto at = [&](size_t k) -> unsigned char { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0; };
    unsigned char a = at(i);
    if (a < 0xC2 || a > 0xF4) return 0;
    size_t need = a < 0xE0 ? 2 : a < 0xF0 ? 3 : 4;
    for (size_t k = 1; k < need; ++k)
        if (!isContinuation(at(i + k))) return 0;
    unsigned char b = at(i + 1);
    if (a == 0xE0 && b < 0xA0) return 0;  // overlong
    if (a == 0xED && b > 0x9F) return 0;  // surrogate
    if (a == 0xF0 && b < 0x90) return 0;  // overlong
    if (a == 0xF4 && b > 0x8F) return 0;  // above U+10FFFF
    return need;
}

void pushCodePoint(std::u16string& out, int cp) {
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
        int v = cp - 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else if (cp > 0x10FFFF) {
        out.push_back(u'\xFFFD');
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

}  // namespace

int to_utf16(char16_t* buffer, size_t bufferBytes, const char* text) {
    if (!buffer || bufferBytes < 2) return 0;
    size_t maxUnits = bufferBytes / 2 - 1;
    size_t units = 0;
    if (text) {
        while (units < maxUnits) {
            DecodedChar c = decode(text);
            if (c.length == 0) break;
            if (c.codePoint >= 0x10000 && c.codePoint <= 0x10FFFE) {
                if (maxUnits - units < 2) break;
                int v = c.codePoint - 0x10000;
                buffer[units++] = static_cast<char16_t>(0xD800 + (v >> 10));
                buffer[units++] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
            } else {
                buffer[units++] = static_cast<char16_t>(c.codePoint);
            }
            text += c.length;
        }
    }
    buffer[units] = 0;
    return static_cast<int>(units);
}

std::optional<std::u16string> to_wide(const char* text) {
    if (!text) return std::u16string();
    size_t good = 0, bad = 0, total = 0;
    for (const char* p = text; *p;) {
        DecodedChar c = decode(p);
        bool ascii = c.length == 1 && static_cast<unsigned char>(*p) < 0x80;
        if (!ascii) (c.length >= 2 && c.length <= 4 ? good : bad) += static_cast<size_t>(c.length);
        total += static_cast<size_t>(c.length);
        p += c.length;
    }
    if (good < 5 * bad && good * 4 < total * 3) return std::nullopt;
    std::u16string out;
    out.reserve(total);
    for (const char* p = text; *p;) {
        DecodedChar c = decode(p);
        bool ascii = c.length == 1 && static_cast<unsigned char>(*p) < 0x80;
        if (ascii || (c.length >= 2 && c.length <= 4)) pushCodePoint(out, c.codePoint);
        p += c.length;
    }
    return out;
}

bool utf8ToUtf16Strict(std::string_view utf8, std::u16string& out) {
    out.clear();
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        unsigned char a = static_cast<unsigned char>(utf8[i]);
        if (a < 0x80) {
            out.push_back(a);
            ++i;
            continue;
        }
        size_t len = wellFormedLength(utf8, i);
        if (len == 0) return false;
        int cp = len == 2 ? (a & 0x1F) : len == 3 ? (a & 0x0F) : (a & 0x07);
        for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        pushCodePoint(out, cp);
        i += len;
    }
    return true;
}

std::string utf16ToUtf8(std::u16string_view wide, size_t maxBytes) {
    std::string out;
    for (size_t i = 0; i < wide.size(); ++i) {
        unsigned cp = wide[i];
        if (isHighSurrogate(cp) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00u);
            ++i;
        }
        char bytes[4];
        int n = encode(static_cast<int>(cp), bytes, sizeof bytes);
        if (n <= 0 || out.size() + static_cast<size_t>(n) > maxBytes) break;
        out.append(bytes, static_cast<size_t>(n));
    }
    return out;
}

void SurrogateJoiner::feed(char16_t unit, std::string& out) {
    if (pendingHigh_) {
        char16_t high = pendingHigh_;
        pendingHigh_ = 0;
        if (isLowSurrogate(unit)) {
            appendCodePoint(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            return;
        }
        appendCodePoint(out, high);
    }
    if (isHighSurrogate(unit)) {
        pendingHigh_ = unit;
        return;
    }
    appendCodePoint(out, unit);
}

void SurrogateJoiner::flush(std::string& out) {
    if (!pendingHigh_) return;
    appendCodePoint(out, pendingHigh_);
    pendingHigh_ = 0;
}

namespace {

inline void putUnit(std::string& out, unsigned unit, ByteOrder order) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    if (order == ByteOrder::LittleEndian) {
        out.push_back(low);
        out.push_back(high);
    } else {
        out.push_back(high);
        out.push_back(low);
    }
}

// The length a lead byte promises (1 for a byte that leads nothing).
size_t promisedLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF8) return 4;
    if (lead < 0xFC) return 5;
    return lead < 0xFE ? 6 : 1;
}

// Where an unfinished character at the end of text starts (text.size() when there is none):
// a lead byte followed only by continuation bytes, fewer than it promises.
size_t unfinishedTail(std::string_view text) {
    const size_t n = text.size();
    for (size_t back = 1; back <= 5 && back <= n; ++back) {
        unsigned char b = static_cast<unsigned char>(text[n - back]);
        if (isContinuation(b)) continue;
        return promisedLength(b) > back ? n - back : n;
    }
    return n;
}

}  // namespace

namespace {

struct Utf16Units {
    const unsigned char* p;
    size_t count;
    bool little;
    unsigned operator[](size_t i) const {
        return little ? p[2 * i] | (p[2 * i + 1] << 8) : (p[2 * i] << 8) | p[2 * i + 1];
    }
};

Utf16Units unitsOf(std::string_view bytes, ByteOrder order) {
    return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size() / 2, order == ByteOrder::LittleEndian};
}

// Most text is ASCII: four units from unit i on are looked at as one word, and taken at once
// when all four are below 0x80.
inline bool fourAsciiUnits(const Utf16Units& units, size_t i) {
    if (units.count - i < 4) return false;
    uint64_t word;
    std::memcpy(&word, units.p + 2 * i, sizeof word);
    // The high byte of each unit, and the top bit of its low byte, as they lie in the word.
    const bool highFirst = !units.little;
    const bool hostLittle = std::endian::native == std::endian::little;
    const uint64_t mask = highFirst == hostLittle ? 0x80FF80FF80FF80FFull : 0xFF80FF80FF80FF80ull;
    return (word & mask) == 0;
}

}  // namespace

std::optional<size_t> utf8LengthOfUtf16(std::string_view bytes, ByteOrder order) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    const Utf16Units units = unitsOf(bytes, order);
    size_t length = 0;
    for (size_t i = 0; i < units.count; ++i) {
        while (fourAsciiUnits(units, i)) {
            length += 4;
            i += 4;
        }
        if (i >= units.count) break;
        const unsigned u = units[i];
        if (u < 0x80) {
            ++length;
        } else if (u < 0x800) {
            length += 2;
        } else if (isHighSurrogate(u)) {
            if (i + 1 >= units.count || !isLowSurrogate(units[i + 1])) return std::nullopt;
            length += 4;
            ++i;
        } else if (isLowSurrogate(u)) {
            return std::nullopt;
        } else {
            length += 3;
        }
    }
    return length;
}

void utf16ToUtf8Into(std::string_view bytes, ByteOrder order, char* out) {
    const Utf16Units units = unitsOf(bytes, order);
    const size_t low = units.little ? 0 : 1;  // where a unit's low byte lies
    for (size_t i = 0; i < units.count; ++i) {
        while (fourAsciiUnits(units, i)) {
            for (size_t k = 0; k < 4; ++k) out[k] = static_cast<char>(units.p[2 * (i + k) + low]);
            out += 4;
            i += 4;
        }
        if (i >= units.count) break;
        unsigned cp = units[i];
        if (cp < 0x80) {
            *out++ = static_cast<char>(cp);
            continue;
        }
        if (isHighSurrogate(cp)) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        }
        out += encode(static_cast<int>(cp), out, 4);
    }
}

bool utf16BytesToUtf8(std::string_view bytes, ByteOrder order, std::string& out) {
    out.clear();
    std::optional<size_t> length = utf8LengthOfUtf16(bytes, order);
    if (!length) return false;
    out.resize(*length);
    utf16ToUtf8Into(bytes, order, out.data());
    return true;
}

size_t appendUtf16Bytes(std::string_view text, ByteOrder order, bool last, std::string& out) {
    const size_t end = last ? text.size() : unfinishedTail(text);
    for (size_t i = 0; i < end;) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            putUnit(out, b, order);
            ++i;
            continue;
        }
        DecodedChar c = decode(text.data() + i, end - i);
        const char32_t shown = displayCodePoint(text.data() + i, c);
        if (shown >= 0x10000) {
            const unsigned v = static_cast<unsigned>(shown) - 0x10000;
            putUnit(out, 0xD800 + (v >> 10), order);
            putUnit(out, 0xDC00 + (v & 0x3FF), order);
        } else {
            putUnit(out, static_cast<unsigned>(shown), order);
        }
        i += static_cast<size_t>(c.length > 0 ? c.length : 1);
    }
    return end;
}
