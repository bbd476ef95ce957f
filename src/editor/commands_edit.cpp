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

void deleteForward(Document& doc) {
    if (doc.selectionActive) {
        deleteSelection(doc);
        return;
    }
    ViewState& view = doc.view();
    if (!caretLineExists(doc)) return;
    const char* line = doc.line(view.caretLine);
    int length = charCount(line);
    if (view.caretColumn >= 0 && view.caretColumn < length) {
        size_t pos = byteOffset(line, view.caretColumn);
        eraseBytes(doc, view.caretLine, pos, pos + static_cast<size_t>(charLength(line + pos)));
    } else if (view.caretColumn == length && lineExists(doc, view.caretLine + 1)) {
        joinWithNext(doc, view.caretLine);
    } else {
        return;
    }
    doc.markModified();
}

void deleteBackward(Document& doc) {
    if (doc.selectionActive) {
        deleteSelection(doc);
        return;
    }
    ViewState& view = doc.view();
    if (!caretLineExists(doc)) return;
    const char* line = doc.line(view.caretLine);
    int length = charCount(line);
    if (view.caretColumn > 0 && view.caretColumn <= length) {
        size_t from = byteOffset(line, view.caretColumn - 1);
        eraseBytes(doc, view.caretLine, from, from + static_cast<size_t>(charLength(line + from)));
        doc.setCaretColumn(view.caretColumn - 1);
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

void deleteWordForward(Document& doc) {
    if (doc.selectionActive) {
        deleteSelection(doc);
        return;
    }
    ViewState& view = doc.view();
    if (!caretLineExists(doc)) return;
    const char* line = doc.line(view.caretLine);
    int length = charCount(line);
    if (view.caretColumn >= 0 && view.caretColumn < length) {
        // Blanks are single bytes that never occur inside a multi-byte character.
        size_t from = byteOffset(line, view.caretColumn);
        size_t to = from + std::strcspn(line + from, " \t");
        if (line[to] != '\0') ++to;
        eraseBytes(doc, view.caretLine, from, to);
    } else if (view.caretColumn == length && lineExists(doc, view.caretLine + 1)) {
        joinWithNext(doc, view.caretLine);
    } else {
        return;
    }
    doc.markModified();
}

void deleteWordBackward(Document& doc) {
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
        size_t from = to;
        while (from > 0 && !isBlank(line[from - 1])) --from;
        if (from > 0) --from;  // the blank itself goes too
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
