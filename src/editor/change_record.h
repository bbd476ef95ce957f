#pragma once
// The record of what one step did to the text: a list of changes, each "at byte `byte` of line
// `line`, these bytes were removed and these inserted", in the order they were made. A text
// that spans lines holds a NUL where a line break is: lines are NUL-terminated, so no line
// can hold one itself.
//
// Changes are kept compactly encoded in chunks, so a step costs about the bytes it moved: a
// typed word is one change, a replace-all a few bytes per hit.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kLineBreak = '\0';

struct Change {
    int line = 0;
    size_t byte = 0;
    std::string_view removed;
    std::string_view inserted;
    // The change that takes the text back: what was inserted goes, what was removed returns.
    Change inverse() const { return {line, byte, inserted, removed}; }
    // Neither text holds a line break.
    bool withinLine() const;
};

class ChangeRecord {
public:
    // Appends a change made after every change already recorded. A change that continues the
    // last one on its line (typing, overwrite typing) joins it.
    void add(const Change& change);
    // Every change of another record, after these.
    void append(const ChangeRecord& other);
    // Joins other to the last change when other is one change that continues it (the next
    // keys of a typed word); false, with nothing changed, when it is not.
    bool tryExtend(const ChangeRecord& other);

    // A point to come back to: truncate(mark) forgets every change added after the mark. A
    // change added later never joins one made before the mark.
    struct Mark {
        size_t chunks = 0;
        size_t chunkBytes = 0;
        size_t count = 0;
        int firstLine = 0, lastLine = 0, chunkLine = 0;
        bool crossesLines = false, ordered = true;
        int lastAdded = 0;
        size_t removedAt = 0, removedLength = 0, insertedAt = 0, insertedLength = 0;
    };
    Mark mark();
    void truncate(const Mark& mark);

    bool empty() const { return chunks_.empty() && !open_; }
    size_t count() const { return count_; }
    // The memory the record holds.
    size_t memoryBytes() const;
    // Every change lies on this one line and none breaks or joins lines.
    bool withinOneLine(int& line) const;
    // No change breaks or joins lines, and each lies on the line of the one before or later:
    // then the changes of different lines are independent of each other.
    bool linesInOrder() const { return !crossesLines_ && ordered_; }

    // Calls visit(change) for every change in order, or in reverse order. The texts a change
    // shows live as long as the record is not changed.
    template <typename Visit>
    void forEach(Visit&& visit) const {
        std::vector<Change> decoded;
        for (const std::string& chunk : chunks_) {
            decodeChunk(chunk, decoded);
            for (const Change& change : decoded) visit(change);
        }
        if (open_) visit(openChange());
    }
    template <typename Visit>
    void forEachReversed(Visit&& visit) const {
        if (open_) visit(openChange());
        std::vector<Change> decoded;
        for (size_t i = chunks_.size(); i-- > 0;) {
            decodeChunk(chunks_[i], decoded);
            for (size_t k = decoded.size(); k-- > 0;) visit(decoded[k]);
        }
    }

    // The record as bytes, to be kept outside the program; fromBytes gives it back, or false
    // (with the record empty) when the bytes are not a whole record.
    std::string toBytes() const;
    bool fromBytes(std::string_view bytes);

private:
    bool continuesOpen(const Change& change) const;
    void extendOpen(const Change& change);
    void seal();
    void encode(const Change& change);
    static bool decodeChunk(std::string_view chunk, std::vector<Change>& out);
    Change openChange() const { return {openLine_, openByte_, openRemoved_, openInserted_}; }

    // The last change stays decoded while it may still grow, so typing extends it.
    bool open_ = false;
    int openLine_ = 0;
    size_t openByte_ = 0;
    std::string openRemoved_;
    std::string openInserted_;

    std::vector<std::string> chunks_;
    size_t count_ = 0;
    int firstLine_ = 0;
    int lastLine_ = 0;
    bool crossesLines_ = false;
    bool ordered_ = true;
    int lastAdded_ = 0;  // the line of the change added last
    // The last encoded change of the last chunk, for the repeat marks: its line and where its
    // texts are in the chunk.
    int chunkLine_ = 0;
    size_t removedAt_ = 0, removedLength_ = 0;
    size_t insertedAt_ = 0, insertedLength_ = 0;
};
