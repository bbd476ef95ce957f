#include <algorithm>
#include <cstring>

#include "editor/commands.h"
#include "editor/edit_helpers.h"

using edit::caretLineExists;
using edit::commitScratch;
using edit::isBlank;
using edit::lineExists;
using edit::lineLength;

namespace {

// Appends line index + 1 to line index and removes it.
void joinWithNext(Document& doc, int index) {
    doc.scratch.set(doc.line(index));
    doc.scratch.append(doc.line(index + 1));
    commitScratch(doc, index);
    doc.removeLine(index + 1);
}

// Removes the bytes [from, to) of a line.
void eraseBytes(Document& doc, int index, size_t from, size_t to) {
    doc.scratch.set(doc.line(index));
    doc.scratch.erase(from, to - from);
    commitScratch(doc, index);
}

const char* indentUnit(const Document& doc) { return doc.space ? " " : "\t"; }

bool selectionSpansLines(const Document& doc) {
    return doc.selectionActive && doc.selectionStart.line != doc.selectionEnd.line;
}

}  // namespace

void insertText(Document& doc, const char* text) {
    bool replacedSelection = false;
    if (doc.selectionActive) {
        deleteSelection(doc);
        replacedSelection = true;
    }
    ViewState& view = doc.view();
    if (!caretLineExists(doc)) return;
    const char* line = doc.line(view.caretLine);
    int length = charCount(line);
    if (view.caretColumn > length) return;
    doc.scratch.set(line);
    size_t pos = byteOffset(line, view.caretColumn);
    if (doc.overwrite && !replacedSelection && view.caretColumn + 1 <= length)
        doc.scratch.erase(pos, static_cast<size_t>(charLength(line + pos)));
    doc.scratch.insert(pos, text);
    commitScratch(doc, view.caretLine);
    doc.setCaretColumn(view.caretColumn + charCount(text));
    doc.markModified();
}

void splitLine(Document& doc) {
    ViewState& view = doc.view();
    if (!caretLineExists(doc)) return;
    const char* line = doc.line(view.caretLine);
    if (view.caretColumn > charCount(line)) return;
    size_t pos = byteOffset(line, view.caretColumn);
    doc.lines.insert(view.caretLine + 1, line + pos, std::strlen(line + pos));
    doc.scratch.set(doc.line(view.caretLine), pos);
    commitScratch(doc, view.caretLine);
    doc.setCaret(0, view.caretLine + 1);
    doc.markModified();
}

namespace {

// The forward deletes: with a selection, delete it; inside the line, erase from the caret to
// end(line, caret byte); at the line's end, join the next line. The caret stays.
void deleteForwardUntil(Document& doc, size_t (*end)(const char* line, size_t from)) {
    if (doc.selectionActive) {
        deleteSelection(doc);
        return;
    }
    ViewState& view = doc.view();
    if (!caretLineExists(doc)) return;
    const char* line = doc.line(view.caretLine);
    int length = charCount(line);
    if (view.caretColumn >= 0 && view.caretColumn < length) {
        size_t from = byteOffset(line, view.caretColumn);
        eraseBytes(doc, view.caretLine, from, end(line, from));
    } else if (view.caretColumn == length && lineExists(doc, view.caretLine + 1)) {
        joinWithNext(doc, view.caretLine);
    } else {
        return;
    }
    doc.markModified();
}

// The backward deletes: with a selection, delete it; inside the line, erase from
// start(line, caret byte) to the caret and move the caret there; at column 0, join the line
// to the previous one.
void deleteBackwardFrom(Document& doc, size_t (*start)(const char* line, size_t to)) {
    if (doc.selectionActive) {
        deleteSelection(doc);
        return;
    }
    ViewState& view = doc.view();
    if (!caretLineExists(doc)) return;
    const char* line = doc.line(view.caretLine);
    int length = charCount(line);
    if (view.caretColumn > 0 && view.caretColumn <= length) {
        size_t to = byteOffset(line, view.caretColumn);
        size_t from = start(line, to);
        int target = charCount(line, static_cast<long long>(from));
        eraseBytes(doc, view.caretLine, from, to);
        doc.setCaretColumn(target);
    } else if (view.caretColumn == 0 && view.caretLine >= 1) {
        int previous = view.caretLine - 1;
        int joinColumn = lineLength(doc, previous);
        joinWithNext(doc, previous);
        doc.setCaret(joinColumn, previous);
    } else {
        return;
    }
    doc.markModified();
}

size_t nextCharacter(const char* line, size_t from) { return from + static_cast<size_t>(charLength(line + from)); }

// Up to and including the next blank, or the line's end. Blanks are single bytes that never
// occur inside a multi-byte character.
size_t pastNextBlank(const char* line, size_t from) {
    size_t to = from + std::strcspn(line + from, " \t");
    return line[to] != '\0' ? to + 1 : to;
}

size_t previousCharacter(const char* line, size_t to) {
    return byteOffset(line, charCount(line, static_cast<long long>(to)) - 1);
}

// Back to the nearest blank before the caret (the blank included), or the line's start.
size_t atPreviousBlank(const char* line, size_t to) {
    size_t from = to;
    while (from > 0 && !isBlank(line[from - 1])) --from;
    return from > 0 ? from - 1 : 0;
}

}  // namespace

void deleteForward(Document& doc) { deleteForwardUntil(doc, nextCharacter); }

void deleteWordForward(Document& doc) { deleteForwardUntil(doc, pastNextBlank); }

void deleteBackward(Document& doc) { deleteBackwardFrom(doc, previousCharacter); }

void deleteWordBackward(Document& doc) { deleteBackwardFrom(doc, atPreviousBlank); }

void indent(Document& doc) {
    if (!selectionSpansLines(doc)) {
        for (int round = 0; round < doc.tabSize; ++round) insertText(doc, indentUnit(doc));
        return;
    }
    bool changed = false;
    for (int index = doc.selectionStart.line; index <= doc.selectionEnd.line; ++index) {
        if (!lineExists(doc, index)) continue;
        doc.scratch.set(doc.line(index));
        for (int round = 0; round < doc.tabSize; ++round) doc.scratch.insert(0, indentUnit(doc));
        commitScratch(doc, index);
        changed = true;
    }
    if (changed) doc.markModified();
}

void unindent(Document& doc) {
    ViewState& view = doc.view();
    if (!doc.selectionActive) {
        for (int round = 0; round < doc.tabSize; ++round) {
            if (view.caretColumn < 1 || !caretLineExists(doc)) return;
            const char* line = doc.line(view.caretLine);
            if (!isBlank(line[byteOffset(line, view.caretColumn - 1)])) return;
            deleteBackward(doc);
        }
        return;
    }
    bool changed = false;
    if (!selectionSpansLines(doc)) {
        int index = doc.selectionStart.line;
        for (int round = 0; round < doc.tabSize && lineExists(doc, index); ++round) {
            int start = doc.selectionStart.column;
            const char* line = doc.line(index);
            if (start <= 0 || start - 1 >= charCount(line)) break;
            size_t pos = byteOffset(line, start - 1);
            if (!isBlank(line[pos])) break;
            eraseBytes(doc, index, pos, pos + 1);
            doc.setCaretColumn(view.caretColumn - 1);
            // The anchor is one end of the selection, so it shifts with it; otherwise the
            // next Shift+arrow would grow the selection from a stale column.
            --doc.selectionStart.column;
            --doc.selectionEnd.column;
            --doc.anchor.column;
            changed = true;
        }
    } else {
        for (int index = doc.selectionStart.line; index <= doc.selectionEnd.line; ++index) {
            if (!lineExists(doc, index)) continue;
            doc.scratch.set(doc.line(index));
            int removed = 0;
            while (removed < doc.tabSize && isBlank(doc.scratch.c_str()[0])) {
                doc.scratch.erase(0, 1);
                ++removed;
            }
            if (removed == 0) continue;
            commitScratch(doc, index);
            changed = true;
        }
    }
    if (changed) doc.markModified();
}

void deleteSelection(Document& doc) {
    TextPosition start = doc.selectionStart;
    TextPosition end = doc.selectionEnd;
    if (!lineExists(doc, start.line) || !lineExists(doc, end.line) || end.line < start.line) {
        doc.clearSelection();
        return;
    }
    const char* first = doc.line(start.line);
    size_t from = start.column <= 0 ? 0 : byteOffset(first, start.column);
    if (start.line == end.line) {
        size_t to = byteOffset(first, end.column);
        if (to > from) eraseBytes(doc, start.line, from, to);
    } else {
        const char* last = doc.line(end.line);
        doc.scratch.set(first, from);
        doc.scratch.append(last + byteOffset(last, end.column));
        commitScratch(doc, start.line);
        doc.lines.removeRange(start.line + 1, end.line - start.line);
    }
    doc.setCaret(start.column, start.line);
    doc.clearSelection();
    doc.markModified();
}

void cancel(Document& doc) {
    doc.relativeLineNumbers = false;
    doc.absoluteLineNumbers = false;
    doc.clearSelection();
    doc.findText.clear();
    doc.replaceText.clear();
}

void toggleOverwrite(Document& doc) { doc.overwrite = !doc.overwrite; }
void toggleCrlf(Document& doc) { doc.crlf = !doc.crlf; }
void toggleSpace(Document& doc) { doc.space = !doc.space; }
