// Backspace and Delete: a selection, a character (an indent step in the indentation), or the
// line break to the neighbouring line.
#include <algorithm>

#include "curses/commands/line_text.h"
#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

bool CursesEditor::deleteSelectionInstead() {
    if (!has_selection()) return false;
    note_view_before_change();
    delete_selection();
    finishEdit(true);
    return true;
}

void CursesEditor::backspace() {
    if (deleteSelectionInstead()) return;
    const bool dropped = clearSelectionForEdit();
    const int n = line_count();
    if (view.cursor_y >= n) {
        // Past the last line: only the caret moves.
        if (view.cursor_y > 0) {
            view.cursor_y = n > 0 ? n - 1 : 0;
            view.cursor_x = line_length(view.cursor_y);
        }
        settleCaret(dropped);
        return;
    }
    if (view.cursor_x == 0) {
        if (view.cursor_y == 0)
            settleCaret(dropped);
        else
            joinWithPreviousLine();
        return;
    }
    const std::string& line = doc.lines[static_cast<size_t>(view.cursor_y)];
    const size_t pos = byteOffset(std::string_view(line), view.cursor_x);
    const int step = doc.indent_size;
    // In the indentation a whole indent step goes.
    int count = 1;
    if (step >= 1 && view.cursor_x % step == 0 && view.cursor_x >= step && line.find_first_not_of(' ') >= pos)
        count = step;
    const size_t start = byteOffset(std::string_view(line), view.cursor_x - count);
    note_view_before_change();
    const bool full = replaceInLine(view.cursor_y, start, pos - start, std::string()) || dropped;
    view.cursor_x -= count;
    finishEdit(full);
}

void CursesEditor::joinWithPreviousLine() {
    note_view_before_change();
    const int y = view.cursor_y;
    std::string& previous = doc.lines[static_cast<size_t>(y - 1)];
    const std::string& line = doc.lines[static_cast<size_t>(y)];
    view.cursor_x = charCount(std::string_view(previous));
    // A line of nothing but blanks goes without leaving them behind.
    if (leadingBlanks(line) < line.size()) previous += line;
    doc.lines.erase(doc.lines.begin() + y);
    view.cursor_y = y - 1;
    finishEdit(true);
}

void CursesEditor::deleteKey() {
    if (deleteSelectionInstead()) return;
    const bool dropped = clearSelectionForEdit();
    const int n = line_count();
    const int y = view.cursor_y;
    if (y >= n) {
        settleCaret(dropped);
        return;
    }
    const int length = line_length(y);
    const std::string& line = doc.lines[static_cast<size_t>(y)];
    if (view.cursor_x < length) {
        const size_t pos = byteOffset(std::string_view(line), view.cursor_x);
        const size_t bytes = byteOffset(std::string_view(line).substr(pos), 1);
        note_view_before_change();
        const bool full = replaceInLine(y, pos, bytes, std::string()) || dropped;
        finishEdit(full);
        return;
    }
    if (y + 1 >= n) {
        settleCaret(dropped);
        return;
    }
    // The next line joins on, its indentation cut down to one blank at most.
    note_view_before_change();
    const std::string& next = doc.lines[static_cast<size_t>(y + 1)];
    const size_t blanks = leadingBlanks(next);
    doc.lines[static_cast<size_t>(y)] += next.substr(blanks - std::min<size_t>(blanks, 1));
    doc.lines.erase(doc.lines.begin() + (y + 1));
    view.cursor_x = length;
    finishEdit(true);
}
