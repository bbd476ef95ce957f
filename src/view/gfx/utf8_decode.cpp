#include "view/gfx/utf8_decode.h"

char32_t decodeUtf8(const char* text, size_t length, size_t& consumed) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    consumed = 1;
    unsigned char lead = s[0];
    if (lead < 0x80) return lead;
    size_t extra;
    char32_t cp;
    char32_t smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return kReplacementCharacter;
    }
    if (length < extra + 1) return kReplacementCharacter;
    for (size_t i = 1; i <= extra; ++i) {
        if ((s[i] & 0xC0u) != 0x80u) return kReplacementCharacter;
        cp = (cp << 6) | (s[i] & 0x3Fu);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacementCharacter;
    consumed = extra + 1;
    return cp;
}
