#include "curses/utf8_text.h"

namespace {
inline unsigned byteAt(const char* text, int i) { return static_cast<unsigned char>(text[i]); }
}  // namespace

DecodedChar decode(const char* text) {
    int length = charLength(text);
    unsigned a = byteAt(text, 0);
    switch (length) {
    case 0: return {0, 0};
    case 1: return {static_cast<int>(a), 1};
    case 2: return {static_cast<int>(((a & 0x1F) << 6) | (byteAt(text, 1) & 0x3F)), 2};
    case 3:
        return {static_cast<int>(((a & 0x0F) << 12) | ((byteAt(text, 1) & 0x3F) << 6) | (byteAt(text, 2) & 0x3F)), 3};
    case 4:
        return {static_cast<int>(((a & 0x07) << 18) | ((byteAt(text, 1) & 0x3F) << 12) |
                                 ((byteAt(text, 2) & 0x3F) << 6) | (byteAt(text, 3) & 0x3F)),
                4};
    default: return {'_', length};
    }
}

int encode(int codePoint, char* buffer, size_t room) {
    if (codePoint < 0 || codePoint > 0x1FFFFF) return -1;
    auto cp = static_cast<unsigned>(codePoint);
    int needed = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp <= 0xFFFF ? 3 : 4;
    if (room < static_cast<size_t>(needed)) return 0;
    auto put = [&](int i, unsigned v) { buffer[i] = static_cast<char>(v); };
    switch (needed) {
    case 1: put(0, cp); break;
    case 2: put(0, 0xC0 | (cp >> 6)); put(1, 0x80 | (cp & 0x3F)); break;
    case 3: put(0, 0xE0 | (cp >> 12)); put(1, 0x80 | ((cp >> 6) & 0x3F)); put(2, 0x80 | (cp & 0x3F)); break;
    default:
        put(0, 0xF0 | (cp >> 18));
        put(1, 0x80 | ((cp >> 12) & 0x3F));
        put(2, 0x80 | ((cp >> 6) & 0x3F));
        put(3, 0x80 | (cp & 0x3F));
    }
    return needed;
}

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

int utf8_kind(const char* text) {
    if (!text) return 0;
    int kind = 0;
    while (*text) {
        unsigned a = byteAt(text, 0);
        if (a < 0x80) {
            ++text;
            continue;
        }
        int wanted = a >= 0xC2 && a <= 0xDF ? 2 : a >= 0xE0 && a <= 0xEF ? 3 : a >= 0xF0 && a <= 0xF7 ? 4 : 0;
        if (wanted == 0 || charLength(text) != wanted) return -1;
        kind = 1;
        text += wanted;
    }
    return kind;
}

std::optional<std::u16string> to_wide(const char* text) {
    if (!text) return std::u16string();
    size_t good = 0, bad = 0, total = 0;
    for (const char* p = text; *p;) {
        DecodedChar c = decode(p);
        if (c.length == 1 && byteAt(p, 0) < 0x80) {
            // plain ASCII
        } else if (c.length >= 2 && c.length <= 4) {
            good += static_cast<size_t>(c.length);
        } else {
            bad += static_cast<size_t>(c.length);
        }
        total += static_cast<size_t>(c.length);
        p += c.length;
    }
    if (good < 5 * bad && good * 4 < total * 3) return std::nullopt;
    std::u16string out;
    out.reserve(total);
    for (const char* p = text; *p;) {
        DecodedChar c = decode(p);
        bool ascii = c.length == 1 && byteAt(p, 0) < 0x80;
        if (ascii || (c.length >= 2 && c.length <= 4)) {
            if (c.codePoint >= 0x10000 && c.codePoint <= 0x10FFFF) {
                int v = c.codePoint - 0x10000;
                out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
            } else if (c.codePoint > 0x10FFFF) {
                out.push_back(u'\xFFFD');
            } else {
                out.push_back(static_cast<char16_t>(c.codePoint));
            }
        }
        p += c.length;
    }
    return out;
}
