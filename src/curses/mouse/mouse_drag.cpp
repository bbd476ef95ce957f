// Moving the mouse with a button held: the pane separator, a scroll thumb, or the end of a
// selection following the pointer (scrolling when it leaves the pane).
#include <algorithm>

#include "curses/editor/curses_editor.h"
#include "curses/mouse/mouse_geometry.h"

void CursesEditor::refreshBarGeometry() {
    const int clientWidth = screen.window ? screen.window->clientSize().width : screen.cols * screen.cell_width;
    screen.update_scroll_bars(clientWidth);
}

void CursesEditor::scrollPaneTo(int p, int offset) {
    offset = std::max(offset, 0);
    if (offset == panes.pane_offset[p]) return;
    panes.pane_offset[p] = offset;
    requestDraw(-1);
}

void CursesEditor::mouseMove(const MouseEvent& event) {
    const int col = cellOf(event.x, screen.cell_width);
    const int row = cellOf(event.y, screen.cell_height);
    if (drag.drag_state == 3)
        dragSeparator(row);
    else if (drag.drag_state == 1 || drag.drag_state == 2)
        dragThumb(event);
    else if (drag.drag_state == 0)
        dragSelection(row, col);
}

void CursesEditor::dragSeparator(int row) {
    const int r = text_rows();
    const int wanted = row - panes.top_margin;
    const int current = is_split() ? pane(0).rows : r - 1;
    if (wanted == current) return;
    if (wanted > 0 && wanted < r - 1) {
        panes.split_ratio = static_cast<double>(wanted) / (r - 1);
    } else {
        // The split goes; dragged to the top, the lower pane's view stays.
        if (is_split() && wanted <= 0) panes.pane_offset[0] = panes.pane_offset[1];
        panes.split_ratio = 1.0;
        panes.current_pane = 0;
    }
    requestDraw(-1);
}

void CursesEditor::dragThumb(const MouseEvent& event) {
    const int p = drag.drag_state - 1;
    const PaneRows pn = pane(p);
    const int n = line_count();
    refreshBarGeometry();
    const long long track = static_cast<long long>(pn.rows) * screen.cell_height - screen.thumb_size[p];
    if (track <= 0) return;
    long long offset = static_cast<long long>(n - pn.rows) * (event.y - pn.top * screen.cell_height - drag.drag_offset) / track;
    offset = std::max<long long>(std::min<long long>(offset, n - pn.rows + 4), 0);
    if (offset == panes.pane_offset[p]) return;
    panes.pane_offset[p] = static_cast<int>(offset);
    requestDraw(-1);
}

void CursesEditor::dragSelection(int row, int col) {
    const int n = line_count();
    const TextPosition cell{std::clamp(col, 0, std::max(screen.cols - 1, 0)), std::clamp(row, 0, std::max(screen.lines - 1, 0))};
    if (!sel.selecting) {
        // A selection starts once the pointer leaves the cell it was pressed on.
        if (cell == drag.press_cell) return;
        sel = {true, view.cursor_x, view.cursor_y, view.cursor_x, view.cursor_y};
    }
    const PaneRows pn = pane(panes.current_pane);
    int& offset = panes.pane_offset[panes.current_pane];
    const int inPane = row - pn.top;
    if (TextPosition{col + view.scroll_x, offset + inPane} == TextPosition{sel.sel_x2, sel.sel_y2}) return;
    if (inPane < 0 && offset > 0) --offset;
    if (inPane >= pn.rows && offset < n - 1) ++offset;
    if (col < 0 && view.scroll_x > 0) --view.scroll_x;
    if (col >= screen.cols) {
        int longest = 0;
        for (int k = 0; k < pn.rows && offset + k < n; ++k) longest = std::max(longest, line_length(offset + k));
        if (longest > view.scroll_x + screen.cols - 8) ++view.scroll_x;
    }
    // The selection end follows the pointer, kept on the pane's rows and inside the document.
    const int y = offset + std::clamp(inPane, 0, std::max(pn.rows - 1, 0));
    if (n == 0) {
        sel.sel_x2 = sel.sel_y2 = 0;
    } else if (y >= n) {
        sel.sel_y2 = n - 1;
        sel.sel_x2 = line_length(n - 1);
    } else {
        sel.sel_y2 = y;
        sel.sel_x2 = std::clamp(col + view.scroll_x, 0, line_length(y));
    }
    requestDraw(-1);
}
