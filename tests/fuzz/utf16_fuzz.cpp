// Any bytes after a UTF-16 mark, in either byte order: well-formed UTF-16 loads as its
// characters (a line ends at LF, a CR right before it belongs to the line end, U+0000 ends its
// line's text and bars saving over the file) and saves back in the same order with the same
// mark; anything else loads as bytes and is never saved over. The reader may hand the bytes
// out in any pieces.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/document.h"
#include "document_bytes.h"
#include "editor/document_file.h"
#include "fake_document_host.h"
#include "fuzz_check.h"
#include "memory_source.h"
#include "text/utf8.h"

namespace {

// The code points of UTF-16 bytes, written out slowly; false when they are not UTF-16.
bool slowDecode(const std::string& bytes, bool bigEndian, std::u32string& out) {
    if (bytes.size() % 2) return false;
    std::vector<char32_t> units;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t u = units[i];
        if (u >= 0xDC00 && u <= 0xDFFF) return false;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return false;
            u = 0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        out += u;
    }
    return true;
}

std::string slowEncode(const std::u32string& text, bool bigEndian) {
    std::string out;
    auto unit = [&](char32_t u) {
        char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    };
    for (char32_t c : text) {
        if (c < 0x10000) {
            unit(c);
        } else {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

// Lines of code points by the line rules; whether any line lost characters to a U+0000.
std::vector<std::u32string> slowLines(const std::u32string& text, bool& nul) {
    std::vector<std::u32string> lines;
    std::u32string line;
    for (char32_t c : text) {
        if (c != U'\n') {
            line += c;
            continue;
        }
        if (!line.empty() && line.back() == U'\r') line.pop_back();
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    if (lines.empty()) lines.emplace_back();
    nul = false;
    for (std::u32string& l : lines) {
        size_t at = l.find(U'\0');
        if (at != std::u32string::npos) {
            nul = true;
            l.resize(at);
        }
    }
    return lines;
}

std::string utf8Of(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) appendCodePoint(out, static_cast<int>(c));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t flags = data[0];
    const bool bigEndian = flags & 1, crlf = flags & 2;
    const std::string payload(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string file = (bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE")) + payload;
    static const int64_t kPieces[] = {1, 2, 3, 7, 64, 1 << 16};

    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
    document.newDocument();
    MemorySource source(file, {.piece = kPieces[(flags >> 2) % 6]});
    FUZZ_CHECK(loadDocument(document, source, "") == LoadResult::Loaded);

    std::u32string text;
    if (!slowDecode(payload, bigEndian, text)) {
        // Not UTF-16: the bytes as they are, never saved over.
        FUZZ_CHECK(document.format.encoding == TextEncoding::Utf8);
        FUZZ_CHECK(document.format.malformedUtf16);
        FUZZ_CHECK(saveDocument(document).result == SaveResult::RefusedNul);
        return 0;
    }
    bool nul = false;
    const std::vector<std::u32string> lines = slowLines(text, nul);
    std::vector<std::string> expected;
    for (const std::u32string& line : lines) expected.push_back(utf8Of(line));
    FUZZ_CHECK(document.format.encoding == (bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE));
    FUZZ_CHECK(document.format.holdsNul == nul && !document.format.malformedUtf16);
    FUZZ_CHECK(linesOf(document) == expected);
    if (nul) FUZZ_CHECK(saveDocument(document).result == SaveResult::RefusedNul);

    // Saved: the mark, then every line and its line end in the same order.
    document.crlf = crlf;
    StringSink saved;
    writeDocumentText(document, saved);
    std::u32string written;
    for (const std::u32string& line : lines) written += line + (crlf ? U"\r\n" : U"\n");
    FUZZ_CHECK(saved.text == file.substr(0, 2) + slowEncode(written, bigEndian));
    // Without lost characters and with the line ends the mode writes, that is the file itself.
    if (!nul && payload == slowEncode(written, bigEndian)) FUZZ_CHECK(saved.text == file);
    return 0;
}
