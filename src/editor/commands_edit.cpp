#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "editor/commands.h"
#include "editor/edit_helpers.h"
#include "editor/text_edits.h"

using edit::caretLineExists;
using edit::isBlank;
using edit::lineExists;
using edit::lineLength;
using edit::lineText;

namespace {

// Removes the bytes [from, to) of a line.
void eraseBytes(Document& doc, int index, size_t from, size_t to) { edits::splice(doc, index, from, to - from, {}); }

const char* indentUnit(const Document& doc) { return doc.space ? " " : "\t"; }

bool selectionSpansLines(const Document& doc) {
    return doc.selectionActive && doc.selectionStart.line != doc.selectionEnd.line;
}

}  // namespace

void insertText(Document& doc, const char* text) {
    asCommand(doc, StepKind::Edit, [&] {
        bool replacedSelection = false;
        if (doc.selectionActive) {
            // The memory for the whole change first: taking the deletion back could need as
            // much as the typing, and neither may be missing half-way.
            TextPosition start = doc.selectionStart, end = doc.selectionEnd;
            if (lineExists(doc, start.line) && lineExists(doc, end.line) && end.line >= start.line) {
                std::string_view last = lineText(doc, end.line);
                size_t kept = byteOffset(lineText(doc, start.line), std::max(start.column, 0)) +
                              (last.size() - std::min(last.size(), byteOffset(last, end.column)));
                doc.lines.reserveLine(start.line, kept + std::strlen(text));
            }
            deleteSelection(doc);
            replacedSelection = true;
        }
        ViewState& view = doc.view();
        if (!caretLineExists(doc)) return;
        std::string_view line = lineText(doc, view.caretLine);
        // One walk up to the caret tells both where it is and whether it lies inside the line.
        ColumnPosition at = columnPosition(line, view.caretColumn);
        if (at.column < view.caretColumn) return;
        size_t erase = 0;
        if (doc.overwrite && !replacedSelection && at.byte < line.size())
            erase = static_cast<size_t>(charLength(line.data() + at.byte));
        edits::splice(doc, view.caretLine, at.byte, erase, text);
        doc.setCaretColumn(view.caretColumn + charCount(text));
        doc.markModified();
    });
}

void splitLine(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] {
        ViewState& view = doc.view();
        if (!caretLineExists(doc)) return;
        std::string_view line = lineText(doc, view.caretLine);
        ColumnPosition at = columnPosition(line, view.caretColumn);
        if (at.column < view.caretColumn) return;
        edits::breakLine(doc, view.caretLine, at.byte);
        doc.setCaret(0, view.caretLine + 1);
        doc.markModified();
    });
}

namespace {

// What both delete directions start with: a selection is deleted instead of a character;
// otherwise the caret's line, when it exists, is the line to delete in.
std::optional<std::string_view> lineToDeleteIn(Document& doc) {
    if (doc.selectionActive) {
        deleteSelection(doc);
        return std::nullopt;
    }
    if (!caretLineExists(doc)) return std::nullopt;
    return lineText(doc, doc.view().caretLine);
}

// The forward deletes: with a selection, delete it; inside the line, erase from the caret to
// end(line, caret byte); at the line's end, join the next line. The caret stays.
void deleteForwardUntil(Document& doc, size_t (*end)(const char* line, size_t from)) {
    const std::optional<std::string_view> caretLine = lineToDeleteIn(doc);
    if (!caretLine) return;
    std::string_view line = *caretLine;
    ViewState& view = doc.view();
    ColumnPosition at = columnPosition(line, view.caretColumn);
    bool inside = view.caretColumn >= 0 && at.column == view.caretColumn;
    if (inside && at.byte < line.size()) {
        eraseBytes(doc, view.caretLine, at.byte, end(line.data(), at.byte));
    } else if (inside && at.byte == line.size() && lineExists(doc, view.caretLine + 1)) {
        edits::joinWithNext(doc, view.caretLine);
    } else {
        return;
    }
    doc.markModified();
}

// Where a backward delete starts: the byte range [from, to) it erases, ending at the caret,
// and from's column; inside is false when the caret lies beyond the line's end.
struct BackwardRange {
    bool inside = false;
    size_t from = 0, to = 0;
    int fromColumn = 0;
};

// The backward deletes: with a selection, delete it; inside the line, erase the range that
// start(line, caret column) gives and move the caret to its start; at column 0, join the line
// to the previous one.
void deleteBackwardFrom(Document& doc, BackwardRange (*start)(std::string_view line, int column)) {
    const std::optional<std::string_view> caretLine = lineToDeleteIn(doc);
    if (!caretLine) return;
    std::string_view line = *caretLine;
    ViewState& view = doc.view();
    BackwardRange range = view.caretColumn > 0 ? start(line, view.caretColumn) : BackwardRange{};
    if (view.caretColumn > 0 && range.inside) {
        eraseBytes(doc, view.caretLine, range.from, range.to);
        doc.setCaretColumn(range.fromColumn);
    } else if (view.caretColumn == 0 && view.caretLine >= 1) {
        int previous = view.caretLine - 1;
        int joinColumn = lineLength(doc, previous);
        edits::joinWithNext(doc, previous);
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

// The character before the caret: one walk to it, then one step over it to the caret.
BackwardRange previousCharacter(std::string_view line, int column) {
    ColumnPosition before = columnPosition(line, column - 1);
    if (before.column < column - 1 || before.byte >= line.size()) return {};
    size_t to = before.byte + static_cast<size_t>(charLength(line.data() + before.byte));
    return {true, before.byte, to, column - 1};
}

// Back to the nearest blank before the caret (the blank included), or the line's start. A
// blank is a character of its own, so the columns between it and the caret are counted from it.
BackwardRange atPreviousBlank(std::string_view line, int column) {
    ColumnPosition caret = columnPosition(line, column);
    if (caret.column < column) return {};
    size_t to = caret.byte;
    size_t from = to;
    while (from > 0 && !isBlank(line[from - 1])) --from;
    from = from > 0 ? from - 1 : 0;
    return {true, from, to, column - charCount(line.substr(from, to - from))};
}

}  // namespace

void deleteForward(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] { deleteForwardUntil(doc, nextCharacter); });
}

void deleteWordForward(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] { deleteForwardUntil(doc, pastNextBlank); });
}

void deleteBackward(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] { deleteBackwardFrom(doc, previousCharacter); });
}

void deleteWordBackward(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] { deleteBackwardFrom(doc, atPreviousBlank); });
}

namespace {

// The lines of the selection that exist: [first, last], empty when first > last.
struct LineRange {
    int first, last;
};
LineRange selectedLines(const Document& doc) {
    return {std::max(doc.selectionStart.line, 0), std::min(doc.selectionEnd.line, doc.lineCount() - 1)};
}

}  // namespace

void indent(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] {
        if (!selectionSpansLines(doc)) {
            for (int round = 0; round < doc.tabSize; ++round) insertText(doc, indentUnit(doc));
            return;
        }
        LineRange range = selectedLines(doc);
        if (range.first > range.last) return;
        edits::prefixLines(doc, range.first, range.last, indentUnit(doc)[0], static_cast<size_t>(std::max(doc.tabSize, 0)));
        doc.markModified();
    });
}

namespace {

// Shift+Tab within one line: blanks before the selection go, and the selection moves left
// with its text. The anchor stays where it is: it need not be an end of the selection (after
// a find it is where the caret was), and moving it could take it left of column 0.
bool unindentWithinLine(Document& doc) {
    ViewState& view = doc.view();
    bool changed = false;
    int index = doc.selectionStart.line;
    for (int round = 0; round < doc.tabSize && lineExists(doc, index); ++round) {
        int start = doc.selectionStart.column;
        if (start <= 0) break;
        std::string_view line = lineText(doc, index);
        ColumnPosition before = columnPosition(line, start - 1);
        if (before.column < start - 1 || before.byte >= line.size()) break;
        if (!isBlank(line[before.byte])) break;
        eraseBytes(doc, index, before.byte, before.byte + 1);
        doc.setCaretColumn(view.caretColumn - 1);
        --doc.selectionStart.column;
        --doc.selectionEnd.column;
        changed = true;
    }
    return changed;
}

bool unindentLines(Document& doc) {
    bool changed = false;
    LineRange range = selectedLines(doc);
    for (int index = range.first; index <= range.last; ++index) {
        std::string_view text = lineText(doc, index);
        size_t removed = 0;
        while (removed < std::min(static_cast<size_t>(std::max(doc.tabSize, 0)), text.size()) && isBlank(text[removed]))
            ++removed;
        if (removed == 0) continue;
        // Dropping leading bytes moves nothing for a line in shared storage.
        eraseBytes(doc, index, 0, removed);
        changed = true;
    }
    return changed;
}

}  // namespace

void unindent(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] {
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
        bool changed = selectionSpansLines(doc) ? unindentLines(doc) : unindentWithinLine(doc);
        if (changed) doc.markModified();
    });
}

void deleteSelection(Document& doc) {
    asCommand(doc, StepKind::Edit, [&] {
        TextPosition start = doc.selectionStart;
        TextPosition end = doc.selectionEnd;
        if (!lineExists(doc, start.line) || !lineExists(doc, end.line) || end.line < start.line) {
            doc.clearSelection();
            return;
        }
        std::string_view first = lineText(doc, start.line);
        size_t from = start.column <= 0 ? 0 : byteOffset(first, start.column);
        size_t to = byteOffset(lineText(doc, end.line), end.column);
        if (start.line != end.line || to > from) edits::eraseRange(doc, start.line, from, end.line, to);
        doc.setCaret(start.column, start.line);
        doc.clearSelection();
        doc.markModified();
    });
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
