#include "editor/change_record.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// A chunk is closed once it passes this size, so decoding one for a reversed walk stays cheap.
constexpr size_t kChunkBytes = 64 * 1024;

enum : unsigned char {
    kSameRemoved = 1,   // the removed text repeats the previous change's
    kSameInserted = 2,  // the inserted text repeats the previous change's
};

void putVarint(std::string& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

bool getVarint(std::string_view in, size_t& at, uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (at >= in.size()) return false;
        auto b = static_cast<unsigned char>(in[at++]);
        value |= static_cast<uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) return true;
    }
    return false;
}

uint64_t zigzag(int64_t v) { return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63); }
int64_t unzigzag(uint64_t v) { return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1); }

bool holdsBreak(std::string_view text) { return text.find(kLineBreak) != std::string_view::npos; }

}  // namespace

bool Change::withinLine() const { return !holdsBreak(removed) && !holdsBreak(inserted); }

bool ChangeRecord::continuesOpen(const Change& change) const {
    return open_ && change.line == openLine_ && change.byte == openByte_ + openInserted_.size() && change.withinLine() &&
           !holdsBreak(openRemoved_) && !holdsBreak(openInserted_);
}

void ChangeRecord::extendOpen(const Change& change) {
    // Removing r then inserting i at p, followed by removing r2 and inserting i2 right after
    // i, is removing r + r2 and inserting i + i2 at p. Room first, so the two texts grow
    // together or not at all.
    openRemoved_.reserve(openRemoved_.size() + change.removed.size());
    openInserted_.reserve(openInserted_.size() + change.inserted.size());
    openRemoved_.append(change.removed);
    openInserted_.append(change.inserted);
}

void ChangeRecord::add(const Change& change) {
    if (change.removed.empty() && change.inserted.empty()) return;
    if (continuesOpen(change)) {
        extendOpen(change);
        return;
    }
    // The new texts first: a change that cannot be kept leaves the record as it was.
    std::string removed(change.removed), inserted(change.inserted);
    seal();
    openRemoved_.swap(removed);
    openInserted_.swap(inserted);
    openLine_ = change.line;
    openByte_ = change.byte;
    open_ = true;
    if (count_ == 0) firstLine_ = lastLine_ = change.line;
    ordered_ = ordered_ && (count_ == 0 || change.line >= lastAdded_);
    lastAdded_ = change.line;
    firstLine_ = std::min(firstLine_, change.line);
    lastLine_ = std::max(lastLine_, change.line);
    crossesLines_ = crossesLines_ || !change.withinLine();
    ++count_;
}

void ChangeRecord::append(const ChangeRecord& other) {
    other.forEach([this](const Change& change) { add(change); });
}

bool ChangeRecord::tryExtend(const ChangeRecord& other) {
    if (other.count_ != 1 || !other.open_) return false;
    Change next = other.openChange();
    if (!continuesOpen(next)) return false;
    extendOpen(next);
    return true;
}

ChangeRecord::Mark ChangeRecord::mark() {
    seal();
    return {chunks_.size(), chunks_.empty() ? 0 : chunks_.back().size(), count_, firstLine_, lastLine_, chunkLine_,
            crossesLines_, ordered_, lastAdded_, removedAt_, removedLength_, insertedAt_, insertedLength_};
}

void ChangeRecord::truncate(const Mark& mark) {
    open_ = false;
    openRemoved_.clear();
    openInserted_.clear();
    chunks_.resize(mark.chunks);
    if (!chunks_.empty()) chunks_.back().resize(mark.chunkBytes);
    count_ = mark.count;
    firstLine_ = mark.firstLine;
    lastLine_ = mark.lastLine;
    chunkLine_ = mark.chunkLine;
    crossesLines_ = mark.crossesLines;
    ordered_ = mark.ordered;
    lastAdded_ = mark.lastAdded;
    removedAt_ = mark.removedAt;
    removedLength_ = mark.removedLength;
    insertedAt_ = mark.insertedAt;
    insertedLength_ = mark.insertedLength;
}

bool ChangeRecord::withinOneLine(int& line) const {
    line = firstLine_;
    return count_ > 0 && !crossesLines_ && firstLine_ == lastLine_;
}

size_t ChangeRecord::memoryBytes() const {
    size_t bytes = sizeof *this + openRemoved_.capacity() + openInserted_.capacity() +
                   chunks_.capacity() * sizeof(std::string);
    for (const std::string& chunk : chunks_) bytes += chunk.capacity();
    return bytes;
}

void ChangeRecord::seal() {
    if (!open_) return;
    encode(openChange());
    open_ = false;
    openRemoved_.clear();
    openInserted_.clear();
}

void ChangeRecord::encode(const Change& change) {
    bool fresh = chunks_.empty() || chunks_.back().size() >= kChunkBytes;
    if (fresh) chunks_.emplace_back();
    std::string& chunk = chunks_.back();
    const size_t start = chunk.size();
    try {
        unsigned char flags = 0;
        if (!fresh && change.removed == std::string_view(chunk).substr(removedAt_, removedLength_)) flags |= kSameRemoved;
        if (!fresh && change.inserted == std::string_view(chunk).substr(insertedAt_, insertedLength_))
            flags |= kSameInserted;
        chunk.push_back(static_cast<char>(flags));
        putVarint(chunk, zigzag(static_cast<int64_t>(change.line) - (fresh ? 0 : chunkLine_)));
        putVarint(chunk, change.byte);
        size_t removedAt = removedAt_, insertedAt = insertedAt_;
        if (!(flags & kSameRemoved)) {
            putVarint(chunk, change.removed.size());
            removedAt = chunk.size();
            chunk.append(change.removed);
        }
        if (!(flags & kSameInserted)) {
            putVarint(chunk, change.inserted.size());
            insertedAt = chunk.size();
            chunk.append(change.inserted);
        }
        chunkLine_ = change.line;
        removedAt_ = removedAt;
        removedLength_ = change.removed.size();
        insertedAt_ = insertedAt;
        insertedLength_ = change.inserted.size();
    } catch (...) {
        chunk.resize(start);
        if (chunk.empty()) chunks_.pop_back();
        throw;
    }
}

bool ChangeRecord::decodeChunk(std::string_view chunk, std::vector<Change>& out) {
    out.clear();
    size_t at = 0;
    int64_t line = 0;
    std::string_view removed, inserted;
    auto text = [&](std::string_view& into) {
        uint64_t length = 0;
        if (!getVarint(chunk, at, length) || length > chunk.size() - at) return false;
        into = chunk.substr(at, static_cast<size_t>(length));
        at += static_cast<size_t>(length);
        return true;
    };
    while (at < chunk.size()) {
        auto flags = static_cast<unsigned char>(chunk[at++]);
        uint64_t delta = 0, byte = 0;
        if (flags > 3 || !getVarint(chunk, at, delta) || !getVarint(chunk, at, byte)) return false;
        // The first change of a chunk states its texts.
        if (out.empty() && flags != 0) return false;
        line += unzigzag(delta);
        if (line < 0 || line > INT32_MAX) return false;
        if (!(flags & kSameRemoved) && !text(removed)) return false;
        if (!(flags & kSameInserted) && !text(inserted)) return false;
        out.push_back({static_cast<int>(line), static_cast<size_t>(byte), removed, inserted});
    }
    return true;
}

std::string ChangeRecord::toBytes() const {
    // Each chunk stands alone, so the bytes are the chunks with their lengths, the change still
    // growing encoded as a chunk of its own.
    ChangeRecord last;
    if (open_) last.encode(openChange());
    std::string out;
    auto put = [&out](const std::string& chunk) {
        putVarint(out, chunk.size());
        out.append(chunk);
    };
    for (const std::string& chunk : chunks_) put(chunk);
    for (const std::string& chunk : last.chunks_) put(chunk);
    return out;
}

bool ChangeRecord::fromBytes(std::string_view bytes) {
    ChangeRecord rebuilt;
    std::vector<Change> decoded;
    size_t at = 0;
    while (at < bytes.size()) {
        uint64_t length = 0;
        if (!getVarint(bytes, at, length) || length > bytes.size() - at) return false;
        std::string_view chunk = bytes.substr(at, static_cast<size_t>(length));
        at += static_cast<size_t>(length);
        if (!decodeChunk(chunk, decoded)) return false;
        for (const Change& change : decoded) rebuilt.add(change);
    }
    *this = std::move(rebuilt);
    return true;
}
