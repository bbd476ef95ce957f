// Any bytes load, save and load again as the line rules say: lines end at LF, a CR right
// before an LF belongs to the line end, a line keeps its bytes up to its first NUL, and a
// save writes every line with the chosen line end. The reader may hand the bytes out in any
// pieces, the file may grow or shrink while it is read, and a read that fails leaves the
// document as it was.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/document.h"
#include "document_bytes.h"
#include "editor/document_file.h"
#include "fake_document_host.h"
#include "fuzz_check.h"
#include "memory_source.h"

namespace {

// The rules, one byte at a time.
std::vector<std::string> expectedLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
        if (c != '\n') {
            line += c;
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    if (lines.empty()) lines.emplace_back();
    for (std::string& l : lines) l = l.substr(0, l.find('\0'));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t flags = data[0];
    const uint8_t failure = data[1];
    std::string file(reinterpret_cast<const char*>(data + 2), size - 2);
    // A file with a UTF-16 mark is decoded: the UTF-16 target holds it to its own rules.
    if (file.size() >= 2 && ((file[0] == '\xFF' && file[1] == '\xFE') || (file[0] == '\xFE' && file[1] == '\xFF')))
        return 0;
    static const int64_t kPieces[] = {1, 3, 64, 8192, 1 << 20};
    MemorySource::Options options;
    options.piece = kPieces[flags % 5];
    options.failAt = failure < 32 ? failure : -1;
    const bool crlf = flags & 0x08;
    if (flags & 0x10) options.reportedSize = static_cast<int64_t>(file.size() / 2);  // grows while read
    if (flags & 0x20) options.reportedSize = static_cast<int64_t>(file.size()) + 100;  // shrinks while read

    FakeDocumentHost host;
    ViewState view;
    Document document{host, view};
    document.newDocument();
    document.insertLine(0, "before");
    MemorySource source(file, options);
    LoadResult result = loadDocument(document, source, "fuzz.txt");
    if (source.failed()) {
        FUZZ_CHECK(result == LoadResult::ReadFailed);
        FUZZ_CHECK((linesOf(document) == std::vector<std::string>{"before", ""}));
        FUZZ_CHECK(document.path.empty());
        return 0;
    }
    FUZZ_CHECK(result == LoadResult::Loaded);
    const std::vector<std::string> lines = expectedLines(file);
    FUZZ_CHECK(linesOf(document) == lines);
    FUZZ_CHECK(document.path == "fuzz.txt" && !document.modified);
    FUZZ_CHECK(document.format.holdsNul == (file.find('\0') != std::string::npos));

    document.crlf = crlf;
    StringSink saved;
    writeDocumentText(document, saved);
    std::string expected;
    for (const std::string& line : lines) expected += line + (crlf ? "\r\n" : "\n");
    FUZZ_CHECK(saved.text == expected);

    // What was saved loads back by the same rules. (A line that ends in a CR comes back
    // without it: saved before an LF, that CR is part of the line end.)
    Document again{host, view};
    MemorySource reread(saved.text, {.piece = kPieces[(flags >> 6) % 5]});
    FUZZ_CHECK(loadDocument(again, reread, "again.txt") == LoadResult::Loaded);
    FUZZ_CHECK(linesOf(again) == expectedLines(saved.text));
    return 0;
}
