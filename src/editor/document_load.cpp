// Reading a file into the document line by line.
#include "editor/document_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "editor/byte_scan.h"
#include "editor/copy_behind.h"
#include "editor/document.h"
#include "editor/file_identity.h"
#include "editor/transfer_progress.h"
#include "platform/file_io.h"
#include "platform/memory_prefault.h"
#include "text/utf16.h"

namespace {

constexpr size_t kReadStep = size_t{1} << 20;
constexpr size_t kProbeBytes = 65536;
// From this size on, a file's bytes are copied into place on a second thread.
constexpr size_t kCopyBehindFrom = size_t{8} << 20;

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

bool holdsNul(const char* bytes, size_t n) { return n > 0 && std::memchr(bytes, 0, n) != nullptr; }

// Splits bytes that are all in memory into a block of their own.
void appendBytes(LineList& lines, std::string_view bytes) {
    lines.appendBlock(bytes.size() + 1, 0, [&](char* base, auto emit) {
        if (!bytes.empty()) std::memcpy(base, bytes.data(), bytes.size());
        LineSplitter splitter(base);
        splitter.feed(0, bytes.size(), emit);
        splitter.finish(bytes.size(), emit);
    });
}

// The first bytes of a file, read before the rest to tell its encoding by its mark.
struct FileStart {
    char bytes[2] = {};
    size_t count = 0;

    std::string_view view() const { return {bytes, count}; }
    TextEncoding encoding() const {
        if (count < 2) return TextEncoding::Utf8;
        auto b0 = static_cast<unsigned char>(bytes[0]), b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE) return TextEncoding::Utf16LE;
        if (b0 == 0xFE && b1 == 0xFF) return TextEncoding::Utf16BE;
        return TextEncoding::Utf8;
    }
};

FileStart readStart(ByteSource& reader) {
    FileStart start;
    while (start.count < sizeof start.bytes) {
        int64_t got = reader.read(start.bytes + start.count, static_cast<int64_t>(sizeof start.bytes - start.count));
        if (got <= 0) break;
        start.count += static_cast<size_t>(got);
    }
    return start;
}

// Reserves the line index for a text of `size` bytes from the line density of its first bytes
// and the first request after them.
void reserveByDensity(LineList& lines, const FileStart& start, std::string_view first, size_t size) {
    const auto feeds = static_cast<size_t>(std::count(start.bytes, start.bytes + start.count, '\n') +
                                           std::count(first.begin(), first.end(), '\n'));
    const double perByte = static_cast<double>(feeds + 1) / static_cast<double>(start.count + first.size());
    lines.reserve(static_cast<size_t>(perByte * 1.05 * static_cast<double>(size)) + 1024);
}

// Reads the file, after its first bytes, into one block of its own size (plus a terminator)
// that becomes the lines' shared storage, splitting each step while it is still in the cache:
// loading costs the file's size and one pointer per line. The first step's line density sizes
// the index. Tells whether any byte was a NUL, which ends its line's text.
bool readLines(ByteSource& reader, const FileStart& start, LineList& lines) {
    int64_t reported = reader.size();
    const size_t size = std::max(reported > 0 ? static_cast<size_t>(reported) : 0, start.count);
    std::string more;  // what a file that grows while it is read has beyond its first size
    // The system's copy into fresh pages costs far more than the program's own (each page is
    // mapped in on its own while the system copies): each request lands in a reused buffer and
    // is copied on from there, on a second thread for a large file, while the next request is
    // read and the one before it is split.
    const size_t landingSize = std::min(kReadStep, std::max<size_t>(size, 1));
    size_t length = start.count;
    bool nul = holdsNul(start.bytes, start.count);
    lines.appendBlock(size + 1, 0, [&](char* base, auto emit) {
        // Mapping the pages in all at once is cheaper than one at a time as the text arrives.
        if (size >= kReadStep) prefaultMemory(base, size + 1);
        CopyBehind copier(landingSize, size >= kCopyBehindFrom);
        LineSplitter splitter(base);
        if (start.count) std::memcpy(base, start.bytes, start.count);
        size_t split = 0;   // the bytes before this are split into lines
        size_t copied = 0;  // the bytes before this are in place once copy `last` is done
        uint64_t last = 0;
        bool reserved = false;
        while (length < size) {
            char* landing = copier.landing();
            int64_t got = reader.read(landing, static_cast<int64_t>(std::min(landingSize, size - length)));
            if (got <= 0) break;
            size_t n = static_cast<size_t>(got);
            nul = nul || holdsNul(landing, n);
            if (!reserved) reserveByDensity(lines, start, {landing, n}, size);
            reserved = true;
            const uint64_t ticket = copier.copy(base + length, n);
            if (copied > split) {
                copier.waitFor(last);
                splitter.feed(split, copied, emit);
                split = copied;
            }
            length += n;
            copied = length;
            last = ticket;
        }
        if (copied > split) copier.waitFor(last);
        splitter.feed(split, length, emit);
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
    if (more.empty()) return nul;
    appendBytes(lines, more);
    return nul || holdsNul(more.data(), more.size());
}

// Every byte of the file, its first ones included, however its size changes while it is
// read: in storage of the size the file reported (nothing cleared or copied on the way), or,
// for a file that grew meanwhile, in `grown`.
std::string_view readWhole(ByteSource& reader, const FileStart& start, std::unique_ptr<char[]>& storage,
                           std::string& grown) {
    const int64_t reported = reader.size();
    const size_t size = std::max(reported > 0 ? static_cast<size_t>(reported) : 0, start.count);
    storage = std::make_unique_for_overwrite<char[]>(size + 1);
    if (start.count) std::memcpy(storage.get(), start.bytes, start.count);
    size_t length = start.count;
    while (length < size) {
        int64_t got = reader.read(storage.get() + length, static_cast<int64_t>(std::min(kReadStep, size - length)));
        if (got <= 0) break;
        length += static_cast<size_t>(got);
    }
    if (length == size) {
        char probe[kProbeBytes];
        for (int64_t got; (got = reader.read(probe, sizeof probe)) > 0;) grown.append(probe, static_cast<size_t>(got));
    }
    if (grown.empty()) return {storage.get(), length};
    grown.insert(0, storage.get(), length);
    storage.reset();
    return grown;
}

// A file that starts with a UTF-16 mark becomes UTF-8 lines when the rest is well-formed
// UTF-16, decoded straight into the lines' storage; otherwise its bytes are taken as they
// are, and it cannot be saved over.
void readUtf16(ByteSource& reader, const FileStart& start, LineList& lines, FileFormat& format) {
    std::unique_ptr<char[]> storage;
    std::string grown;
    const std::string_view bytes = readWhole(reader, start, storage, grown);
    const std::string_view text = bytes.substr(2);
    const ByteOrder order = format.encoding == TextEncoding::Utf16LE ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
    if (const std::optional<size_t> length = utf8LengthOfUtf16(text, order)) {
        lines.appendBlock(*length + 1, 0, [&](char* base, auto emit) {
            utf16ToUtf8Into(text, order, base);
            // The file's bytes go before the lines are counted: at most two copies at once.
            storage.reset();
            std::string().swap(grown);
            format.holdsNul = holdsNul(base, *length);
            LineSplitter splitter(base);
            splitter.feed(0, *length, emit);
            splitter.finish(*length, emit);
        });
        return;
    }
    format = FileFormat{};
    format.malformedUtf16 = true;
    format.holdsNul = holdsNul(bytes.data(), bytes.size());
    appendBytes(lines, bytes);
}

}  // namespace

LoadResult loadDocument(Document& document, ByteSource& source, const std::string& path) {
    // The text goes into a list of its own first: a load that fails leaves the document as
    // it was, and the old text is only let go once the new one is all there.
    LineList fresh;
    FileFormat format;
    try {
        const FileStart start = readStart(source);
        format.encoding = start.encoding();
        if (format.encoding == TextEncoding::Utf8)
            format.holdsNul = readLines(source, start, fresh);
        else
            readUtf16(source, start, fresh, format);
        if (fresh.count() == 0) fresh.insert(0, "", 0);
    } catch (const std::bad_alloc&) {
        return LoadResult::OutOfMemory;
    }
    if (source.failed()) return LoadResult::ReadFailed;

    // The document it replaces goes into the history, so Ctrl+Z brings it back.
    DocumentContent incoming;
    incoming.lines.swap(fresh);
    incoming.path = path;
    incoming.format = format;
    incoming.crlf = document.defaults().crlf;
    incoming.space = document.defaults().space;
    document.history.replaceDocument(document, incoming);
    document.modified = false;
    document.setSavedTitle();
    return LoadResult::Loaded;
}

namespace {

// Tells progress to no one and never stops.
class NoProgress final : public TransferProgress {
public:
    bool advanced(const TransferStep&) override { return true; }
};

}  // namespace

LoadResult loadDocument(Document& document, const std::string& path, TransferProgress* progress) {
    FileReader reader(path, FileRequests::Large);
    if (!reader.isOpen()) return LoadResult::CannotOpen;
    // The file's identity is taken before its bytes are read: a change made meanwhile then
    // shows as a change.
    FileIdentity disk{true, fileStamp(path), 0};
    NoProgress quiet;
    ProgressSource told(reader, progress ? *progress : quiet);
    HashingSource hashed(told);
    LoadResult result = loadDocument(document, hashed, path);
    if (told.stopped()) return LoadResult::Cancelled;
    if (result == LoadResult::Loaded) {
        disk.hash = hashed.digest();
        document.disk = disk;
        // The history's step of this load keeps what it opened.
        document.history.noteOpened(disk);
    }
    return result;
}

