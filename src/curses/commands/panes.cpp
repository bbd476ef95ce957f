// Ctrl+P splits the view into two panes or joins them; Ctrl+O moves to the other pane.
#include <algorithm>

#include "curses/editor/curses_editor.h"

void CursesEditor::togglePanes() {
    if (!is_split()) {
        panes.split_ratio = 0.5;
        panes.pane_offset[1] = panes.pane_offset[0];
    } else {
        panes.split_ratio = 1.0;
        if (panes.current_pane == 1) {
            panes.pane_offset[0] = panes.pane_offset[1];
            panes.current_pane = 0;
        }
    }
    requestDraw(-1);
    set_cursor(false, -1);
}

void CursesEditor::otherPane() {
    if (!is_split()) {
        panes.split_ratio = 0.5;
        panes.pane_offset[1] = panes.pane_offset[0];
    }
    panes.current_pane = 1 - panes.current_pane;
    // The caret comes along into the lines the pane shows.
    const int offset = panes.pane_offset[panes.current_pane];
    const int rows = pane(panes.current_pane).rows;
    int& y = view.cursor_y;
    y = std::max(y, offset);
    if (rows > 0 && y >= offset + rows) y = offset + rows - 1;
    y = std::min(y, line_count());
    requestDraw(-1);
    set_cursor(false, -1);
}
