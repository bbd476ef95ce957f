// The text rules agree with each other on any bytes: columns and byte offsets, decoding and
// stepping, the display walk, UTF-16 both ways, and cutting at character boundaries.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "text/path_form.h"
#include "text/utf16.h"
#include "text/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string line = bytes.substr(0, bytes.find('\0'));
    const char* text = line.c_str();
    int count = charCount(text);
    int glyphs = 0;
    forEachDisplayCharacter(text, line.size(), [&](char32_t) { ++glyphs; });
    FUZZ_CHECK(glyphs == count);
    size_t stepped = 0;
    int steps = 0;
    for (const char* p = text; *p;) {
        DecodedChar c = decode(p);
        FUZZ_CHECK(c.length == charLength(p) && c.length >= 1 && c.length <= 6);
        FUZZ_CHECK(byteOffset(text, steps) == stepped);
        p += c.length;
        stepped += static_cast<size_t>(c.length);
        ++steps;
    }
    FUZZ_CHECK(steps == count && stepped == line.size());
    FUZZ_CHECK(byteOffset(text, count + 5) == line.size());
    for (size_t cut = 0; cut <= line.size() && cut < 64; ++cut) {
        size_t fit = fitOnCharacterBoundary(line, cut);
        FUZZ_CHECK(fit <= cut);
        FUZZ_CHECK(charCount(text, static_cast<long long>(fit)) == charCount(std::string(line, 0, fit).c_str()) ||
                   fit == 0);
    }
    // Strict UTF-16 and back gives the same bytes for valid text.
    std::u16string wide;
    if (utf8ToUtf16Strict(line, wide)) {
        FUZZ_CHECK(utf16ToUtf8(wide) == line);
        FUZZ_CHECK(utf8_kind(text) >= 0);
    }
    // Any UTF-16 round trips through UTF-8 (lone surrogates as their own forms).
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    std::string utf8 = utf16ToUtf8(units);
    std::string joined;
    SurrogateJoiner joiner;
    for (char16_t unit : units) joiner.feed(unit, joined);
    joiner.flush(joined);
    FUZZ_CHECK(joined == utf8);
    char16_t buffer[64];
    int written = to_utf16(buffer, sizeof buffer, text);
    FUZZ_CHECK(written >= 0 && written < 64 && buffer[written] == 0);
    (void)to_wide(text);
    (void)pathNeedsWideCall(line);
    return 0;
}
