// Caret movement: the arrows, Page Up and Down, Home and End, with and without Ctrl, and the
// selection they start, extend or drop; Ctrl+A.
#include <algorithm>

#include "curses/commands/line_text.h"
#include "curses/commands/word_moves.h"
#include "curses/editor/curses_editor.h"
#include "text/utf8.h"

using namespace curses_key;

bool CursesEditor::dropSelectionForMovement(int key) {
    if (shiftHeld()) {
        if (!sel.selecting) {
            sel.selecting = true;
            sel.sel_x1 = sel.sel_x2 = view.cursor_x;
            sel.sel_y1 = sel.sel_y2 = view.cursor_y;
        }
        return false;
    }
    if (!sel.selecting) return false;
    const TextRange r = selection();
    sel.selecting = false;
    const TextPosition c = caret();
    const bool inside = !c.before(r.start) && !r.end.before(c);
    requestDraw(-1);
    if ((key == Down || key == Up || key == Right || key == Left) && inside) {
        setCaret(key == Up || key == Left ? r.start : r.end);
        set_cursor(false, -1);
        return true;
    }
    return false;
}

void CursesEditor::extendOrRedraw(bool vertical, bool redrawWithout) {
    if (sel.selecting) {
        set_cursor(vertical, -1);
        sel.sel_x2 = view.cursor_x;
        sel.sel_y2 = view.cursor_y;
        requestDraw(-1);
        return;
    }
    if (redrawWithout) requestDraw(-1);
    set_cursor(vertical, -1);
}

void CursesEditor::moveCaret(int key) {
    if (dropSelectionForMovement(key)) return;
    switch (key) {
    case Down:
    case Up:
    case PageUp:
    case PageDown: moveVertically(key); return;
    case Right:
    case Left: moveHorizontally(key); return;
    default: moveToLineEnds(key); return;
    }
}

void CursesEditor::moveVertically(int key) {
    const bool ctrl = ctrlHeld();
    const int n = line_count();
    const int rows = pane(panes.current_pane).rows;
    int& offset = panes.pane_offset[panes.current_pane];
    int& y = view.cursor_y;
    if (key == Down && ctrl) {
        // Ctrl: the pane scrolls and pulls the caret along.
        if (offset < n - rows + 3) ++offset;
        y = std::max(y, offset);
        requestDraw(-1);
    } else if (key == Down) {
        if (y + 1 < n) ++y;
    } else if (key == Up && ctrl) {
        if (offset > 0) --offset;
        if (rows > 0 && y >= offset + rows) y = offset + rows - 1;
        requestDraw(-1);
    } else if (key == Up) {
        if (y > 0) --y;
    } else if (key == PageUp) {
        if (y > offset) {
            y = offset;
        } else {
            y = std::max(0, y - rows);
            offset = std::max(0, offset - rows);
        }
    } else {
        if (y >= offset + rows - 1) offset = std::max(0, y - 1);
        y = std::max(0, std::min(offset + rows - 1, std::max(n - 1, 0)));
    }
    extendOrRedraw(true, key == PageUp || key == PageDown);
}

void CursesEditor::moveHorizontally(int key) {
    const bool ctrl = ctrlHeld();
    const int n = line_count();
    int& x = view.cursor_x;
    int& y = view.cursor_y;
    if (key == Right) {
        if (x >= line_length(y)) {
            // On to the start of the next line, which may be one past the last.
            if (y < n) {
                ++y;
                x = 0;
            }
        } else if (ctrl) {
            x = wordRight(doc.lines[static_cast<size_t>(y)], x);
        } else {
            ++x;
        }
    } else if (x == 0 && y > 0) {
        --y;
        x = line_length(y);
    } else if (ctrl && y < n) {
        x = wordLeft(doc.lines[static_cast<size_t>(y)], x);
    } else if (x > 0) {
        --x;
    }
    extendOrRedraw(false, false);
}

void CursesEditor::moveToLineEnds(int key) {
    const bool ctrl = ctrlHeld();
    int& x = view.cursor_x;
    int& y = view.cursor_y;
    if (key == Home && ctrl) {
        x = 0;
        y = 0;
    } else if (key == Home) {
        // First to the line's text after its indentation, then to column 0.
        int first = 0;
        bool hasText = false;
        if (y < line_count()) {
            const std::string& line = doc.lines[static_cast<size_t>(y)];
            const size_t blanks = leadingBlanks(line);
            first = charCount(std::string_view(line).substr(0, blanks));
            hasText = blanks < line.size();
        }
        x = hasText && x != first ? first : 0;
    } else {
        if (ctrl) y = std::max(line_count() - 1, 0);
        x = line_length(y);
    }
    view.wanted_x = -1;
    extendOrRedraw(false, false);
}

void CursesEditor::selectAll() {
    sel.selecting = true;
    sel.sel_x1 = 0;
    sel.sel_y1 = 0;
    sel.sel_y2 = std::max(line_count() - 1, 0);
    sel.sel_x2 = line_length(sel.sel_y2);
    requestDraw(-1);
    set_cursor(false, -1);
}
