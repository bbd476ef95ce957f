// The line is rebuilt left to right: the part already worked on lies in `front_`, the rest is
// still the original text. Every edit falls at or after the caret, so columns are counted from
// a mark that only moves forward, and the whole line is walked about once however many matches
// it has. A character's length depends on at most six bytes from its first one, and a byte that
// is not a continuation byte always starts a character, so text that is not well-formed UTF-8
// only changes how the few bytes around an edit decode, never anything further away.
#include "editor/replace_line.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "editor/change_record.h"
#include "editor/text_edits.h"
#include "text/utf8.h"

namespace {

// A character's length can depend on this many bytes from its first one.
constexpr size_t kDecodeReach = 6;

class SplitLine {
public:
    // The room for the rebuilt line first, so a line that cannot be rebuilt fails at once.
    explicit SplitLine(std::string_view original) : original_(original) { front_.reserve(original.size() + 16); }

    size_t size() const { return front_.size() + original_.size() - next_; }
    char at(size_t i) const {
        if (i < front_.size()) return front_[i];
        size_t k = i - front_.size() + next_;
        return k < original_.size() ? original_[k] : '\0';
    }
    // Length of the character at byte i as the whole line decodes it (0 at the end).
    size_t lengthAt(size_t i) const {
        const char first = at(i);
        if (static_cast<unsigned char>(first) < 0x80) return first != '\0' ? 1 : 0;
        if (i >= front_.size()) {
            const size_t k = i - front_.size() + next_;
            return static_cast<size_t>(decode(original_.data() + k, original_.size() - k).length);
        }
        if (i + kDecodeReach <= front_.size()) return static_cast<size_t>(decode(front_.data() + i, kDecodeReach).length);
        char window[kDecodeReach + 1] = {};
        for (size_t k = 0; k < kDecodeReach; ++k) window[k] = at(i + k);
        return static_cast<size_t>(charLength(window));
    }
    void copy(size_t from, size_t count, std::string& out) const {
        out.clear();
        for (size_t k = 0; k < count; ++k) out += at(from + k);
    }
    // The first place at or after `from` where the text of `find` starts, or size().
    size_t find(std::string_view text, size_t from) const {
        for (size_t i = from; i < front_.size(); ++i)
            if (startsWith(text, i)) return i;
        const size_t inOriginal = std::max(from, front_.size()) - front_.size() + next_;
        const size_t hit = original_.find(text, std::min(inOriginal, original_.size()));
        return hit == std::string_view::npos ? size() : hit - next_ + front_.size();
    }
    void splice(size_t at, size_t erase, std::string_view text) {
        pull(at + erase);
        front_.replace(at, erase, text);
    }
    std::string finish() {
        pull(size());
        return std::move(front_);
    }

private:
    bool startsWith(std::string_view text, size_t i) const {
        if (i + text.size() > size()) return false;
        for (size_t k = 0; k < text.size(); ++k)
            if (at(i + k) != text[k]) return false;
        return true;
    }
    // The first `bytes` bytes of the line into front_.
    void pull(size_t bytes) {
        if (bytes <= front_.size()) return;
        const size_t take = std::min(bytes - front_.size(), original_.size() - next_);
        front_.append(original_.substr(next_, take));
        next_ += take;
    }

    std::string_view original_;
    size_t next_ = 0;
    std::string front_;
};

struct Place {
    size_t byte = 0;
    int column = 0;
};

// Columns of the line being rebuilt, counted from a settled mark no later edit can reach.
class Columns {
public:
    explicit Columns(const SplitLine& line) : line_(line) {}

    // Walks towards byte `to` (or column `column`) from `from`, or from the mark, stopping at
    // the end. A place before the mark is counted from the line's start.
    Place walk(size_t to, int column = -1) const { return walkFrom(mark_, to, column); }
    Place walkFrom(Place p, size_t to, int column = -1) const {
        if (to < p.byte || (column >= 0 && column < p.column)) p = {};
        while (p.byte < to && p.column != column) {
            const size_t length = line_.lengthAt(p.byte);
            if (length == 0) break;
            p.byte += length;
            ++p.column;
        }
        return p;
    }
    Place byteOfColumn(int column) const { return walk(SIZE_MAX, column); }
    // Nothing before `edit` may change any more: the mark moves up to well before it.
    void settleBefore(size_t edit) {
        if (edit < mark_.byte + kDecodeReach) {
            mark_ = {};  // an edit this close to the mark: count from the line's start again
            return;
        }
        for (;;) {
            const size_t length = line_.lengthAt(mark_.byte);
            if (length == 0 || mark_.byte + length + kDecodeReach > edit) break;
            mark_.byte += length;
            ++mark_.column;
        }
    }
    // At least n characters start at byte `from`.
    bool hasCharacters(size_t from, int n) const {
        for (int k = 0; k < n; ++k) {
            const size_t length = line_.lengthAt(from);
            if (length == 0) return false;
            from += length;
        }
        return true;
    }
    size_t endOfCharacters(size_t from, int n) const {
        for (int k = 0; k < n; ++k) from += line_.lengthAt(from);
        return from;
    }

private:
    const SplitLine& line_;
    Place mark_;
};

// The first match at or after column `column`: its place, or a byte past the line's end.
Place nextMatch(const SplitLine& line, const Columns& columns, std::string_view find, int characters, int column) {
    const Place none{SIZE_MAX, -1};
    Place cursor = columns.byteOfColumn(column);
    if (cursor.column < column) return none;
    for (size_t from = cursor.byte;;) {
        const size_t hit = line.find(find, from);
        if (hit >= line.size()) return none;
        cursor = columns.walkFrom(cursor, hit);
        if (cursor.byte == hit && columns.hasCharacters(hit, characters)) return cursor;
        from = hit + 1;
    }
}

}  // namespace

void replaceAllInLine(Document& doc, const LineReplacement& r) {
    const int y = r.line;
    const int characters = charCount(std::string(r.find).c_str());
    SplitLine line(doc.lines.view(y));
    Columns columns(line);
    ViewState& view = doc.view();
    ChangeRecord changes;
    std::string removed;
    auto edit = [&](size_t at, size_t erase, std::string_view text) {
        columns.settleBefore(at);
        line.copy(at, erase, removed);
        changes.add({y, at, removed, text});
        line.splice(at, erase, text);
    };
    Place match = columns.byteOfColumn(r.column);
    while (match.byte != SIZE_MAX) {
        // Select the match and delete it.
        doc.extendSelection();
        doc.selectionStart = {match.column, y};
        doc.selectionEnd = {match.column + characters, y};
        doc.setCaret(match.column, y);
        edit(match.byte, columns.endOfCharacters(match.byte, characters) - match.byte, {});
        doc.setCaret(match.column, y);
        doc.clearSelection();
        doc.markModified();
        // Type the replacement a character at a time; a caret past the line's end types nothing.
        for (const char* p = r.change.c_str(); *p != '\0';) {
            const std::string_view piece(p, static_cast<size_t>(charLength(p)));
            p += piece.size();
            const Place at = columns.byteOfColumn(view.caretColumn);
            if (at.column < view.caretColumn) continue;
            const size_t erase = doc.overwrite ? line.lengthAt(at.byte) : 0;
            edit(at.byte, erase, piece);
            doc.setCaretColumn(view.caretColumn + charCount(piece));
            doc.markModified();
        }
        match = nextMatch(line, columns, r.find, characters, view.caretColumn);
    }
    const std::string rebuilt = line.finish();
    edits::rewriteLine(doc, y, rebuilt, changes);
}
