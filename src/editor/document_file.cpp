#include "editor/document_file.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "editor/document.h"
#include "editor/file_identity.h"
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
    const __m128i wanted = _mm_set1_epi8(value);
    for (; pos + 64 <= n; pos += 64) {
        const auto* v = reinterpret_cast<const __m128i*>(bytes + pos);
        auto bits = [wanted](__m128i block) {
            return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted))));
        };
        uint64_t mask = bits(_mm_loadu_si128(v)) | bits(_mm_loadu_si128(v + 1)) << 16 |
                        bits(_mm_loadu_si128(v + 2)) << 32 | bits(_mm_loadu_si128(v + 3)) << 48;
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
        // Locals, and line starts handed on in groups: the terminators written into the text
        // cannot then make the compiler reload the splitter's state or the line index.
        char* const base = base_;
        char* line = base + start_;
        char* starts[kGroup];
        size_t grouped = 0;
        forEachByte(base + from, to - from, '\n', [&](size_t at) {
            char* lf = base + from + at;
            *lf = '\0';
            if (lf > line && lf[-1] == '\r') lf[-1] = '\0';
            starts[grouped++] = line;
            line = lf + 1;
            if (grouped == kGroup) {
                for (char* start : starts) emit(start);
                grouped = 0;
            }
        });
        for (size_t i = 0; i < grouped; ++i) emit(starts[i]);
        start_ = static_cast<size_t>(line - base);
    }
    // The unfinished last line: [start, end).
    size_t start() const { return start_; }
    // A last line without a line feed keeps all its bytes, a CR at its very end too: only a
    // CR right before a line feed belongs to a line ending. base[end] is the terminator's place.
    template <typename Emit>
    void finish(size_t end, Emit& emit) {
        base_[end] = '\0';
        if (start_ < end) emit(base_ + start_);
        start_ = end;
    }

private:
    static constexpr size_t kGroup = 256;
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
void readLines(ByteSource& reader, LineList& lines) {
    int64_t reported = reader.size();
    const size_t size = reported > 0 ? static_cast<size_t>(reported) : 0;
    std::string more;  // what a file that grows while it is read has beyond its first size
    size_t length = 0;
    lines.appendBlock(size + 1, 0, [&](char* base, auto emit) {
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
            // The unfinished line goes on in what followed: its start moves there before its
            // first byte becomes the terminator that ends the block.
            size_t unfinished = splitter.start();
            more.insert(0, base + unfinished, length - unfinished);
            base[unfinished] = '\0';
        }
    });
    if (more.empty()) return;
    appendBytes(lines, more);
}

}  // namespace

LoadResult loadDocument(Document& document, ByteSource& source, const std::string& path) {
    // The text goes into a list of its own first: a load that fails leaves the document as
    // it was, and the old text is only let go once the new one is all there.
    LineList fresh;
    try {
        readLines(source, fresh);
        if (fresh.count() == 0) fresh.insert(0, "", 0);
    } catch (const std::bad_alloc&) {
        return LoadResult::OutOfMemory;
    }
    if (source.failed()) return LoadResult::ReadFailed;

    // The document it replaces goes into the history, so Ctrl+Z brings it back.
    DocumentContent incoming;
    incoming.lines.swap(fresh);
    incoming.path = path;
    incoming.crlf = document.defaults().crlf;
    incoming.space = document.defaults().space;
    document.history.replaceDocument(document, incoming);
    document.modified = false;
    document.setSavedTitle();
    return LoadResult::Loaded;
}

LoadResult loadDocument(Document& document, const std::string& path) {
    FileReader reader(path);
    if (!reader.isOpen()) return LoadResult::CannotOpen;
    // The file's identity is taken before its bytes are read: a change made meanwhile then
    // shows as a change.
    FileIdentity disk{true, fileStamp(path), 0};
    HashingSource hashed(reader);
    LoadResult result = loadDocument(document, hashed, path);
    if (result == LoadResult::Loaded) {
        disk.hash = hashed.digest();
        document.disk = disk;
        // The history's step of this load keeps what it opened.
        document.history.noteOpened(disk);
    }
    return result;
}

namespace {

// Gathers the text of a save into large pieces, so the writer sees few calls whatever the
// line count.
class SaveBuffer {
public:
    static constexpr size_t kSlack = 64;
    // Not cleared first: a short document touches only the bytes it writes.
    SaveBuffer(ByteSink& writer, bool crlf)
        : writer_(writer), crlf_(crlf), piece_(std::make_unique_for_overwrite<char[]>(kWriteStep + kSlack)) {}

    // One line and its line end.
    void line(const char* text, size_t length) {
        if (used_ + length + 2 > kWriteStep) {
            put(text, length);
            put(crlf_ ? "\r\n" : "\n", crlf_ ? 2 : 1);
            return;
        }
        std::memcpy(piece_.get() + used_, text, length);
        used_ += length;
        if (crlf_) piece_[used_++] = '\r';
        piece_[used_++] = '\n';
    }
    // Where the next bytes go, and the last place where a short line may still be copied as
    // one block of kSlack bytes (the buffer has kSlack bytes of room beyond its step).
    char* cursor() { return piece_.get() + used_; }
    char* shortLineLimit() { return piece_.get() + kWriteStep - kSlack - 2; }
    void setCursor(char* at) { used_ = static_cast<size_t>(at - piece_.get()); }
    bool crlf() const { return crlf_; }
    void finish() {
        if (used_) writer_.write(piece_.get(), static_cast<int64_t>(used_));
        used_ = 0;
    }

private:
    void put(const char* bytes, size_t n) {
        while (n > 0) {
            if (used_ == kWriteStep) finish();
            size_t take = std::min(n, kWriteStep - used_);
            std::memcpy(piece_.get() + used_, bytes, take);
            used_ += take;
            bytes += take;
            n -= take;
        }
    }

    ByteSink& writer_;
    bool crlf_;
    std::unique_ptr<char[]> piece_;
    size_t used_ = 0;
};

// Writes lines [first, last], one stretch of a shared block, without measuring each line on
// its own: one pass over the stretch finds the terminators, and a line's text ends at the
// first terminator at or after its start (the others are bytes no line shows).
void saveStretch(const LineList& lines, int first, int last, SaveBuffer& out) {
    const char* begin = lines.at(first);
    const char* end = lines.at(last) + lines.length(last) + 1;  // the last line's terminator too
    constexpr ptrdiff_t kSlack = static_cast<ptrdiff_t>(SaveBuffer::kSlack);
    int k = first;
    const char* start = begin;  // line k
    // Locals, so the stores of the text cannot make the compiler reload them. A short line
    // that may be read kSlack bytes on is copied as one fixed-size block, without a loop that
    // ends at a different place every time.
    char* to = out.cursor();
    char* const limit = out.shortLineLimit();
    const bool crlf = out.crlf();
    forEachByte(begin, static_cast<size_t>(end - begin), '\0', [&](size_t at) {
        const char* nul = begin + at;
        if (k > last || nul < start) return;  // bytes that no line shows
        ptrdiff_t length = nul - start;
        if (length <= kSlack && to <= limit && end - start > kSlack) {
            std::memcpy(to, start, static_cast<size_t>(kSlack));
            to += length;
            if (crlf) *to++ = '\r';
            *to++ = '\n';
        } else {
            out.setCursor(to);
            out.line(start, static_cast<size_t>(length));
            to = out.cursor();
        }
        if (++k <= last) start = lines.at(k);
    });
    out.setCursor(to);
    for (; k <= last; ++k) {
        std::string_view text = lines.view(k);
        out.line(text.data(), text.size());
    }
}

}  // namespace

void writeDocumentText(const Document& document, ByteSink& sink) {
    SaveBuffer out(sink, document.crlf);
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
}

namespace {

// Whether loading the saved bytes gives the same lines: only a line ending in CR, saved with an
// LF line end, comes back different.
bool readsBackAsWritten(const Document& document) {
    if (document.crlf) return true;
    for (int i = 0; i < document.lineCount(); ++i) {
        std::string_view line = document.lines.view(i);
        if (!line.empty() && line.back() == '\r') return false;
    }
    return true;
}

}  // namespace

SaveResult saveDocument(Document& document) {
    if (document.path.empty()) return SaveResult::NotSaved;
    // The new text goes beside the file and replaces it only once all of it is on the disk.
    SafeFileWriter writer(document.path);
    if (!writer.isOpen()) return SaveResult::NotSaved;
    HashingSink hashed(writer);
    writeDocumentText(document, hashed);
    if (!writer.commit()) {
        // A device written where it stands has no earlier version to damage.
        bool damaged = writer.wroteInPlace() && !file_system::isSpecialFile(document.path);
        return damaged ? SaveResult::FailedInPlace : SaveResult::NotSaved;
    }
    document.setSavedTitle();
    document.modified = false;
    document.disk = {true, fileStamp(document.path), hashed.digest(), readsBackAsWritten(document)};
    document.history.markSaved(document);
    return SaveResult::Saved;
}
