#include <algorithm>

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
    doc.setCaretColumn(std::min(doc.view().caretColumn, lineLength(doc, line)));
}

// A blank at byte pos that is followed by a non-blank byte (the NUL counts as non-blank):
// the character after it starts a word.
bool wordStartsAfter(const char* text, size_t pos) { return isBlank(text[pos]) && !isBlank(text[pos + 1]); }

}  // namespace

void moveLeft(Document& doc) { doc.setCaretColumn(std::max(doc.view().caretColumn - 1, 0)); }

void moveRight(Document& doc) {
    if (!caretLineExists(doc)) return;
    doc.setCaretColumn(std::min(doc.view().caretColumn + 1, lineLength(doc, doc.view().caretLine)));
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

void wordLeft(Document& doc) {
    if (!caretLineExists(doc)) return;
    const ViewState& view = doc.view();
    if (view.caretColumn > lineLength(doc, view.caretLine)) return;
    for (;;) {
        const char* text = doc.line(view.caretLine);
        int c = view.caretColumn;
        // The nearest word start at or before the caret's own character, found in one
        // forward pass: the last qualifying column wins.
        int target = -1;
        size_t pos = 0;
        for (int i = 0; i <= c && text[pos] != '\0'; ++i) {
            if (i > 0 && i + 1 != c && wordStartsAfter(text, pos)) target = i + 1;
            pos += static_cast<size_t>(charLength(text + pos));
        }
        if (target < 0 && c != 0) target = 0;
        if (target >= 0) {
            doc.setCaretColumn(target);
            return;
        }
        if (view.caretLine == 0) return;
        int previous = view.caretLine - 1;
        doc.setCaretLine(previous);
        doc.setCaretColumn(lineLength(doc, previous));
    }
}

void wordRight(Document& doc) {
    if (!caretLineExists(doc)) return;
    const ViewState& view = doc.view();
    if (view.caretColumn > lineLength(doc, view.caretLine)) return;
    for (;;) {
        const char* text = doc.line(view.caretLine);
        int c = view.caretColumn;
        size_t pos = byteOffset(text, c);
        int i = c;
        for (; text[pos] != '\0'; ++i) {
            if (wordStartsAfter(text, pos)) {
                doc.setCaretColumn(i + 1);
                return;
            }
            pos += static_cast<size_t>(charLength(text + pos));
        }
        if (c != i) {
            doc.setCaretColumn(i);
            return;
        }
        if (view.caretLine >= doc.lineCount() - 1) return;
        doc.setCaretLine(view.caretLine + 1);
        doc.setCaretColumn(0);
    }
}
