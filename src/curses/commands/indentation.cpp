// Tab and Shift+Tab: a selection's lines shift by an indent step; without a selection, spaces
// up to the next indent stop, or an indent step taken back.
#include <algorithm>

#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

void CursesEditor::shiftSelectionKey(int direction) {
    note_view_before_change();
    shift_selection(direction * doc.indent_size);
    requestDraw(-1);
    push_undo();
    set_cursor(false, -1);
}

void CursesEditor::indentKey() {
    const int step = std::max(doc.indent_size, 1);
    const int count = std::clamp(step - view.cursor_x % step, 1, 64);
    typeText(std::string(static_cast<size_t>(count), ' '));
}

void CursesEditor::unindentKey() {
    if (view.cursor_y >= line_count() || view.cursor_x <= 0) {
        set_cursor(false, -1);
        return;
    }
    const std::string& line = doc.lines[static_cast<size_t>(view.cursor_y)];
    const size_t pos = byteOffset(std::string_view(line), view.cursor_x);
    const size_t step = static_cast<size_t>(std::max(doc.indent_size, 1));
    const bool textBefore = line.find_first_not_of(' ') < pos;
    size_t from = 0;
    size_t count = 0;
    if (textBefore && pos > 0 && line[pos - 1] == ' ') {
        // After text: the spaces just before the caret, up to a step.
        while (count < step && count < pos && line[pos - 1 - count] == ' ') ++count;
        from = pos - count;
    } else {
        // In the indentation: back to the previous indent stop, from the line start.
        size_t k = 0;
        while (k < pos && line[k] == ' ') ++k;
        if (k > 0) {
            count = k % step;
            if (count == 0) count = step;
            count = std::min(count, k);
        }
    }
    if (count == 0) {
        set_cursor(false, -1);
        return;
    }
    note_view_before_change();
    const bool full = replaceInLine(view.cursor_y, from, count, std::string());
    view.cursor_x -= static_cast<int>(count);
    finishEdit(full);
}
