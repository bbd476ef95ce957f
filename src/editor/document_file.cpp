#include "editor/document_file.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/document.h"
#include "platform/file_io.h"

namespace {

constexpr size_t kReadStep = size_t{1} << 20;
constexpr size_t kWriteStep = size_t{1} << 20;
constexpr size_t kProbeBytes = 65536;

// Calls found(offset) for every byte equal to value in bytes [0, n), in order.
template <typename Found>
void forEachByte(const char* bytes, size_t n, char value, Found&& found) {
    size_t pos = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8(value);
    for (; pos + 64 <= n; pos += 64) {
        const auto* v = reinterpret_cast<const __m128i*>(bytes + pos);
        auto bits = [&](int i) {
            return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v + i), lf))));
        };
        uint64_t mask = bits(0) | bits(1) << 16 | bits(2) << 32 | bits(3) << 48;
        while (mask) {
            found(pos + static_cast<size_t>(std::countr_zero(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; pos < n; ++pos)
        if (bytes[pos] == value) found(pos);
}

// Turns bytes of a file into lines in place: each LF, and a CR right before it, becomes a
// terminator. A NUL inside a line ends the line's text there.
class LineSplitter {
public:
    explicit LineSplitter(char* base) : base_(base) {}

    // The bytes [from, to) have arrived; emit gets the start of every line they complete.
    template <typename Emit>
    void feed(size_t from, size_t to, Emit& emit) {
        forEachByte(base_ + from, to - from, '\n', [&](size_t at) {
            size_t lf = from + at;
            base_[lf] = '\0';
            if (lf > start_ && base_[lf - 1] == '\r') base_[lf - 1] = '\0';
            emit(base_ + start_);
            start_ = lf + 1;
        });
    }
    // The unfinished last line: [start, end).
    size_t start() const { return start_; }
    // A last line without a line feed keeps its bytes (a CR at its very end is dropped too);
    // base[end] is the terminator's place.
    template <typename Emit>
    void finish(size_t end, Emit& emit) {
        base_[end] = '\0';
        if (start_ < end) {
            if (base_[end - 1] == '\r') base_[end - 1] = '\0';
            emit(base_ + start_);
        }
        start_ = end;
    }

private:
    char* base_;
    size_t start_ = 0;
};

// Splits bytes that are all in memory into a block of their own.
void appendBytes(LineList& lines, std::string_view bytes) {
    lines.appendBlock(bytes.size() + 1, 0, [&](char* base, auto emit) {
        if (!bytes.empty()) std::memcpy(base, bytes.data(), bytes.size());
        LineSplitter splitter(base);
        splitter.feed(0, bytes.size(), emit);
        splitter.finish(bytes.size(), emit);
    });
}

// Reads the file into one block of its own size (plus a terminator) that becomes the lines'
// shared storage, splitting each step while it is still in the cache: loading costs the
// file's size and one pointer per line. The first step's line density sizes the index.
void readLines(FileReader& reader, LineList& lines) {
    int64_t reported = reader.size();
    const size_t size = reported > 0 ? static_cast<size_t>(reported) : 0;
    std::string more;  // what a file that grows while it is read has beyond its first size
    size_t unfinished = 0, length = 0;
    char* block = nullptr;
    lines.appendBlock(size + 1, 0, [&](char* base, auto emit) {
        block = base;
        LineSplitter splitter(base);
        while (length < size) {
            int64_t got = reader.read(base + length, static_cast<int64_t>(std::min(kReadStep, size - length)));
            if (got <= 0) break;
            size_t n = static_cast<size_t>(got);
            if (length == 0) {
                size_t feeds = static_cast<size_t>(std::count(base, base + n, '\n'));
                double perByte = static_cast<double>(feeds + 1) / static_cast<double>(n);
                lines.reserve(static_cast<size_t>(perByte * 1.1 * static_cast<double>(size)) + 1024);
            }
            splitter.feed(length, length + n, emit);
            length += n;
        }
        if (length == size) {
            char probe[kProbeBytes];
            for (int64_t got; (got = reader.read(probe, sizeof probe)) > 0;)
                more.append(probe, static_cast<size_t>(got));
        }
        if (more.empty()) {
            splitter.finish(length, emit);
        } else {
            unfinished = splitter.start();
            base[unfinished] = '\0';
        }
    });
    if (more.empty()) return;
    // The unfinished line goes on in what followed.
    more.insert(0, block + unfinished, length - unfinished);
    appendBytes(lines, more);
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

    readLines(reader, document.lines);
    reader.close();
    if (document.lineCount() == 0) document.insertLine(0, "");
    document.setCaret(0, 0);
    return true;
}

namespace {

// Gathers the text of a save into large pieces, so the writer sees few calls whatever the
// line count.
class SaveBuffer {
public:
    SaveBuffer(FileWriter& writer, bool crlf) : writer_(writer), crlf_(crlf), piece_(kWriteStep + kSlack) {}

    // One line and its line end.
    void line(const char* text, size_t length) {
        if (used_ + length + 2 > kWriteStep) {
            put(text, length);
            put(crlf_ ? "\r\n" : "\n", crlf_ ? 2 : 1);
            return;
        }
        std::memcpy(piece_.data() + used_, text, length);
        used_ += length;
        if (crlf_) piece_[used_++] = '\r';
        piece_[used_++] = '\n';
    }
    // The same for text that may be read up to 64 bytes past its start: a short line is then
    // copied as one fixed-size block, without a loop that ends at a different place each time.
    void lineWithSlack(const char* text, size_t length) {
        if (length > kSlack || used_ + kSlack + 2 > kWriteStep) {
            line(text, length);
            return;
        }
        std::memcpy(piece_.data() + used_, text, kSlack);
        used_ += length;
        if (crlf_) piece_[used_++] = '\r';
        piece_[used_++] = '\n';
    }
    void finish() {
        if (used_) writer_.write(piece_.data(), static_cast<int64_t>(used_));
        used_ = 0;
    }

private:
    static constexpr size_t kSlack = 64;
    void put(const char* bytes, size_t n) {
        while (n > 0) {
            if (used_ == kWriteStep) finish();
            size_t take = std::min(n, kWriteStep - used_);
            std::memcpy(piece_.data() + used_, bytes, take);
            used_ += take;
            bytes += take;
            n -= take;
        }
    }

    FileWriter& writer_;
    bool crlf_;
    std::vector<char> piece_;
    size_t used_ = 0;
};

// Writes lines [first, last], one stretch of a shared block, without measuring each line on
// its own: one pass over the stretch finds the terminators, and a line's text ends at the
// first terminator at or after its start (the others are bytes no line shows).
void saveStretch(const LineList& lines, int first, int last, SaveBuffer& out) {
    const char* begin = lines.at(first);
    const char* end = lines.at(last) + lines.length(last) + 1;  // the last line's terminator too
    int k = first;
    forEachByte(begin, static_cast<size_t>(end - begin), '\0', [&](size_t at) {
        const char* nul = begin + at;
        if (k > last || nul < lines.at(k)) return;
        size_t length = static_cast<size_t>(nul - lines.at(k));
        if (end - lines.at(k) > 64)
            out.lineWithSlack(lines.at(k), length);
        else
            out.line(lines.at(k), length);
        ++k;
    });
    for (; k <= last; ++k) {
        std::string_view text = lines.view(k);
        out.line(text.data(), text.size());
    }
}

}  // namespace

bool saveDocument(Document& document) {
    if (document.path.empty()) return false;
    FileWriter writer(document.path);
    if (!writer.isOpen()) return false;
    SaveBuffer out(writer, document.crlf);
    const LineList& lines = document.lines;
    const int count = lines.count();
    for (int i = 0; i < count;) {
        int last = lines.stretchEnd(i, count - 1, kWriteStep);
        if (last > i) {
            saveStretch(lines, i, last, out);
        } else {
            std::string_view text = lines.view(i);
            out.line(text.data(), text.size());
        }
        i = last + 1;
    }
    out.finish();
    writer.flush(true);
    writer.close();
    if (!writer.ok()) return false;
    document.setSavedTitle();
    document.modified = false;
    return true;
}
