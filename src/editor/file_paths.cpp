#include "editor/file_paths.h"

namespace {
inline bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed sequence at text[i], or 0.
size_t wellFormedLength(const std::string& text, size_t i) {
    auto at = [&](size_t k) -> unsigned char { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0; };
    unsigned char a = at(i);
    if (a < 0xC2 || a > 0xF4) return 0;
    size_t need = a < 0xE0 ? 2 : a < 0xF0 ? 3 : 4;
    for (size_t k = 1; k < need; ++k)
        if (!isContinuation(at(i + k))) return 0;
    unsigned char b = at(i + 1);
    if (a == 0xE0 && b < 0xA0) return 0;   // overlong
    if (a == 0xED && b > 0x9F) return 0;   // surrogate
    if (a == 0xF0 && b < 0x90) return 0;   // overlong
    if (a == 0xF4 && b > 0x8F) return 0;   // above U+10FFFF
    return need;
}
}  // namespace

bool pathWantsWideApi(const std::string& utf8Path) {
    if (utf8Path.size() >= 256) return true;
    for (size_t i = 0; i < utf8Path.size(); ++i)
        if (wellFormedLength(utf8Path, i) > 1) return true;
    return false;
}

std::u16string longPathForm(const std::u16string& widePath) {
    if (widePath.size() < 256) return widePath;
    if (widePath[1] == u':') return u"\\\\?\\" + widePath;
    if (widePath[0] == u'\\' && widePath[1] == u'\\') return u"\\\\?\\UNC\\" + widePath.substr(2);
    return widePath;
}

bool utf8ToUtf16Strict(const std::string& utf8, std::u16string& out) {
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
        char32_t cp = len == 2 ? (a & 0x1F) : len == 3 ? (a & 0x0F) : (a & 0x07);
        for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return true;
}
