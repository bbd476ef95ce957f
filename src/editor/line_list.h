#pragma once
// The document's lines: NUL-terminated byte strings addressed by index. Lines read from a
// file, and lines written in one batch (a block indent, a paste), live side by side in large
// shared blocks, so a big file costs its own size plus one pointer per line. A line that is
// edited gets storage of its own with room to grow; a change then moves only the bytes after
// it. A block is released when none of its lines is left.
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

// Storage of blocks and edited lines: one allocation that can grow in place.
struct FreeStorage {
    void operator()(char* p) const noexcept { std::free(p); }
};
using Storage = std::unique_ptr<char, FreeStorage>;

// Lines gathered into one block of text, handed to a LineList in one step.
class LineBatch {
public:
    // Room for this many bytes of text (terminators not counted) in this many lines.
    void reserve(size_t bytes, size_t lines);
    void add(const char* text, size_t length);
    void add(std::string_view text) { add(text.data(), text.size()); }
    // A new line of length bytes to be written through the returned pointer.
    char* addUninitialized(size_t length);
    // Gives back room reserved beyond what the lines use, when that is a lot: a block keeps
    // its whole allocation for as long as any of its lines lives.
    void trim();
    size_t count() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }

private:
    friend class LineList;
    void grow(size_t needed);

    Storage storage_;  // a block's room for a line header, then the text
    size_t used_ = 0;
    size_t capacity_ = 0;
    std::vector<size_t> starts_;
};

class LineList {
public:
    LineList() = default;
    ~LineList();
    LineList(const LineList&) = delete;
    LineList& operator=(const LineList&) = delete;

    int count() const { return static_cast<int>(lines_.size()); }
    // Absent (nullptr) for an index out of range.
    const char* at(int index) const {
        return index < 0 || index >= count() ? nullptr : lines_[static_cast<size_t>(index)];
    }
    // The line's bytes without its terminator; empty for an index out of range.
    std::string_view view(int index) const;
    size_t length(int index) const { return view(index).size(); }

    void insert(int index, const char* text, size_t length);
    void insert(int index, const char* text);
    // Inserts every line of the batch at index (clamped to 0..count) in one step.
    void insert(int index, LineBatch&& batch);
    void remove(int index);
    // Removes up to n lines from index on in one step.
    void removeRange(int index, int n);
    // Assigns the text to the line in place; text may be the line's own bytes.
    void replace(int index, const char* text, size_t length);
    void replace(int index, const char* text);
    // Replaces the lines from index on, one per line of the batch, in one step.
    void replace(int index, LineBatch&& batch);
    // Removes `erase` bytes at byte pos of the line and puts text there (both limited to the
    // line); only the bytes after the change move.
    void splice(int index, size_t pos, size_t erase, const char* text, size_t n);
    // Gives the line room for length bytes in storage of its own, so that a splice up to that
    // length needs no memory: a command that must not fail half-way asks first. The text
    // stays as it is.
    void reserveLine(int index, size_t length);
    // Takes what the same splice will need, so that it then cannot fail; nothing for a splice
    // that needs no memory (cutting a line's end, dropping the start of a shared line).
    void reserveSplice(int index, size_t pos, size_t erase, size_t n);
    void clear();
    void reserve(size_t n) { lines_.reserve(n); }
    // Room for this many more blocks, so the batch operations that follow need no memory.
    void reserveBlocks(size_t extra) { blocks_.reserve(blocks_.size() + extra); }
    // The memory the lines hold: blocks, lines in storage of their own, the index.
    size_t memoryBytes() const;
    // Exchanges the two lists' lines; both count as changed.
    void swap(LineList& other) noexcept;

    // Appends the lines of a new block of `bytes` bytes: split(base, emit) fills the block
    // from base on and calls emit(start) with the start of each line, in order; every line
    // must be NUL-terminated inside the block by the time split returns. expectedLines sizes
    // the index (split may size it again with reserve once it knows better).
    // When split or a reservation fails (out of memory), the list is left as it was.
    template <typename Split>
    void appendBlock(size_t bytes, size_t expectedLines, Split&& split) {
        Storage storage = newBlockStorage(bytes);
        blocks_.reserve(blocks_.size() + 1);
        lines_.reserve(lines_.size() + expectedLines);
        size_t before = lines_.size();
        char* base = storage.get() + kBlockPrefix;
        try {
            split(base, [this](char* start) {
                // Past the expected count the index grows by a quarter, not by doubling.
                if (lines_.size() == lines_.capacity())
                    lines_.reserve(lines_.capacity() + lines_.capacity() / 4 + 1024);
                lines_.push_back(start);
            });
        } catch (...) {
            // The lines emitted so far point into storage that is about to go.
            lines_.resize(before);
            throw;
        }
        adoptBlock(std::move(storage), bytes, lines_.size() - before);
    }

    // Lines whose text lies in one shared block at rising addresses can be searched as one
    // stretch of bytes (a match found there still has to be checked against its line, since
    // the stretch may hold bytes that no line shows). The last line from index on, at most
    // `last` and within about maxBytes of line index's start, that continues such a stretch;
    // index itself for a line in storage of its own.
    int stretchEnd(int index, int last, size_t maxBytes) const;
    // The same backwards: the first line, at least `first`, of the stretch that ends at index.
    int stretchStart(int index, int first, size_t maxBytes) const;

    // Grows with every change of the text, so a view can tell that it must repaint.
    unsigned long long revision() const { return revision_; }

    // Every block keeps room for a line header in front of its text, so a block whose first
    // line is all that is left of it can become that line's own storage without a copy (a
    // file of one huge line is edited where it was read).
    static constexpr size_t kBlockPrefix = 2 * sizeof(size_t);
    static Storage newBlockStorage(size_t bytes);

private:
    struct Block {
        const char* begin;  // the text, after the prefix
        const char* end;
        size_t live;  // lines still pointing into it
        Storage storage;
    };

    void adoptBlock(Storage storage, size_t bytes, size_t lines);
    // Makes the line at slot a line with storage of its own of at least length bytes, keeping
    // its text; it takes over its block when it is the block's first and only line.
    void makeOwn(char*& slot, size_t length);
    Block* blockOf(const char* text);
    const Block* blockOf(const char* text) const;
    // Lets go of one line's storage: an own allocation is freed, a block loses a line.
    void release(char* text);
    // Storage of its own for a line of length bytes with room to grow; not yet terminated.
    char* allocateOwn(size_t length, size_t room);
    void changed() { ++revision_; }

    std::vector<char*> lines_;
    std::vector<Block> blocks_;  // sorted by address
    size_t ownLines_ = 0;
    unsigned long long revision_ = 0;
};
