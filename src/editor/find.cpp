#include "editor/find.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include "editor/commands.h"
#include "editor/edit_helpers.h"
#include "editor/text_edits.h"
#include "text/utf8.h"

using edit::caretLineExists;
using edit::lineExists;

namespace {

// Byte length of the character at p; ASCII is stepped inline since it dominates real text.
inline size_t step(const char* p) {
    auto b = static_cast<unsigned char>(*p);
    return b < 0x80 ? 1 : static_cast<size_t>(charLength(p));
}

// At least n characters start at p.
bool hasCharacters(const char* p, int n) {
    for (int i = 0; i < n; ++i) {
        if (*p == '\0') return false;
        p += step(p);
    }
    return true;
}

struct Needle {
    explicit Needle(const std::string& text)
        : bytes(text), characters(charCount(text.c_str())), searcher(text.data(), text.data() + text.size()) {}
    const std::string& bytes;
    int characters;
    // Candidates come from a skip-table search (a byte search for one byte), so text without
    // the bytes is not walked character by character at all.
    std::boyer_moore_horspool_searcher<const char*> searcher;

    // The first occurrence of the bytes in [from, to), or to.
    const char* find(const char* from, const char* to) const {
        if (to - from < static_cast<ptrdiff_t>(bytes.size())) return to;
        if (bytes.size() == 1) {
            const void* hit = std::memchr(from, bytes[0], static_cast<size_t>(to - from));
            return hit ? static_cast<const char*>(hit) : to;
        }
        return searcher(from, to).first;
    }
};

// Moves p and its column up to target, or just past it when target lies inside a character.
// Runs of ASCII are taken eight bytes at a time; the range holds no NUL.
void advanceTo(const char*& p, int& column, const char* target) {
    constexpr uint64_t kHighBits = 0x8080808080808080ULL;
    while (p < target) {
        uint64_t word;
        if (target - p >= 8 && (std::memcpy(&word, p, 8), (word & kHighBits) == 0)) {
            p += 8;
            column += 8;
            continue;
        }
        p += step(p);
        ++column;
    }
}

// The columns of one line, walked forward once however many candidates it has.
struct LineCursor {
    const char* p;
    int column;
    // The column of a match candidate at byte hit (at or after every earlier candidate), or -1
    // when the candidate lies inside a character or has fewer than n characters from it on.
    int columnOf(const char* hit, int n) {
        advanceTo(p, column, hit);
        if (p != hit || !hasCharacters(p, n)) return -1;
        return column;
    }
};

// The match column on a line within [fromColumn, toColumn]: the first one, or the last when
// wantLast. -1 when there is none. The byte offset advances with the column, so a line is
// walked once whatever the column range.
int matchInLine(std::string_view line, const Needle& needle, int fromColumn, int toColumn, bool wantLast) {
    if (!line.data() || fromColumn > toColumn) return -1;
    ColumnPosition start = columnPosition(line, fromColumn);
    if (start.column < fromColumn) return -1;
    const char* end = line.data() + line.size();
    LineCursor cursor{line.data() + start.byte, start.column};
    int found = -1;
    for (const char* from = cursor.p; from < end;) {
        const char* hit = needle.find(from, end);
        if (hit == end) break;
        int column = cursor.columnOf(hit, needle.characters);
        if (cursor.column > toColumn) break;
        if (column >= 0) {
            if (!wantLast) return column;
            found = column;
        }
        from = hit + 1;
    }
    return found;
}

struct Match {
    int line = -1;
    int column = -1;
    explicit operator bool() const { return line >= 0; }
};

// Stretches of lines searched as one grow from this size, so a match in the next line is found
// at once, up to the larger one, so a backward search wastes little before the caret.
constexpr size_t kFirstStretch = 4096;
constexpr size_t kMaxStretch = size_t{1} << 20;

// Searches lines [first, last] (one stretch of a shared block) as one run of bytes: every
// candidate is checked against the line it falls in. The first match, or the last when wantLast.
Match matchInStretch(const Document& doc, const Needle& needle, int first, int last, bool wantLast) {
    const LineList& lines = doc.lines;
    const char* begin = lines.at(first);
    const char* end = lines.at(last) + lines.length(last);
    int k = first;
    std::string_view text = lines.view(k);
    LineCursor cursor{text.data(), 0};
    Match found;
    for (const char* from = begin; from < end;) {
        const char* hit = needle.find(from, end);
        if (hit == end) break;
        from = hit + 1;
        if (k < last && lines.at(k + 1) <= hit) {
            while (k < last && lines.at(k + 1) <= hit) ++k;
            text = lines.view(k);
            cursor = LineCursor{text.data(), 0};
        }
        // Bytes past a line's terminator belong to no line.
        if (hit + needle.bytes.size() > text.data() + text.size()) continue;
        int column = cursor.columnOf(hit, needle.characters);
        if (column < 0) continue;
        found = {k, column};
        if (!wantLast) return found;
    }
    return found;
}

Match scanForward(const Document& doc, const Needle& needle, int line, int column) {
    const int count = doc.lineCount();
    size_t budget = kFirstStretch;
    for (int index = std::max(line, 0); index < count;) {
        if (index == line) {
            int hit = matchInLine(doc.lines.view(index), needle, std::max(column, 0), INT_MAX, false);
            if (hit >= 0) return {index, hit};
            ++index;
            continue;
        }
        int last = doc.lines.stretchEnd(index, count - 1, budget);
        if (last == index) {
            int hit = matchInLine(doc.lines.view(index), needle, 0, INT_MAX, false);
            if (hit >= 0) return {index, hit};
        } else if (Match match = matchInStretch(doc, needle, index, last, false)) {
            return match;
        }
        budget = std::min(budget * 2, kMaxStretch);
        index = last + 1;
    }
    return {};
}

// The last match at or before (line, column); lines past the end are skipped.
Match scanBackward(const Document& doc, const Needle& needle, int line, int column) {
    size_t budget = kFirstStretch;
    for (int index = std::min(line, doc.lineCount() - 1); index >= 0;) {
        if (index == line) {
            int hit = matchInLine(doc.lines.view(index), needle, 0, column, true);
            if (hit >= 0) return {index, hit};
            --index;
            continue;
        }
        int first = doc.lines.stretchStart(index, 0, budget);
        if (first == index) {
            int hit = matchInLine(doc.lines.view(index), needle, 0, INT_MAX, true);
            if (hit >= 0) return {index, hit};
        } else if (Match match = matchInStretch(doc, needle, first, index, true)) {
            return match;
        }
        budget = std::min(budget * 2, kMaxStretch);
        index = first - 1;
    }
    return {};
}

void selectMatch(Document& doc, const Match& match, int characters) {
    doc.extendSelection();
    doc.selectionStart = {match.column, match.line};
    doc.selectionEnd = {match.column + characters, match.line};
    doc.setCaret(match.column, match.line);
}

// Inserts one character at a time so each goes through the overwrite rule.
void insertByCharacter(Document& doc, const std::string& text) {
    const char* p = text.c_str();
    while (*p != '\0') {
        size_t length = static_cast<size_t>(charLength(p));
        std::string piece(p, length);
        insertText(doc, piece.c_str());
        p += length;
    }
}

// One replacement as the commands do it: select the match, delete it, type the replacement.
void replaceOne(Document& doc, const Match& match, const Needle& needle, const std::string& change) {
    selectMatch(doc, match, needle.characters);
    deleteForward(doc);
    insertByCharacter(doc, change);
}

// Replaces every match of a line from match on, building the line once. Gives exactly what
// replaceOne at every match would: the caret and selection take the same steps (each match
// selected, deleted, the replacement typed a character at a time, each overwriting the
// character after it in overwrite mode), and scanning resumes after each replacement. Only for
// well-formed text, where a column is the same character before and after an edit.
void replaceInLine(Document& doc, Match match, const Needle& needle, const std::string& change) {
    const int line = match.line;
    std::string_view text = doc.lines.view(line);
    const char* end = text.data() + text.size();
    ViewState& view = doc.view();
    std::string rebuilt;
    rebuilt.reserve(text.size() + change.size() * 4 + 16);
    // The history keeps the hits, not the line: where each was, what went and what came.
    ChangeRecord hits;
    size_t copied = 0;
    int shift = 0;  // columns the line has gained up to the current match
    LineCursor cursor{text.data(), 0};
    const char* hit = text.data() + byteOffset(text, match.column);
    cursor.columnOf(hit, 0);
    for (;;) {
        size_t at = static_cast<size_t>(hit - text.data());
        rebuilt.append(text.data() + copied, at - copied);
        int column = cursor.column + shift;
        selectMatch(doc, {line, column}, needle.characters);
        // deleteForward: the selection goes, the caret stays at its start.
        doc.setCaret(column, line);
        doc.clearSelection();
        doc.markModified();
        size_t after = at + needle.bytes.size();
        int overwritten = 0;
        for (const char* p = change.c_str(); *p != '\0';) {
            size_t length = static_cast<size_t>(charLength(p));
            if (doc.overwrite && after < text.size()) {
                after += static_cast<size_t>(charLength(text.data() + after));
                ++overwritten;
            }
            std::string piece(p, length);
            doc.setCaretColumn(view.caretColumn + charCount(piece.c_str()));
            p += length;
        }
        hits.add({line, rebuilt.size(), text.substr(at, after - at), change});
        rebuilt.append(change);
        copied = after;
        int resumeColumn = cursor.columnOf(text.data() + after, 0);
        shift = view.caretColumn - resumeColumn;
        // The next match from the resume point on, in the part of the line still as it was.
        const char* next = nullptr;
        for (const char* from = text.data() + after; from < end;) {
            const char* candidate = needle.find(from, end);
            if (candidate == end) break;
            if (cursor.columnOf(candidate, needle.characters) >= 0) {
                next = candidate;
                break;
            }
            from = candidate + 1;
        }
        if (!next) break;
        hit = next;
    }
    rebuilt.append(text.data() + copied, text.size() - copied);
    edits::rewriteLine(doc, line, rebuilt, hits);
}
bool onlySpaces(const char* p) {
    while (*p == ' ') ++p;
    return *p == '\0';
}

// A search from an explicit starting position.
bool searchFrom(Document& doc, const std::string& text, bool backward, TextPosition from) {
    doc.findText = text;
    doc.replaceText.clear();
    Needle needle(doc.findText);
    Match match;
    if (!needle.bytes.empty()) {
        match = backward ? scanBackward(doc, needle, from.line, from.column)
                         : scanForward(doc, needle, from.line, from.column);
    }
    if (match) {
        selectMatch(doc, match, needle.characters);
        return true;
    }
    if (doc.selectionActive) {
        TextPosition target = backward ? doc.selectionStart : doc.selectionEnd;
        doc.setCaret(target.column, target.line);
    }
    return false;
}

}  // namespace

bool search(Document& doc, const std::string& text, const SearchOptions& options) {
    const bool backward = options.backward;
    const bool fromStart = options.fromStart;
    const ViewState& view = doc.view();
    if (!backward && !caretLineExists(doc)) return false;
    TextPosition from{view.caretColumn, view.caretLine};
    if (fromStart && !backward) from = {0, 0};
    return searchFrom(doc, text, backward, from);
}

namespace {

// The matches from the caret (or the start) on: one, or all of them.
void replaceMatches(Document& doc, const Needle& needle, const std::string& change, const ReplaceOptions& options) {
    const bool backward = options.backward;
    const bool fromStart = options.fromStart;
    const bool all = options.all;
    const ViewState& view = doc.view();
    int line = fromStart && !backward ? 0 : view.caretLine;
    int column = fromStart && !backward ? 0 : view.caretColumn;
    // Where search text, replacement and line are well-formed, a line's matches are replaced
    // in one pass; anything else takes the one-at-a-time steps literally.
    const bool wellFormed = utf8_kind(needle.bytes) >= 0 && utf8_kind(change) >= 0;
    for (;;) {
        Match match = backward ? scanBackward(doc, needle, line, column) : scanForward(doc, needle, line, column);
        if (!match) return;
        if (all && !backward && wellFormed && utf8_kind(doc.lines.view(match.line)) >= 0) {
            replaceInLine(doc, match, needle, change);
            line = match.line + 1;
            column = 0;
            continue;
        }
        replaceOne(doc, match, needle, change);
        if (!all) return;
        if (backward) {
            // The text before the match is unchanged; carry on just before it.
            line = match.column > 0 ? match.line : match.line - 1;
            column = match.column > 0 ? match.column - 1 : INT_MAX;
            if (line < 0) return;
        } else {
            // Resume after the inserted text, so a replacement holding the search text is
            // never matched again.
            line = view.caretLine;
            column = view.caretColumn;
        }
    }
}

}  // namespace

void replace(Document& doc, const std::string& text, const std::string& replacement, const ReplaceOptions& options) {
    if (!options.backward && !caretLineExists(doc)) return;
    // Copies first: the arguments may be the document's own texts.
    std::string find = text;
    std::string change = replacement;
    doc.findText = find;
    doc.replaceText = change;
    if (find.empty()) return;
    Needle needle(find);

    // One step for the whole replace: memory running out part-way takes back every line
    // already replaced, and undo takes them all back at once.
    asCommand(doc, StepKind::Edit, [&] { replaceMatches(doc, needle, change, options); });
}

void findNext(Document& doc) {
    if (doc.findText.empty()) return;
    std::string find = doc.findText;
    if (!doc.replaceText.empty()) {
        replace(doc, find, doc.replaceText, {});
        return;
    }
    if (!caretLineExists(doc)) return;
    const ViewState& view = doc.view();
    int length = edit::lineLength(doc, view.caretLine);
    doc.setCaretColumn(std::min(view.caretColumn + charCount(find.c_str()), length));
    search(doc, find, {});
}

void findPrevious(Document& doc) {
    if (doc.findText.empty()) return;
    std::string find = doc.findText;
    if (!doc.replaceText.empty()) {
        replace(doc, find, doc.replaceText, {.backward = true});
        return;
    }
    if (!caretLineExists(doc)) return;
    const ViewState& view = doc.view();
    const int characters = charCount(find.c_str());
    bool onCurrentMatch = doc.selectionActive && doc.selectionStart == TextPosition{0, view.caretLine} &&
                          doc.selectionEnd == TextPosition{characters, view.caretLine};
    if (view.caretColumn == 0 && view.caretLine > 0 && onCurrentMatch) {
        // The selected match starts at column 0: searching from there would find it again and
        // Shift+F3 would never leave it, so the search steps back over it. A caret that is at
        // column 0 for another reason (Home, say) still finds a match that starts there.
        searchFrom(doc, find, true, {INT_MAX, view.caretLine - 1});
        return;
    }
    doc.setCaretColumn(std::max(view.caretColumn - characters, 0));
    search(doc, find, {.backward = true});
}

int parseGotoLine(const char* text) {
    if (!text) return 0;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    // Nothing read, trailing garbage or out of range: not a number.
    if (end == text || !onlySpaces(end) || errno == ERANGE || value > INT_MAX || value < INT_MIN) return 0;
    return static_cast<int>(value);
}

long parseLineOffset(const char* text) { return text ? std::strtol(text, nullptr, 10) : 0; }

void gotoLine(Document& doc, const char* input) {
    int n = parseGotoLine(input);
    cancel(doc);
    int target = 0;
    if (doc.lineCount() > 0 && n >= 1) target = std::min(n - 1, doc.lineCount() - 1);
    doc.setCaretLine(target);
}

void gotoLineOffset(Document& doc, const char* input) {
    // Clamp first so the sum cannot overflow whatever the width of long.
    long long offset = std::clamp<long long>(parseLineOffset(input), -(1LL << 40), 1LL << 40);
    cancel(doc);
    long long target = doc.view().caretLine + offset;
    if (doc.lineCount() == 0 || target < 0)
        doc.setCaretLine(0);
    else
        doc.setCaretLine(static_cast<int>(std::min<long long>(target, doc.lineCount() - 1)));
}
