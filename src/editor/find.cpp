#include "editor/find.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "editor/commands.h"
#include "editor/edit_helpers.h"
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
        : bytes(text), characters(charCount(text.c_str())), searcher(text.begin(), text.end()) {}
    const std::string& bytes;
    int characters;
    // Candidates come from a skip-table search, so lines without the bytes are not walked
    // character by character at all.
    std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher;
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

// The match column on a line within [fromColumn, toColumn]: the first one, or the last when
// wantLast. -1 when there is none. The byte offset advances with the column, so a line is
// walked once whatever the column range.
int matchInLine(const char* line, const Needle& needle, int fromColumn, int toColumn, bool wantLast) {
    if (!line || fromColumn > toColumn) return -1;
    const char* p = line;
    int column = 0;
    for (; column < fromColumn && *p != '\0'; ++column) p += step(p);
    if (column < fromColumn) return -1;
    const char* end = p + std::strlen(p);
    int found = -1;
    while (p < end && column <= toColumn) {
        const char* hit = needle.searcher(p, end).first;
        if (hit == end) break;
        advanceTo(p, column, hit);
        if (p != hit || column > toColumn) continue;  // inside a character, or out of range
        if (hasCharacters(p, needle.characters)) {
            if (!wantLast) return column;
            found = column;
        }
        p += step(p);
        ++column;
    }
    return found;
}

struct Match {
    int line = -1;
    int column = -1;
    explicit operator bool() const { return line >= 0; }
};

Match scanForward(const Document& doc, const Needle& needle, int line, int column) {
    for (int index = std::max(line, 0); index < doc.lineCount(); ++index) {
        int from = index == line ? column : 0;
        int hit = matchInLine(doc.line(index), needle, std::max(from, 0), INT_MAX, false);
        if (hit >= 0) return {index, hit};
    }
    return {};
}

// The last match at or before (line, column); lines past the end are skipped.
Match scanBackward(const Document& doc, const Needle& needle, int line, int column) {
    for (int index = std::min(line, doc.lineCount() - 1); index >= 0; --index) {
        int to = index == line ? column : INT_MAX;
        int hit = matchInLine(doc.line(index), needle, 0, to, true);
        if (hit >= 0) return {index, hit};
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

void replace(Document& doc, const std::string& text, const std::string& replacement, const ReplaceOptions& options) {
    const bool backward = options.backward;
    const bool fromStart = options.fromStart;
    const bool all = options.all;
    const ViewState& view = doc.view();
    if (!backward && !caretLineExists(doc)) return;
    // Copies first: the arguments may be the document's own texts.
    std::string find = text;
    std::string change = replacement;
    doc.findText = find;
    doc.replaceText = change;
    if (find.empty()) return;
    Needle needle(find);

    int line = fromStart && !backward ? 0 : view.caretLine;
    int column = fromStart && !backward ? 0 : view.caretColumn;
    for (;;) {
        Match match = backward ? scanBackward(doc, needle, line, column) : scanForward(doc, needle, line, column);
        if (!match) return;
        selectMatch(doc, match, needle.characters);
        deleteForward(doc);
        insertByCharacter(doc, change);
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
    if (view.caretColumn == 0 && view.caretLine > 0) {
        // Nothing lies before the caret on its line; starting at column 0 would find the
        // current match again and Shift+F3 would never leave it.
        searchFrom(doc, find, true, {INT_MAX, view.caretLine - 1});
        return;
    }
    doc.setCaretColumn(std::max(view.caretColumn - charCount(find.c_str()), 0));
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
