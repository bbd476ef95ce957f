// Mouse presses: on the separator or a scroll bar they start a drag or scroll a page; in the
// text they place the caret, select with Shift, and select a word on a double-click.
#include <algorithm>

#include "curses/editor/curses_editor.h"
#include "curses/editor/word_class.h"
#include "curses/mouse/mouse_geometry.h"
#include "text/utf8.h"

int CursesEditor::on_mouse(ScreenWindow& window, const MouseEvent& event) {
    PaintBatch batch(*this);
    switch (event.action) {
    case MouseAction::LeftDown: return mouseButtonDown(window, event, true, false);
    case MouseAction::LeftDoubleClick: return mouseButtonDown(window, event, true, true);
    case MouseAction::RightDown:
    case MouseAction::RightDoubleClick: return mouseButtonDown(window, event, false, false);
    case MouseAction::LeftUp:
        if (drag.captured) window.releaseMouse();
        endDrag();
        return 0;
    case MouseAction::Move:
        if (drag.captured) mouseMove(event);
        return 0;
    case MouseAction::Wheel: mouseWheel(event); return 0;
    case MouseAction::CaptureChanged:
        // Another window took the mouse: whatever was being dragged stops.
        endDrag();
        return 0;
    default: return 0;
    }
}

void CursesEditor::endDrag() {
    drag.captured = false;
    drag.drag_state = 0;
    drag.drag_offset = 0;
}

int CursesEditor::paneAtRow(int row) const {
    for (int p = 0; p < pane_count(); ++p) {
        const PaneRows pn = pane(p);
        if (pn.contains(row)) return p;
    }
    return -1;
}

int CursesEditor::mouseButtonDown(ScreenWindow& window, const MouseEvent& event, bool left, bool doubleClick) {
    const int col = cellOf(event.x, screen.cell_width);
    const int row = cellOf(event.y, screen.cell_height);
    if (doubleClick && openLinkAt(window, row, col)) return 0;
    prompt.mode = Editing;
    drag.press_cell = {std::clamp(col, 0, std::max(screen.cols - 1, 0)), std::clamp(row, 0, std::max(screen.lines - 1, 0))};
    if (left && is_split() && row == pane(0).top + pane(0).rows) {
        window.captureMouse();
        drag.captured = true;
        drag.drag_state = 3;
        return 0;
    }
    const int p = paneAtRow(row);
    if (p >= 0 && left && pressScrollBar(window, event, p, col)) return 0;
    pressText(window, event, p, row, col, left, doubleClick);
    return 0;
}

bool CursesEditor::pressScrollBar(ScreenWindow& window, const MouseEvent& event, int p, int col) {
    refreshBarGeometry();
    if (!screen.on_bar_columns(p, col)) return false;
    const int rows = pane(p).rows;
    const int thumbTop = pane(p).top * screen.cell_height + screen.thumb_pos[p];
    const int thumbBottom = thumbTop + screen.thumb_size[p];
    if (event.y < thumbTop) {
        scrollPaneTo(p, panes.pane_offset[p] - rows);
    } else if (event.y >= thumbBottom) {
        scrollPaneTo(p, std::min(panes.pane_offset[p] + rows, line_count() - rows + 4));
    } else {
        window.captureMouse();
        drag.captured = true;
        drag.drag_state = p + 1;
        drag.drag_offset = event.y - thumbTop;
    }
    return true;
}

void CursesEditor::pressText(ScreenWindow& window, const MouseEvent& event, int p, int row, int col, bool left,
                             bool doubleClick) {
    TextPosition old = caret();
    if (sel.selecting && old == TextPosition{sel.sel_x2, sel.sel_y2}) old = {sel.sel_x1, sel.sel_y1};
    if (left && !doubleClick) sel.selecting = false;
    if (p >= 0) panes.current_pane = p;
    const int n = line_count();
    const int y = std::clamp(row - pane(panes.current_pane).top + panes.pane_offset[panes.current_pane], 0, std::max(n - 1, 0));
    const int x = std::clamp(col + view.scroll_x, 0, line_length(y));
    setCaret({x, y});
    if (left && event.held.shift) {
        sel = {true, old.column, old.line, x, y};
    }
    if (left && doubleClick && y < n && x < line_length(y)) {
        // The clicked character with the word characters around it.
        const std::vector<int> cps = codePointsOf(doc.lines[static_cast<size_t>(y)]);
        int from = x;
        int to = x + 1;
        while (from > 0 && isWordCharacter(cps[static_cast<size_t>(from - 1)])) --from;
        while (to < static_cast<int>(cps.size()) && isWordCharacter(cps[static_cast<size_t>(to)])) ++to;
        sel = {true, from, y, to, y};
        view.cursor_x = to;
    }
    settleCaret(true);
    if (left) {
        window.captureMouse();
        drag.captured = true;
    } else {
        on_right_click(&window);
    }
}
