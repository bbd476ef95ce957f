#include <algorithm>
#include <cstdint>
#include <cstring>

#include "editor/commands.h"
#include "editor/edit_helpers.h"

using edit::caretLineExists;
using edit::isBlank;
using edit::lineExists;
using edit::lineLength;

namespace {

// After a vertical move the column is limited to the new line, if it exists.
void clampColumnToLine(Document& doc, int line) {
    if (!lineExists(doc, line)) return;
    // Stepping at most caretColumn characters gives min(caretColumn, length) without
    // counting the rest of a long line.
    int column = doc.view().caretColumn;
    doc.setCaretColumn(column <= 0 ? column : columnPosition(edit::lineText(doc, line), column).column);
}

// A blank at byte pos that is followed by a non-blank byte (the NUL counts as non-blank):
// the character after it starts a word.
bool wordStartsAfter(const char* text, size_t pos) { return isBlank(text[pos]) && !isBlank(text[pos + 1]); }

}  // namespace

void moveLeft(Document& doc) { doc.setCaretColumn(std::max(doc.view().caretColumn - 1, 0)); }

void moveRight(Document& doc) {
    if (!caretLineExists(doc)) return;
    int column = doc.view().caretColumn;
    std::string_view text = edit::lineText(doc, doc.view().caretLine);
    doc.setCaretColumn(column + 1 <= 0 ? std::min(column + 1, 0) : columnPosition(text, column + 1).column);
}

void moveUp(Document& doc) {
    int target = std::max(doc.view().caretLine - 1, 0);
    doc.setCaretLine(target);
    clampColumnToLine(doc, target);
}

void moveDown(Document& doc) {
    if (doc.lineCount() == 0) return;
    int target = std::min(doc.view().caretLine + 1, doc.lineCount() - 1);
    doc.setCaretLine(target);
    clampColumnToLine(doc, target);
}

void moveHome(Document& doc) {
    if (!caretLineExists(doc)) return;
    const char* text = doc.line(doc.view().caretLine);
    int blanks = 0;
    while (isBlank(text[blanks])) ++blanks;
    // Toggle between the first non-blank and column 0; an all-blank line only knows column 0.
    int target = 0;
    if (text[blanks] != '\0' && doc.view().caretColumn != blanks) target = blanks;
    doc.setCaretColumn(target);
}

void moveEnd(Document& doc) {
    if (!caretLineExists(doc)) return;
    doc.setCaretColumn(lineLength(doc, doc.view().caretLine));
}

void pageUp(Document& doc) {
    int target = std::max(doc.view().caretLine - doc.view().visibleRows(), 0);
    doc.setCaretLine(target);
    clampColumnToLine(doc, target);
}

void pageDown(Document& doc) {
    if (doc.lineCount() == 0) return;
    int target = std::min(doc.view().caretLine + doc.view().visibleRows(), doc.lineCount() - 1);
    doc.setCaretLine(target);
    doc.view().screenRow = 0;
    clampColumnToLine(doc, target);
}

void moveDocumentStart(Document& doc) { doc.setCaret(0, 0); }

void moveDocumentEnd(Document& doc) {
    if (doc.lineCount() == 0) return;
    int last = doc.lineCount() - 1;
    doc.setCaret(lineLength(doc, last), last);
}

void scrollLineUp(Document& doc) {
    doc.setCaretLine(std::max(doc.view().caretLine - 1, 0));
    doc.setCaretColumn(0);
    doc.view().screenColumn = 0;
    doc.view().screenRow = 0;
}

void scrollLineDown(Document& doc) {
    int band = doc.view().visibleRows() - 4;
    int limit = std::max(band, doc.lineCount() - band);
    doc.setCaretLine(std::min(doc.view().caretLine + 1, limit));
    doc.setCaretColumn(0);
    doc.view().screenColumn = 0;
    doc.view().screenRow = 0;
}

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;

// Eight bytes without a space or a TAB: a long word is skipped a word at a time.
bool noBlankIn(const char* p) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    uint64_t spaces = w ^ (kOnes * ' ');
    uint64_t tabs = w ^ (kOnes * '\t');
    return (((spaces - kOnes) & ~spaces) & kHighs) == 0 && (((tabs - kOnes) & ~tabs) & kHighs) == 0;
}

// The first byte at or after q (below end) that starts a word after a blank, or end.
size_t nextWordStartAfter(const char* text, size_t q, size_t end) {
    while (q < end) {
        while (end - q >= 9 && noBlankIn(text + q)) q += 8;
        if (wordStartsAfter(text, q)) return q;
        ++q;
    }
    return end;
}

// The last byte in (0, q] that starts a word after a blank, skipping `skip`; 0 when none.
size_t previousWordStartAfter(const char* text, size_t q, size_t skip) {
    while (q > 0) {
        while (q >= 8 && noBlankIn(text + q - 7)) q -= 8;
        if (q == 0) break;
        if (q != skip && wordStartsAfter(text, q)) return q;
        --q;
    }
    return 0;
}

// The caret's byte on its line, or false when it lies beyond the line's end.
bool caretByte(std::string_view text, int column, size_t& byte) {
    ColumnPosition at = columnPosition(text, column);
    byte = at.byte;
    return at.column == std::max(column, 0);
}

}  // namespace

void wordLeft(Document& doc) {
    if (!caretLineExists(doc)) return;
    const ViewState& view = doc.view();
    size_t caret = 0;
    if (!caretByte(edit::lineText(doc, view.caretLine), view.caretColumn, caret)) return;
    for (;;) {
        std::string_view text = edit::lineText(doc, view.caretLine);
        int c = view.caretColumn;
        // The nearest word start at or before the caret's own character: the last blank at or
        // before the caret followed by a non-blank, other than the one right before the caret
        // (which would leave the caret where it is). Blanks are single-byte characters, so the
        // scan runs backwards over bytes and only the found column is counted.
        int target = -1;
        if (c != 0) {
            size_t q = previousWordStartAfter(text.data(), std::min(caret, text.size()), caret - 1);
            target = q > 0 ? charCount(text.substr(0, q)) + 1 : 0;
        }
        if (target >= 0) {
            doc.setCaretColumn(target);
            return;
        }
        if (view.caretLine == 0) return;
        int previous = view.caretLine - 1;
        doc.setCaretLine(previous);
        doc.setCaretColumn(lineLength(doc, previous));
        caret = doc.lines.length(previous);
    }
}

void wordRight(Document& doc) {
    if (!caretLineExists(doc)) return;
    const ViewState& view = doc.view();
    size_t pos = 0;
    if (!caretByte(edit::lineText(doc, view.caretLine), view.caretColumn, pos)) return;
    for (;;) {
        std::string_view text = edit::lineText(doc, view.caretLine);
        int c = view.caretColumn;
        // The first blank from the caret on that a non-blank follows; the columns up to it are
        // counted once it is found.
        size_t q = nextWordStartAfter(text.data(), pos, text.size());
        int stepped = charCount(text.substr(pos, q - pos));
        if (q < text.size()) {
            doc.setCaretColumn(c + stepped + 1);
            return;
        }
        if (stepped != 0) {
            doc.setCaretColumn(c + stepped);
            return;
        }
        if (view.caretLine >= doc.lineCount() - 1) return;
        doc.setCaretLine(view.caretLine + 1);
        doc.setCaretColumn(0);
        pos = 0;
    }
}
