#include "editor/line_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "text/terminated_length.h"

namespace {

// An edited line's own storage: this header, then the text and its terminator.
struct OwnHeader {
    size_t length;
    size_t capacity;  // bytes of text that fit, terminator not counted
};
static_assert(sizeof(OwnHeader) == LineList::kBlockPrefix);

char* allocate(size_t bytes) {
    auto* raw = static_cast<char*>(std::malloc(bytes));
    if (!raw) throw std::bad_alloc();
    return raw;
}

OwnHeader* headerOf(const char* text) {
    return reinterpret_cast<OwnHeader*>(const_cast<char*>(text) - sizeof(OwnHeader));
}

// Room kept behind an edited line so typing does not reallocate it at every key.
size_t growthRoom(size_t length) { return std::min<size_t>(length / 8, size_t{1} << 20) + 16; }

}  // namespace

void LineBatch::reserve(size_t bytes, size_t lines) {
    grow(used_ + bytes + lines);
    starts_.reserve(starts_.size() + lines);
}

Storage LineList::newBlockStorage(size_t bytes) { return Storage(allocate(kBlockPrefix + bytes)); }

void LineBatch::grow(size_t needed) {
    if (needed <= capacity_) return;
    size_t capacity = std::max(needed, capacity_ + capacity_ / 2);
    void* bigger = std::realloc(storage_.get(), LineList::kBlockPrefix + capacity);
    if (!bigger) throw std::bad_alloc();
    (void)storage_.release();
    storage_.reset(static_cast<char*>(bigger));
    capacity_ = capacity;
}

void LineBatch::trim() {
    constexpr size_t kSlackKept = size_t{64} << 10;
    if (used_ == 0 || capacity_ - used_ <= kSlackKept) return;
    // Shrinking happens in place where the allocator can; if it cannot, the room stays.
    void* smaller = std::realloc(storage_.get(), LineList::kBlockPrefix + used_);
    if (!smaller) return;
    (void)storage_.release();
    storage_.reset(static_cast<char*>(smaller));
    capacity_ = used_;
}

char* LineBatch::addUninitialized(size_t length) {
    grow(used_ + length + 1);
    starts_.push_back(used_);
    char* out = storage_.get() + LineList::kBlockPrefix + used_;
    out[length] = '\0';
    used_ += length + 1;
    return out;
}

void LineBatch::add(const char* text, size_t length) {
    char* out = addUninitialized(length);
    if (length) std::memcpy(out, text, length);
}

LineList::~LineList() { clear(); }

const LineList::Block* LineList::blockOf(const char* text) const {
    if (blocks_.empty()) return nullptr;
    auto after = std::upper_bound(blocks_.begin(), blocks_.end(), text,
                                  [](const char* p, const Block& b) { return std::less<const char*>()(p, b.begin); });
    if (after == blocks_.begin()) return nullptr;
    const Block& block = *(after - 1);
    return std::less<const char*>()(text, block.end) ? &block : nullptr;
}

LineList::Block* LineList::blockOf(const char* text) {
    return const_cast<Block*>(static_cast<const LineList*>(this)->blockOf(text));
}

std::string_view LineList::view(int index) const {
    const char* text = at(index);
    if (!text) return {};
    if (ownLines_ > 0 && !blockOf(text)) return {text, headerOf(text)->length};
    return {text, terminatedLength(text)};
}

char* LineList::allocateOwn(size_t length, size_t room) {
    size_t capacity = length + room;
    auto* header = reinterpret_cast<OwnHeader*>(allocate(sizeof(OwnHeader) + capacity + 1));
    header->length = length;
    header->capacity = capacity;
    ++ownLines_;
    return reinterpret_cast<char*>(header + 1);
}

void LineList::release(char* text) {
    if (Block* block = blockOf(text)) {
        if (--block->live == 0) blocks_.erase(blocks_.begin() + (block - blocks_.data()));
        return;
    }
    std::free(headerOf(text));
    --ownLines_;
}

void LineList::adoptBlock(Storage storage, size_t bytes, size_t lines) {
    if (lines == 0 || !storage) return;
    const char* begin = storage.get() + kBlockPrefix;
    Block block{begin, begin + bytes, lines, std::move(storage)};
    auto at = std::upper_bound(blocks_.begin(), blocks_.end(), begin,
                               [](const char* p, const Block& b) { return std::less<const char*>()(p, b.begin); });
    blocks_.insert(at, std::move(block));
    changed();
}

void LineList::insert(int index, const char* text, size_t length) {
    char* own = allocateOwn(length, 0);
    if (length) std::memcpy(own, text, length);
    own[length] = '\0';
    index = std::clamp(index, 0, count());
    try {
        lines_.insert(lines_.begin() + index, own);
    } catch (...) {
        release(own);
        throw;
    }
    changed();
}

void LineList::insert(int index, const char* text) { insert(index, text, std::strlen(text)); }

void LineList::insert(int index, LineBatch&& batch) {
    if (batch.empty()) return;
    // Room for the block first: once lines point into the batch it must be adopted.
    blocks_.reserve(blocks_.size() + 1);
    index = std::clamp(index, 0, count());
    char* base = batch.storage_.get() + kBlockPrefix;
    auto at = lines_.insert(lines_.begin() + index, batch.count(), nullptr);
    for (size_t start : batch.starts_) *at++ = base + start;
    adoptBlock(std::move(batch.storage_), batch.used_, batch.count());
    batch = LineBatch();
    changed();
}

void LineList::remove(int index) { removeRange(index, 1); }

void LineList::removeRange(int index, int n) {
    if (index < 0 || index >= count() || n <= 0) return;
    int end = std::min(index + n, count());
    for (int i = index; i < end; ++i) release(lines_[static_cast<size_t>(i)]);
    lines_.erase(lines_.begin() + index, lines_.begin() + end);
    changed();
}

void LineList::replace(int index, const char* text, size_t length) {
    if (index < 0 || index >= count()) return;
    char*& slot = lines_[static_cast<size_t>(index)];
    bool own = !blockOf(slot);
    if (own && headerOf(slot)->capacity >= length) {
        std::memmove(slot, text, length);
        slot[length] = '\0';
        headerOf(slot)->length = length;
    } else {
        // The text may be this very line: copy it before the old storage goes.
        char* fresh = allocateOwn(length, own ? growthRoom(length) : 0);
        if (length) std::memcpy(fresh, text, length);
        fresh[length] = '\0';
        release(slot);
        slot = fresh;
    }
    changed();
}

void LineList::replace(int index, const char* text) { replace(index, text, std::strlen(text)); }

void LineList::replace(int index, LineBatch&& batch) {
    if (index < 0 || batch.empty()) return;
    size_t n = std::min(batch.count(), lines_.size() - std::min(lines_.size(), static_cast<size_t>(index)));
    if (n == 0) return;
    blocks_.reserve(blocks_.size() + 1);
    char* base = batch.storage_.get() + kBlockPrefix;
    for (size_t i = 0; i < n; ++i) {
        char*& slot = lines_[static_cast<size_t>(index) + i];
        release(slot);
        slot = base + batch.starts_[i];
    }
    adoptBlock(std::move(batch.storage_), batch.used_, n);
    batch = LineBatch();
    changed();
}

void LineList::makeOwn(char*& slot, size_t length) {
    Block* block = blockOf(slot);
    if (block && block->live == 1 && slot == block->begin) {
        // The block's first and only line: the block becomes its own storage.
        auto* header = reinterpret_cast<OwnHeader*>(block->storage.release());
        header->length = terminatedLength(slot);
        header->capacity = static_cast<size_t>(block->end - block->begin) - 1;
        blocks_.erase(blocks_.begin() + (block - blocks_.data()));
        ++ownLines_;
        block = nullptr;
    }
    if (block) {
        size_t old = terminatedLength(slot);
        char* fresh = allocateOwn(std::max(length, old), growthRoom(length));
        std::memcpy(fresh, slot, old + 1);
        headerOf(fresh)->length = old;
        release(slot);
        slot = fresh;
        return;
    }
    OwnHeader* header = headerOf(slot);
    if (header->capacity >= length) return;
    // Growing in place where the allocator can: a huge line is not copied.
    size_t capacity = length + growthRoom(length);
    void* bigger = std::realloc(header, sizeof(OwnHeader) + capacity + 1);
    if (!bigger) throw std::bad_alloc();
    header = static_cast<OwnHeader*>(bigger);
    header->capacity = capacity;
    slot = reinterpret_cast<char*>(header + 1);
}

void LineList::splice(int index, size_t pos, size_t erase, const char* text, size_t n) {
    if (index < 0 || index >= count()) return;
    char*& slot = lines_[static_cast<size_t>(index)];
    std::string_view old = view(index);
    pos = std::min(pos, old.size());
    erase = std::min(erase, old.size() - pos);
    size_t length = old.size() - erase + n;
    size_t tail = old.size() - pos - erase;
    bool own = !blockOf(slot);
    if (n == 0 && tail == 0) {
        // Cutting the end off: a terminator is all it takes, in shared storage too.
        slot[pos] = '\0';
        if (own) headerOf(slot)->length = pos;
        changed();
        return;
    }
    if (n == 0 && pos == 0 && !own) {
        // Dropping the start of a line in shared storage: its text simply begins later.
        slot += erase;
        changed();
        return;
    }
    // The inserted text may be this very line's bytes, which growing can move.
    std::string copy;
    if (n && text >= slot && text <= slot + old.size()) {
        copy.assign(text, n);
        text = copy.data();
    }
    makeOwn(slot, length);
    std::memmove(slot + pos + n, slot + pos + erase, tail);
    if (n) std::memcpy(slot + pos, text, n);
    slot[length] = '\0';
    headerOf(slot)->length = length;
    changed();
}

void LineList::reserveSplice(int index, size_t pos, size_t erase, size_t n) {
    if (index < 0 || index >= count()) return;
    std::string_view old = view(index);
    pos = std::min(pos, old.size());
    erase = std::min(erase, old.size() - pos);
    bool own = !blockOf(lines_[static_cast<size_t>(index)]);
    if (n == 0 && pos + erase == old.size()) return;
    if (n == 0 && pos == 0 && !own) return;
    makeOwn(lines_[static_cast<size_t>(index)], old.size() - erase + n);
}

void LineList::reserveLine(int index, size_t length) {
    if (index < 0 || index >= count()) return;
    makeOwn(lines_[static_cast<size_t>(index)], length);
}

int LineList::stretchEnd(int index, int last, size_t maxBytes) const {
    if (index < 0 || index >= count()) return index;
    const Block* block = blockOf(lines_[static_cast<size_t>(index)]);
    if (!block) return index;
    last = std::min(last, count() - 1);
    const char* begin = lines_[static_cast<size_t>(index)];
    int k = index;
    while (k < last) {
        const char* next = lines_[static_cast<size_t>(k) + 1];
        if (!(next > lines_[static_cast<size_t>(k)] && next < block->end) || static_cast<size_t>(next - begin) > maxBytes)
            break;
        ++k;
    }
    return k;
}

int LineList::stretchStart(int index, int first, size_t maxBytes) const {
    if (index < 0 || index >= count()) return index;
    const Block* block = blockOf(lines_[static_cast<size_t>(index)]);
    if (!block) return index;
    first = std::max(first, 0);
    const char* end = lines_[static_cast<size_t>(index)];
    int k = index;
    while (k > first) {
        const char* previous = lines_[static_cast<size_t>(k) - 1];
        if (!(previous < lines_[static_cast<size_t>(k)] && previous >= block->begin) ||
            static_cast<size_t>(end - previous) > maxBytes)
            break;
        --k;
    }
    return k;
}

void LineList::swap(LineList& other) noexcept {
    lines_.swap(other.lines_);
    blocks_.swap(other.blocks_);
    std::swap(ownLines_, other.ownLines_);
    // Both revisions move past either, so no view takes the new text for the old.
    revision_ = other.revision_ = std::max(revision_, other.revision_) + 1;
}

size_t LineList::memoryBytes() const {
    size_t bytes = sizeof *this + lines_.capacity() * sizeof(char*) + blocks_.capacity() * sizeof(Block);
    for (const Block& block : blocks_) bytes += kBlockPrefix + static_cast<size_t>(block.end - block.begin);
    if (ownLines_ > 0) {
        for (const char* text : lines_)
            if (!blockOf(text)) bytes += sizeof(OwnHeader) + headerOf(text)->capacity + 1;
    }
    return bytes;
}

void LineList::clear() {
    if (ownLines_ > 0) {
        for (char* text : lines_)
            if (!blockOf(text)) std::free(headerOf(text));
    }
    ownLines_ = 0;
    std::vector<char*>().swap(lines_);
    blocks_.clear();
    changed();
}
