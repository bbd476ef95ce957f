#include "editor/document_file.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "editor/document.h"
#include "platform/file_io.h"

namespace {

constexpr size_t kReadStep = size_t{1} << 20;
constexpr size_t kWriteStep = size_t{1} << 20;

// The whole file in one block of its own size (plus a terminator): it becomes the lines'
// shared storage, so loading costs the file's size and one pointer per line.
struct FileText {
    std::unique_ptr<char[]> bytes;
    size_t length = 0;
    size_t capacity = 0;  // bytes that fit before the terminator
    size_t lineFeeds = 0;

    void grow(size_t wanted) {
        auto bigger = std::make_unique_for_overwrite<char[]>(wanted + 1);
        if (length) std::memcpy(bigger.get(), bytes.get(), length);
        bytes = std::move(bigger);
        capacity = wanted;
    }
};

// Reads in steps and counts the line feeds of each step while it is still in the cache, so
// the line index can be sized exactly before the lines are split.
void readAll(FileReader& reader, FileText& text) {
    int64_t size = reader.size();
    text.grow(size > 0 ? static_cast<size_t>(size) : 0);
    for (;;) {
        if (text.length == text.capacity) {
            // A file that grows while it is read (opened with write sharing) goes on being read.
            char probe[4096];
            int64_t got = reader.read(probe, sizeof probe);
            if (got <= 0) return;
            text.grow(text.capacity + std::max<size_t>(text.capacity / 2, kReadStep));
            std::memcpy(text.bytes.get() + text.length, probe, static_cast<size_t>(got));
            text.lineFeeds += static_cast<size_t>(std::count(probe, probe + got, '\n'));
            text.length += static_cast<size_t>(got);
            continue;
        }
        char* at = text.bytes.get() + text.length;
        size_t want = std::min(kReadStep, text.capacity - text.length);
        int64_t got = reader.read(at, static_cast<int64_t>(want));
        if (got <= 0) return;
        text.lineFeeds += static_cast<size_t>(std::count(at, at + got, '\n'));
        text.length += static_cast<size_t>(got);
    }
}

// Calls found(offset) for every line feed in bytes [0, n), in order.
template <typename Found>
void forEachLineFeed(const char* bytes, size_t n, Found&& found) {
    size_t pos = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    for (; pos + 32 <= n; pos += 32) {
        const auto* v = reinterpret_cast<const __m128i*>(bytes + pos);
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v), lf))) |
                        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v + 1), lf))) << 16;
        while (mask) {
            found(pos + static_cast<size_t>(__builtin_ctz(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; pos < n; ++pos)
        if (bytes[pos] == '\n') found(pos);
}

// Lines end at LF, and a CR right before the LF goes with it; both become terminators in
// place. A NUL inside a line ends the line's text there. A last line without a line feed keeps
// its bytes (a CR at its very end is dropped as well).
void splitIntoLines(LineList& lines, FileText& text) {
    char* bytes = text.bytes.get();
    size_t n = text.length;
    bytes[n] = '\0';
    bool tail = n > 0 && bytes[n - 1] != '\n';
    if (tail && bytes[n - 1] == '\r') bytes[n - 1] = '\0';
    size_t expected = text.lineFeeds + (tail ? 1 : 0);
    lines.appendBlock(std::move(text.bytes), n + 1, expected, [&](char* base, auto emit) {
        size_t start = 0;
        forEachLineFeed(base, n, [&](size_t lf) {
            base[lf] = '\0';
            if (lf > start && base[lf - 1] == '\r') base[lf - 1] = '\0';
            emit(base + start);
            start = lf + 1;
        });
        if (tail) emit(base + start);
    });
}

}  // namespace

bool loadDocument(Document& document, const std::string& path) {
    FileReader reader(path);
    if (!reader.isOpen()) return false;

    document.path = path;
    document.clearLines();
    document.modified = false;
    document.setCaret(0, 0);
    document.crlf = document.defaults().crlf;
    document.space = document.defaults().space;
    document.setSavedTitle();

    FileText text;
    readAll(reader, text);
    reader.close();
    splitIntoLines(document.lines, text);
    if (document.lineCount() == 0) document.insertLine(0, "");
    document.setCaret(0, 0);
    return true;
}

bool saveDocument(Document& document) {
    if (document.path.empty()) return false;
    FileWriter writer(document.path);
    if (!writer.isOpen()) return false;
    const char* ending = document.crlf ? "\r\n" : "\n";
    const size_t endingLength = document.crlf ? 2 : 1;
    // Lines are gathered into large pieces, so the writer sees few calls whatever the count.
    std::vector<char> piece(kWriteStep);
    size_t used = 0;
    auto put = [&](const char* bytes, size_t n) {
        while (n > 0) {
            if (used == piece.size()) {
                writer.write(piece.data(), static_cast<int64_t>(used));
                used = 0;
            }
            size_t take = std::min(n, piece.size() - used);
            std::memcpy(piece.data() + used, bytes, take);
            used += take;
            bytes += take;
            n -= take;
        }
    };
    for (int i = 0; i < document.lineCount(); ++i) {
        std::string_view text = document.lines.view(i);
        if (used + text.size() + endingLength <= piece.size()) {
            std::memcpy(piece.data() + used, text.data(), text.size());
            std::memcpy(piece.data() + used + text.size(), ending, endingLength);
            used += text.size() + endingLength;
        } else {
            put(text.data(), text.size());
            put(ending, endingLength);
        }
    }
    if (used) writer.write(piece.data(), static_cast<int64_t>(used));
    writer.flush(true);
    writer.close();
    if (!writer.ok()) return false;
    document.setSavedTitle();
    document.modified = false;
    return true;
}
